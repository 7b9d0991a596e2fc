#include "ConfigurationDownload.h"

#include "BigEndian.h"
#include "Checksum.h"
#include "ConfigFile.h"
#include "DeviceImage.h"
#include "TemporaryFile.h"

#include <vector>

namespace {

constexpr std::uint8_t kAnswerFailed = 0xFF;
constexpr std::uint8_t kAnswerUnsupportedLayout = 0xFE;
constexpr const char* kDownloadFailed = "Configuration dowload failed!";

int AnalogBytes(int size) { return size == 32 ? 4 : 2; }

int InputBytes(const ConfigTemplate& config)
{
    int bytes = config.DigitalInputs.Count();
    for (const AnalogInputPoint& point : config.AnalogInputs) {
        bytes += AnalogBytes(point.Size);
    }
    return bytes;
}

int OutputBytes(const ConfigTemplate& config)
{
    int bytes = config.DigitalOutputs.Count();
    for (const AnalogOutputPoint& point : config.AnalogOutputs) {
        bytes += AnalogBytes(point.Size);
    }
    return bytes;
}

// The message that refuses the configuration; empty when it fits the gateway.
const char* LimitMessage(const ConfigTemplate& config)
{
    if (InputBytes(config) > kMaxDownloadInputBytes) {
        return "Unable to download - configuration uses more than 242 bytes for input";
    }
    if (OutputBytes(config) > kMaxDownloadOutputBytes) {
        return "Unable to download - configuration uses more than 244 bytes for ouput";
    }
    if (config.IndirectMessages.Count() > kMaxDownloadIndirectMessages) {
        return "Unable to download - more than 127 indirect SPA messages";
    }
    if (config.OnlinePollCommand.size() > kMaxOnlinePollCommandLength) {
        return "Unable to download - Online Poll Command is more than 17 characters";
    }
    return "";
}

DownloadOutcome Fail(WindowSystem& ui, const char* message)
{
    ui.ErrorBox(kErrorCaption, message);
    return DownloadOutcome::Failed;
}

}  // namespace

DownloadOutcome DownloadConfiguration(DeviceConnection& connection, const ConfigTemplate& config, int formatVersion)
{
    WindowSystem& ui = connection.Ui;
    if (const std::string limit = LimitMessage(config); !limit.empty()) {
        ui.ErrorBox(kErrorCaption, limit);
        return DownloadOutcome::Failed;
    }
    std::vector<std::uint8_t> block(kDeviceImageBufferSize);
    const int imageLength = BuildDeviceImage(config, block.data(), kDeviceImageBufferSize, formatVersion,
                                             TodaysDate(), ui);
    if (imageLength <= 0) {
        ui.ErrorBox(kErrorCaption, "Unable to download - incorrect configuration");
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
    if (text->size() > room) {
        return Fail(ui, "Unable to download - configuration too large");
    }
    PutBigEndian16(block.data() + imageLength, static_cast<unsigned>(text->size()));
    std::copy(text->begin(), text->end(), block.begin() + static_cast<std::ptrdiff_t>(textStart));
    const std::size_t blockLength = textStart + text->size();
    PutBlockChecksum(block.data(), blockLength);

    const auto reply = session.Exchange("Downloading configuration", kProgressSending,
                                        kCommandDownloadConfiguration, block.data(), blockLength);
    // A reply without its answer byte tells nothing about the download.
    if (!reply || reply->empty()) {
        Fail(ui, kDownloadFailed);
        EndTransfer(connection);
        return DownloadOutcome::Failed;
    }
    DownloadOutcome outcome = DownloadOutcome::Refused;
    if ((*reply)[0] == kAnswerFailed) {
        ui.ErrorBox(kErrorCaption, kDownloadFailed);
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
