#include "ConfigurationDownload.h"

#include "BigEndian.h"
#include "Checksum.h"
#include "ConfigFile.h"
#include "DeviceImage.h"
#include "SettingRanges.h"
#include "TemporaryFile.h"

#include <vector>

namespace {

constexpr std::uint8_t kAnswerFailed = 0xFF;
constexpr std::uint8_t kAnswerUnsupportedLayout = 0xFE;
constexpr const char* kDownloadFailed = "Configuration dowload failed!";

DownloadOutcome Fail(WindowSystem& ui, const std::string& message)
{
    ui.ErrorBox(kErrorCaption, message);
    return DownloadOutcome::Failed;
}

}  // namespace

DownloadOutcome DownloadConfiguration(DeviceConnection& connection, const ConfigTemplate& config, int formatVersion)
{
    WindowSystem& ui = connection.Ui;
    // What the main form would refuse to take is not sent either.
    if (const auto settings = SettingRefusals(config); !settings.empty()) {
        ui.Notice(settings.front().Text());
        return DownloadOutcome::Failed;
    }
    if (const auto limits = LimitRefusals(config); !limits.empty()) {
        ui.ErrorBox(kErrorCaption, limits.front().Text());
        return DownloadOutcome::Failed;
    }
    std::vector<std::uint8_t> block(kDeviceImageBufferSize);
    const int imageLength = BuildDeviceImage(config, block.data(), kDeviceImageBufferSize, formatVersion,
                                             TodaysDate(), ui);
    if (imageLength <= 0) {
        const auto addresses = AddressRefusals(config);
        ui.ErrorBox(kErrorCaption, addresses.empty() ? kIncorrectConfigurationMessage : addresses.front().Text());
        return DownloadOutcome::Failed;
    }
    // The operation's own file, deleted on every way out of it.
    auto temporaryFile = TemporaryFile::Create();
    if (!temporaryFile) {
        ui.ErrorBox(kErrorCaption, "Unable to create temporary file");
        return DownloadOutcome::Failed;
    }
    GatewaySession session(connection, kSendBlockSize);
    if (!session.IsOpen()) {
        return DownloadOutcome::Failed;
    }

    // The text travels exactly as a save writes it, read back from the file.
    if (!temporaryFile->Write(ConfigFileText(config, false))) {
        return Fail(ui, "Unable to write temporary file");
    }
    const std::size_t textStart = static_cast<std::size_t>(imageLength) + 2;
    const std::size_t room = block.size() - textStart;
    const auto text = temporaryFile->Read(room + 1);
    if (!text) {
        return Fail(ui, "Unable to read back temporary file");
    }
    if (const auto tooLarge = SizeRefusal(imageLength, text->size())) {
        return Fail(ui, tooLarge->Text());
    }
    PutBigEndian16(block.data() + imageLength, static_cast<unsigned>(text->size()));
    std::copy(text->begin(), text->end(), block.begin() + static_cast<std::ptrdiff_t>(textStart));
    const std::size_t blockLength = textStart + text->size();
    PutBlockChecksum(block.data(), blockLength);

    const auto reply = session.Exchange("Downloading configuration", kProgressSending,
                                        kCommandDownloadConfiguration, block.data(), blockLength);
    // A reply without its answer byte tells nothing about the download.
    if (!reply || reply->empty()) {
        ReportExchangeFailure(connection, kDownloadFailed);
        EndTransfer(connection);
        return DownloadOutcome::Failed;
    }
    DownloadOutcome outcome = DownloadOutcome::Refused;
    if ((*reply)[0] == kAnswerFailed) {
        ui.ErrorBox(kErrorCaption, std::string(kDownloadFailed) + "\n" + kGatewayErrorReason);
    } else if ((*reply)[0] == kAnswerUnsupportedLayout) {
        ui.ErrorBox(kErrorCaption, "Dowload failed, unsupported configuration version!");
    } else {
        ui.InfoBox(kSuccessCaption, formatVersion == kFormatVersion102 ? "Configuration download OK! [v1.02]"
                                                                       : "Configuration download OK! [v2.00]");
        outcome = DownloadOutcome::Succeeded;
    }
    EndTransfer(connection);
    return outcome;
}
