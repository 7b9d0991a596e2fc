#include "ConfigurationUpload.h"

#include "ConfigFile.h"
#include "TemporaryFile.h"
#include "UploadReply.h"

#include <vector>

namespace {

template <typename List>
bool CountMatches(const List& list, const std::vector<std::uint8_t>& flags)
{
    return static_cast<std::size_t>(list.Count()) == flags.size();
}

template <typename List>
void ApplyInUse(List& list, const std::vector<std::uint8_t>& flags)
{
    for (int i = 0; i < list.Count(); ++i) {
        list[i].InUse = flags[static_cast<std::size_t>(i)] != 0;
    }
}

bool CountsMatch(const ConfigTemplate& config, const UploadReply& reply)
{
    return CountMatches(config.AnalogInputs, reply.InUse[0]) && CountMatches(config.DigitalInputs, reply.InUse[1]) &&
           CountMatches(config.AnalogOutputs, reply.InUse[2]) &&
           CountMatches(config.DigitalOutputs, reply.InUse[3]) &&
           CountMatches(config.IndirectMessages, reply.InUse[4]);
}

void ApplyAllInUse(ConfigTemplate& config, const UploadReply& reply)
{
    ApplyInUse(config.AnalogInputs, reply.InUse[0]);
    ApplyInUse(config.DigitalInputs, reply.InUse[1]);
    ApplyInUse(config.AnalogOutputs, reply.InUse[2]);
    ApplyInUse(config.DigitalOutputs, reply.InUse[3]);
    ApplyInUse(config.IndirectMessages, reply.InUse[4]);
}

UploadOutcome Fail(DeviceConnection& connection, const char* message)
{
    connection.Ui.ErrorBox(kErrorCaption, message);
    EndTransfer(connection);
    return UploadOutcome::Failed;
}

// Reads the text into the new configuration and applies the InUse bytes.
UploadOutcome Load(WindowSystem& ui, ConfigurationUploadTarget& target, const TemporaryFile& file,
                   const UploadReply& reply)
{
    ConfigTemplate& config = target.NewConfiguration();
    std::optional<std::string> text = file.Read();
    const bool read = text ? ReadConfigText(config, std::move(*text), ui) : false;
    if (!read) {
        if (!text) {
            config.LoadError = kLoadErrorCannotOpen;
        }
        if (const std::string message = LoadErrorMessage(config.LoadError); !message.empty()) {
            ui.ErrorBox(kOpenErrorCaption, message);
        }
        config.Reset();
        return UploadOutcome::LoadFailed;
    }
    if (!CountsMatch(config, reply)) {
        ui.ErrorBox(kOpenErrorCaption, "Error loading configuration file! InUse count mismatch!");
        return UploadOutcome::CountMismatch;
    }
    ApplyAllInUse(config, reply);
    target.InUseApplied();
    ui.InfoBox(kSuccessCaption, "Configuration upload OK!");
    return UploadOutcome::Loaded;
}

}  // namespace

std::optional<UploadReply> FetchConfiguration(DeviceConnection& connection)
{
    GatewaySession session(connection, kReceiveBlockSize);
    if (!session.IsOpen()) {
        return std::nullopt;
    }
    const auto data = session.Exchange("Uploading configuration", kProgressReceiving, kCommandUploadConfiguration);
    constexpr std::size_t kShortestReply = 3;
    // A reply shorter than its counts announce is no configuration either.
    auto reply = data && data->size() >= kShortestReply ? DecodeUploadReply(data->data(), data->size())
                                                        : std::nullopt;
    if (!reply) {
        ReportExchangeFailure(connection, "Unable to upload configuration");
        EndTransfer(connection);
    }
    return reply;
}

UploadOutcome UploadConfiguration(DeviceConnection& connection, ConfigurationUploadTarget& target)
{
    WindowSystem& ui = connection.Ui;
    // The operation's own file, deleted on every way out of it.
    auto temporaryFile = TemporaryFile::Create();
    if (!temporaryFile) {
        ui.ErrorBox(kErrorCaption, "Unable to create temporary file");
        return UploadOutcome::Failed;
    }
    const auto reply = FetchConfiguration(connection);
    if (!reply) {
        return UploadOutcome::Failed;
    }
    target.TextReceived(reply->Text);
    if (!temporaryFile->Write(reply->Text)) {
        return Fail(connection, "Unable to create temporary file");
    }
    const UploadOutcome outcome = Load(ui, target, *temporaryFile, *reply);
    target.ConfigurationLoaded();
    EndTransfer(connection);
    return outcome;
}
