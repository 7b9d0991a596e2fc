#include "ArchiveTransfer.h"
#include "ConfigFile.h"
#include "ConfigurationDownload.h"
#include "ConfigurationUpload.h"
#include "DeviceImage.h"
#include "DeviceTestSupport.h"
#include "DiagnosticsTransfer.h"
#include "FirmwareVersion.h"
#include "InMemoryGateway.h"
#include "LinkTestSupport.h"
#include "PermissionBits.h"
#include "SimulatedGateway.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>


namespace {

using Message = ScriptedWindowSystem::Message;

// One device operation's world: a gateway, the link, the window system.
class DeviceOperation : public ::testing::Test {
protected:
    void Use(InMemoryGateway& gateway) { line_.transport.SetResponder(gateway.Responder()); }
    void Use(InMemoryTransport::Responder peer) { line_.transport.SetResponder(std::move(peer)); }
    DeviceConnection& Connection() { return connection_; }

    // The messages shown, and the port is closed again.
    std::vector<Message> Messages()
    {
        EXPECT_FALSE(line_.link.IsOpen()) << "the port must be closed on every path";
        return ui_.Messages;
    }

    OwnTemporaryFiles temporaryFiles_;
    TemporaryDirectory files_;
    DeviceUi ui_;
    MemoryLine line_;

private:
    DeviceConnection connection_{line_.link, "gateway", ui_,
                                 [this](const DiagnosticsRecord& record) { ui_.Dialogs.push_back(record); }};
};

// The upload's target: a new configuration, and how often it was finished.
class UploadTarget : public ConfigurationUploadTarget {
public:
    ConfigTemplate& NewConfiguration() override
    {
        ++NewCalls;
        return *Config;
    }
    void ConfigurationLoaded() override { ++LoadedCalls; }
    std::unique_ptr<ConfigTemplate> Config = std::make_unique<ConfigTemplate>();
    int NewCalls = 0;
    int LoadedCalls = 0;
};

std::vector<Message> Only(const Message& message) { return {message}; }

Message DownloadOk(const char* layout)
{
    return InfoMessage("Success", std::string("Configuration download OK! [") + layout + "]");
}

ConfigTemplate AnalogInputs(int count)
{
    ConfigTemplate config;
    for (int i = 0; i < count; ++i) {
        AnalogInputPoint point;
        point.Address = "0I" + std::to_string(i);
        point.SlaveAddress = 1;
        config.AnalogInputs.Append(point);
    }
    return config;
}

}  // namespace

TEST_F(DeviceOperation, DownloadThenUploadGivesBackTheConfigurationWithTheGatewaysInUseFlags)
{
    InMemoryGateway gateway;
    Use(gateway);
    const ConfigTemplate config = TwoSlaveConfiguration();
    EXPECT_EQ(DownloadConfiguration(Connection(), config, kFormatVersion200), DownloadOutcome::Succeeded);
    EXPECT_EQ(Messages(), Only(DownloadOk("v2.00")));
    EXPECT_EQ(ui_.StatusTexts, (std::vector<std::string>{"Downloading configuration", "Ready"}));
    EXPECT_EQ(ui_.ProgressValues.back(), 0);
    EXPECT_EQ(ui_.ProgressValues.front(), 20) << "block 1 of 5";
    EXPECT_TRUE(temporaryFiles_.Clean());
    EXPECT_EQ(gateway.Store().Text(), ConfigFileText(config, false));

    // The gateway has meanwhile set its own InUse flags: 2 counts as in use.
    std::vector<std::uint8_t> image = gateway.Store().Image();
    image[22 + 15] = 0;       // first analog input
    image[22 + 2 * 18 + 15] = 2;  // third analog input
    gateway.Store().KeepConfiguration(image, gateway.Store().Text());

    ui_.Messages.clear();
    ui_.StatusTexts.clear();
    UploadTarget target;
    EXPECT_EQ(UploadConfiguration(Connection(), target), UploadOutcome::Loaded);
    EXPECT_EQ(Messages(), Only(InfoMessage("Success", "Configuration upload OK!")));
    EXPECT_EQ(ui_.StatusTexts, (std::vector<std::string>{"Uploading configuration", "Ready"}));
    EXPECT_EQ(target.LoadedCalls, 1);
    EXPECT_TRUE(temporaryFiles_.Clean());

    ConfigTemplate expected = config;
    expected.AnalogInputs[0].InUse = false;
    expected.AnalogInputs[2].InUse = true;
    EXPECT_EQ(ConfigFileText(*target.Config, false), ConfigFileText(expected, false));
}

TEST_F(DeviceOperation, OldLayoutDownloadAndTheGatewaysRefusals)
{
    InMemoryGateway gateway;
    Use(gateway);
    EXPECT_EQ(DownloadConfiguration(Connection(), TwoSlaveConfiguration(), kFormatVersion102), DownloadOutcome::Succeeded);
    EXPECT_EQ(Messages(), Only(DownloadOk("v1.02")));
    EXPECT_EQ(gateway.Store().Image()[2], 0x01);

    for (const std::uint8_t answer : {0xFE, 0xFF}) {
        const InMemoryTransport::Responder peer([answer](const Bytes& request, int) {
            return request[5] < request[4] ? FrameOf(request[3], 1, 1) : FrameOf(request[3], 1, 1, {answer});
        });
        Use(peer);
        ui_.Messages.clear();
        EXPECT_EQ(DownloadConfiguration(Connection(), TwoSlaveConfiguration(), kFormatVersion200),
                  DownloadOutcome::Refused);
        EXPECT_EQ(Messages(), Only(ErrorMessage("Error", answer == 0xFE
                                                              ? "Dowload failed, unsupported configuration version!"
                                                              : "Configuration dowload failed!")));
        EXPECT_TRUE(temporaryFiles_.Clean());
    }

    // An answer without its result byte is a failed download.
    const InMemoryTransport::Responder mute([](const Bytes& request, int) { return FrameOf(request[3], 1, 1); });
    Use(mute);
    ui_.Messages.clear();
    EXPECT_EQ(DownloadConfiguration(Connection(), TwoSlaveConfiguration(), kFormatVersion200), DownloadOutcome::Failed);
    EXPECT_EQ(Messages(), Only(ErrorMessage("Error", "Configuration dowload failed!")));
}

TEST_F(DeviceOperation, DownloadLimitsAtTheirBoundaries)
{
    InMemoryGateway gateway;
    Use(gateway);
    const auto download = [&](const ConfigTemplate& config) {
        ui_.Messages.clear();
        DownloadConfiguration(Connection(), config, kFormatVersion200);
        return Messages();
    };
    // Each refusal keeps its message and names what it concerns on a second line.
    const auto refused = [](const std::string& message, const std::string& detail) {
        return Only(ErrorMessage("Error", message + "\n" + detail));
    };

    ConfigTemplate inputs = AnalogInputs(121);  // 242 bytes
    EXPECT_EQ(download(inputs), Only(DownloadOk("v2.00")));
    DigitalInputPoint digital;
    digital.Address = "1/1E1/1";
    digital.Description = "Trip";
    digital.SlaveAddress = 3;
    inputs.DigitalInputs.Append(digital);
    EXPECT_EQ(download(inputs),
              refused("Unable to download - configuration uses more than 242 bytes for input",
                      "243 input bytes; the first point beyond 242: Digital input 1 \"Trip\" (slave 3, Ch/Cat/Dno "
                      "\"1/1E1/1\")"));

    ConfigTemplate outputs;
    for (int i = 0; i < 122; ++i) {
        outputs.AnalogOutputs.Append(AnalogOutputPoint{});
    }
    EXPECT_EQ(download(outputs), Only(DownloadOk("v2.00")));
    outputs.AnalogOutputs[121].Size = 32;
    outputs.AnalogOutputs[121].Address = "2O9";
    EXPECT_EQ(download(outputs),
              refused("Unable to download - configuration uses more than 244 bytes for ouput",
                      "246 output bytes; the first point beyond 244: Analog output 122 \"\" (slave 0, Ch/Cat/Dno "
                      "\"2O9\")"));

    ConfigTemplate messages;
    for (int i = 0; i < 127; ++i) {
        messages.IndirectMessages.Append(IndirectSpaMessage{});
    }
    EXPECT_EQ(download(messages), Only(DownloadOk("v2.00")));
    messages.IndirectMessages.Append(IndirectSpaMessage{});
    EXPECT_EQ(download(messages),
              refused("Unable to download - more than 127 indirect SPA messages",
                      "128 indirect SPA messages; the first beyond 127: Indirect SPA message 128 \"\" (slave 0, "
                      "Ch/Cat/Dno \"0I0\")"));

    ConfigTemplate poll;
    poll.OnlinePollCommand = std::string(17, 'R');
    EXPECT_EQ(download(poll), Only(DownloadOk("v2.00")));
    const int requests = gateway.RequestsReceived();
    poll.OnlinePollCommand += 'F';
    EXPECT_EQ(download(poll), refused("Unable to download - Online Poll Command is more than 17 characters",
                                      "Online poll command \"RRRRRRRRRRRRRRRRRF\" has 18 characters"));

    ConfigTemplate broken;
    IndirectSpaMessage noLetter;
    noLetter.Address = "17";
    noLetter.Description = "Reset";
    broken.IndirectMessages.Append(IndirectSpaMessage{});
    broken.IndirectMessages.Append(noLetter);
    EXPECT_EQ(download(broken), refused("Unable to download - incorrect configuration",
                                        "Indirect SPA message 2 \"Reset\" (slave 0, Ch/Cat/Dno \"17\"): the address "
                                        "has no category letter"));

    // The image builder's own box comes first for a digital input.
    ConfigTemplate unreadable;
    DigitalInputPoint twelve;
    twelve.Address = "12";
    unreadable.DigitalInputs.Append(digital);
    unreadable.DigitalInputs.Append(twelve);
    EXPECT_EQ(download(unreadable),
              (std::vector{ErrorMessage("Error", "Error in Ch/Cat/Dno"),
                           ErrorMessage("Error", "Unable to download - incorrect configuration\nDigital input 2 \"\" "
                                                 "(slave 0, Ch/Cat/Dno \"12\"): the address is not of the form "
                                                 "FCh/LCh/Cat/FDno/LDno")}));
    EXPECT_EQ(gateway.RequestsReceived(), requests) << "a refused configuration is not sent";
}

TEST_F(DeviceOperation, PortThatCannotBeOpened)
{
    line_.transport.SetMissingPath(Connection().PortPath);
    EXPECT_EQ(DownloadConfiguration(Connection(), TwoSlaveConfiguration(), kFormatVersion200), DownloadOutcome::Failed);
    UploadTarget target;
    EXPECT_EQ(UploadConfiguration(Connection(), target), UploadOutcome::Failed);
    EXPECT_FALSE(GetFirmwareVersion(Connection()));
    EXPECT_FALSE(ClearDiagnostics(Connection()));
    EXPECT_FALSE(UploadDiagnostics(Connection()));
    EXPECT_FALSE(UploadArchive(Connection()));
    const Message cannotOpen = ErrorMessage("Error", "Unable to open COM Port\ngateway: No such file or directory");
    EXPECT_EQ(Messages(), std::vector<Message>(6, cannotOpen));
    EXPECT_EQ(target.NewCalls, 0);
    EXPECT_EQ(line_.clock.NowMilliseconds(), 0) << "a missing device fails at once";
}

TEST_F(DeviceOperation, PortRefusalsSayWhyAndHowToGetAccess)
{
    const auto refusal = [this](OpenResult result) {
        line_.transport.RefuseOpen("gateway", result);
        ui_.Messages.clear();
        GetFirmwareVersion(Connection());
        return Messages();
    };
    EXPECT_EQ(refusal({EACCES, "dialout", true, {}}),
              Only(ErrorMessage("Error", "Unable to open COM Port\n"
                                         "gateway: Permission denied\n"
                                         "To use it, join the group dialout: sudo usermod -aG dialout $USER, "
                                         "then log out and log in again.")));
    // A group that may not use the device, or the superuser's group, is no way in.
    const Message noGroupAccess = ErrorMessage(
        "Error", "Unable to open COM Port\n"
                 "gateway: Operation not permitted\n"
                 "To use it, give it to the group dialout (sudo chgrp dialout gateway; sudo chmod g+rw gateway) "
                 "and join that group: sudo usermod -aG dialout $USER, then log out and log in again.");
    EXPECT_EQ(refusal({EPERM, "tty", false, {}}), Only(noGroupAccess));
    EXPECT_EQ(refusal({EPERM, "root", true, {}}), Only(noGroupAccess));
    EXPECT_EQ(refusal({EIO, {}, false, {}}),
              Only(ErrorMessage("Error", "Unable to open COM Port\ngateway: Input/output error\n"
                                         "No serial port hardware answers at this device.")));
    EXPECT_EQ(refusal({EBUSY, {}, false, {}}),
              Only(ErrorMessage("Error", "Unable to open COM Port\ngateway: Device or resource busy\n"
                                         "Another program is using it.")));
    // A network port's reason in words stands alone.
    EXPECT_EQ(refusal({EACCES, {}, false, "host unreachable"}),
              Only(ErrorMessage("Error", "Unable to open COM Port\ngateway: host unreachable")));
    EXPECT_EQ(line_.clock.NowMilliseconds(), 0);
}

TEST_F(DeviceOperation, UploadThatCannotBeLoaded)
{
    InMemoryGateway gateway;
    Use(gateway);
    DownloadConfiguration(Connection(), TwoSlaveConfiguration(), kFormatVersion200);
    const std::string text = gateway.Store().Text();

    // One analog input fewer in the text than the gateway has flags for.
    ConfigTemplate fewer = TwoSlaveConfiguration();
    fewer.AnalogInputs.RemoveAt(3);
    gateway.Store().KeepConfiguration(gateway.Store().Image(), ConfigFileText(fewer, false));
    ui_.Messages.clear();
    UploadTarget mismatch;
    EXPECT_EQ(UploadConfiguration(Connection(), mismatch), UploadOutcome::CountMismatch);
    EXPECT_EQ(Messages(), Only(ErrorMessage("Open error", "Error loading configuration file! InUse count mismatch!")));
    EXPECT_EQ(ConfigFileText(*mismatch.Config, false), ConfigFileText(fewer, false)) << "kept as loaded";
    EXPECT_EQ(mismatch.LoadedCalls, 1);

    const std::pair<std::string, std::string> unreadable[] = {
        {CrLfLines("[CONFIGURATION]", "SPA_TEMPLATE = X"), "Error loading configuration file!"},
        {CrLfLines("[HEADER]", "IDENTIFICATION = CONFIGURATION_FILE_SPA_DPV1_V1", "VERSION = 3.00"),
         "Wrong configuration file version!"},
    };
    for (const auto& [stored, message] : unreadable) {
        gateway.Store().KeepConfiguration(gateway.Store().Image(), stored);
        ui_.Messages.clear();
        UploadTarget target;
        target.Config->AnalogInputs.Append(AnalogInputPoint{});
        EXPECT_EQ(UploadConfiguration(Connection(), target), UploadOutcome::LoadFailed);
        EXPECT_EQ(Messages(), Only(ErrorMessage("Open error", message)));
        EXPECT_EQ(target.Config->AnalogInputs.Count(), 0) << "reset";
        EXPECT_EQ(target.LoadedCalls, 1);
        EXPECT_TRUE(temporaryFiles_.Clean());
    }
}

TEST_F(DeviceOperation, UploadReplyShorterThanItAnnouncesLeavesTheDocumentAlone)
{
    const Bytes replies[] = {
        {0, 0},                        // two bytes
        {2, 1},                        // two flags announced, one there
        {0, 0, 0, 0, 0, 0x00, 0x09, 'x'},  // nine text bytes announced, one there
    };
    for (const Bytes& data : replies) {
        const InMemoryTransport::Responder peer([&](const Bytes& request, int) { return FrameOf(request[3], 1, 1, data); });
        Use(peer);
        ui_.Messages.clear();
        UploadTarget target;
        EXPECT_EQ(UploadConfiguration(Connection(), target), UploadOutcome::Failed);
        EXPECT_EQ(Messages(), Only(ErrorMessage("Error", "Unable to upload configuration")));
        EXPECT_EQ(target.NewCalls, 0);
        EXPECT_EQ(ui_.StatusTexts.back(), "Ready");
    }
}

TEST_F(DeviceOperation, ArchiveOfTheLargestSizeGoesThereAndBackByteForByte)
{
    InMemoryGateway gateway;
    Use(gateway);
    const Bytes bytes = Sequence(65275, 5);
    const std::string path = files_.File("site.zip");
    WriteTextFile(path, std::string(bytes.begin(), bytes.end()));
    ui_.Files.push_back(path);
    EXPECT_TRUE(DownloadArchive(Connection()));
    EXPECT_EQ(Messages(), Only(InfoMessage("Success", "Archive download OK!")));
    EXPECT_EQ(gateway.RequestsReceived(), 226);
    EXPECT_EQ(ui_.FileRequests[0].Filter, "ZIP Archive (*.zip)|*.zip|All files (*.*)|*.*||");
    EXPECT_EQ(ui_.FileRequests[0].DefaultExtension, "ZIP");
    EXPECT_EQ(ui_.StatusTexts, (std::vector<std::string>{"Downloading archive", "Ready"}));

    ui_.Messages.clear();
    const std::string copy = files_.File("copy.zip");
    ui_.Files.push_back(copy);
    EXPECT_TRUE(UploadArchive(Connection()));
    EXPECT_EQ(Messages(), Only(InfoMessage("Success", "Archive upload OK!")));
    EXPECT_EQ(ui_.StatusTexts,
              (std::vector<std::string>{"Downloading archive", "Ready", "Uploading archive", "Ready"}));
    EXPECT_EQ(ui_.FileRequests[1].Filter, "ZIP Archive (*.zip)|*.zip||");
    EXPECT_EQ(ui_.FileRequests[1].InitialName, "site.zip");
    EXPECT_FALSE(ui_.FileRequests[1].ConfirmOverwrite);
    EXPECT_EQ(ReadTextFile(copy), std::string(bytes.begin(), bytes.end()));

    // The save dialog cancelled: said so, and the status and bar are reset.
    ui_.Messages.clear();
    ui_.Files.push_back(std::nullopt);
    EXPECT_FALSE(UploadArchive(Connection()));
    EXPECT_EQ(Messages(), Only(NoticeMessage("Archive not saved")));
    EXPECT_EQ(ui_.StatusTexts.back(), "Ready");
    EXPECT_EQ(ui_.ProgressValues.back(), 0);
}

TEST_F(DeviceOperation, ArchiveFilesThatAreRefused)
{
    InMemoryGateway gateway;
    Use(gateway);
    const std::pair<std::size_t, const char*> files[] = {
        {65276, "Archive file must not be larger than 65275 bytes"},
        {0, "Unable to download - incorrect file"},
    };
    for (const auto& [size, message] : files) {
        const std::string path = files_.File("file" + std::to_string(size));
        WriteTextFile(path, std::string(size, 'z'));
        ui_.Files.push_back(path);
        ui_.Messages.clear();
        EXPECT_FALSE(DownloadArchive(Connection()));
        EXPECT_EQ(Messages(), Only(ErrorMessage("Error", message)));
    }
    ui_.Files.push_back(files_.File("missing.zip"));
    ui_.Messages.clear();
    EXPECT_FALSE(DownloadArchive(Connection()));
    EXPECT_EQ(Messages(), Only(ErrorMessage("Error", "Unable to load archive file")));
    EXPECT_EQ(gateway.RequestsReceived(), 0);

    // Cancelled dialogs: nothing happens.
    ui_.Messages.clear();
    EXPECT_FALSE(DownloadArchive(Connection()));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(DeviceOperation, DiagnosticsOfEveryLength)
{
    InMemoryGateway gateway;
    Use(gateway);
    std::vector<std::uint8_t> record(276, 0);
    record[DiagnosticsLayout::kModuleStatus] = 1;
    record[DiagnosticsLayout::kStatusCode] = 17;
    record[DiagnosticsLayout::kPollCycleTime + 3] = 120;

    gateway.Store().Diagnostics() = record;
    auto shown = UploadDiagnostics(Connection());
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->PollCycleTime, 120u);
    EXPECT_EQ(shown->ErrorType, "Error 17");
    ASSERT_EQ(ui_.Dialogs.size(), 1u);
    EXPECT_EQ(ui_.Dialogs[0].PollCycleTime, 120u);
    EXPECT_EQ(ui_.StatusTexts, (std::vector<std::string>{"Uploading diagnostics", "Ready"}));

    record.resize(272);
    gateway.Store().Diagnostics() = record;
    shown = UploadDiagnostics(Connection());
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->PollCycleTime, 0u);

    record.resize(274);
    gateway.Store().Diagnostics() = record;
    EXPECT_FALSE(UploadDiagnostics(Connection()));
    EXPECT_EQ(Messages(), Only(ErrorMessage("Error", "Unable to upload diagonstics")));
    EXPECT_EQ(ui_.Dialogs.size(), 2u);
}

TEST_F(DeviceOperation, ClearDiagnosticsAndFirmwareVersion)
{
    InMemoryGateway gateway;
    Use(gateway);
    gateway.Store().Diagnostics()[DiagnosticsLayout::kCounters + 3] = 9;
    EXPECT_TRUE(ClearDiagnostics(Connection()));
    EXPECT_EQ(gateway.Store().Diagnostics()[DiagnosticsLayout::kCounters + 3], 0);
    EXPECT_EQ(ui_.StatusTexts, (std::vector<std::string>{"Clearing diagnostics", "Ready"}));

    ui_.StatusTexts.clear();
    ui_.ProgressValues.clear();
    EXPECT_EQ(GetFirmwareVersion(Connection()), "Firmware version : 1.05 build 12");
    EXPECT_EQ(Messages(), (std::vector<Message>{InfoMessage("Success", "Clear diagnostics OK!"),
                                                InfoMessage("Firmware", "Firmware version : 1.05 build 12")}));
    // After the version the status line keeps its text and the bar its place.
    EXPECT_EQ(ui_.StatusTexts, (std::vector<std::string>{"Getting firmware version"}));
    EXPECT_EQ(ui_.ProgressValues, (std::vector<int>{100}));
}

// Every fault of the simulator, each on an operation that shows its own
// failure message; the port is closed afterwards (Messages() checks).
TEST_F(DeviceOperation, SimulatorFaultsGiveEachOperationsFailureMessage)
{
    const auto failure = [](const char* text) { return Only(ErrorMessage("Error", text)); };
    {
        InMemoryGateway gateway({"bad-crc:3"});
        Use(gateway);
        EXPECT_FALSE(GetFirmwareVersion(Connection()));
        EXPECT_EQ(Messages(), failure("Unable to get firmware version"));
        EXPECT_EQ(ui_.StatusTexts.back(), "Ready");
    }
    {
        InMemoryGateway gateway({"error-bit"});
        Use(gateway);
        ui_.Messages.clear();
        EXPECT_FALSE(ClearDiagnostics(Connection()));
        EXPECT_EQ(Messages(), failure("Unable to clear diagonstics"));
    }
    {
        InMemoryGateway gateway({"short"});
        Use(gateway);
        ui_.Messages.clear();
        EXPECT_FALSE(UploadDiagnostics(Connection()));
        EXPECT_EQ(Messages(), failure("Unable to upload diagonstics"));
    }
    {
        InMemoryGateway gateway({"oversize-length:3"});
        Use(gateway);
        ui_.Messages.clear();
        EXPECT_FALSE(UploadArchive(Connection()));
        EXPECT_EQ(Messages(), failure("Archive upload failed!"));
    }
    {
        InMemoryGateway gateway({"zero-block-count:3"});
        Use(gateway);
        const std::string path = files_.File("a.zip");
        WriteTextFile(path, "PK archive");
        ui_.Files.push_back(path);
        ui_.Messages.clear();
        EXPECT_FALSE(DownloadArchive(Connection()));
        EXPECT_EQ(Messages(), failure("Archive download failed!"));
    }
    {
        // Bit 6 alone does not spoil a reply: the operation succeeds.
        InMemoryGateway gateway({"retry-bit:5"});
        Use(gateway);
        ui_.Messages.clear();
        EXPECT_TRUE(GetFirmwareVersion(Connection()));
        EXPECT_EQ(Messages(), Only(InfoMessage("Firmware", "Firmware version : 1.05 build 12")));
    }
}

TEST_F(DeviceOperation, ShortRepliesAreFailuresOfTheirOperation)
{
    InMemoryGateway gateway;
    Use(gateway);
    DownloadConfiguration(Connection(), TwoSlaveConfiguration(), kFormatVersion200);
    const std::string path = files_.File("a.zip");
    WriteTextFile(path, std::string(600, 'a'));
    ui_.Files.push_back(path);
    DownloadArchive(Connection());
    ui_.Messages.clear();
    // The same gateway, now cutting its next replies in half.
    InMemoryGateway cutting({"short:10"});
    cutting.Store().KeepConfiguration(gateway.Store().Image(), gateway.Store().Text());
    cutting.Store().KeepArchive(gateway.Store().ArchiveName(), gateway.Store().Archive());
    Use(cutting);
    UploadTarget target;
    EXPECT_EQ(UploadConfiguration(Connection(), target), UploadOutcome::Failed);
    ui_.Files.push_back(files_.File("copy.zip"));
    EXPECT_FALSE(UploadArchive(Connection()));
    EXPECT_FALSE(std::filesystem::exists(files_.File("copy.zip")));
    EXPECT_FALSE(GetFirmwareVersion(Connection()));
    EXPECT_EQ(DownloadConfiguration(Connection(), TwoSlaveConfiguration(), kFormatVersion200), DownloadOutcome::Failed);
    EXPECT_EQ(Messages(), (std::vector<Message>{ErrorMessage("Error", "Unable to upload configuration"),
                                                ErrorMessage("Error", "Archive upload failed!"),
                                                ErrorMessage("Error", "Unable to get firmware version"),
                                                ErrorMessage("Error", "Configuration dowload failed!")}));
}

TEST_F(DeviceOperation, SilenceAndStrayBytesEndInTheReplyTimeOut)
{
    InMemoryGateway silent({"silence"});
    Use(silent);
    UploadTarget target;
    const long long start = line_.clock.NowMilliseconds();
    EXPECT_EQ(UploadConfiguration(Connection(), target), UploadOutcome::Failed);
    EXPECT_GE(line_.clock.NowMilliseconds() - start, 500 + 5000);
    EXPECT_LT(line_.clock.NowMilliseconds() - start, 500 + 5000 + 100);
    EXPECT_EQ(Messages(), Only(ErrorMessage("Error", "Unable to upload configuration")));
    EXPECT_EQ(silent.RequestsReceived(), 1);

    InMemoryGateway stray({"trailing-bytes"});
    Use(stray);
    ui_.Messages.clear();
    EXPECT_EQ(DownloadConfiguration(Connection(), TwoSlaveConfiguration(), kFormatVersion200), DownloadOutcome::Failed);
    EXPECT_EQ(Messages(), Only(ErrorMessage("Error", "Configuration dowload failed!")));
}

TEST_F(DeviceOperation, LineRatePacesTheGateway)
{
    // 1200 baud: the 8-byte request and the 11-byte reply take 158 ms on the line.
    SimulatedGateway gateway({}, {}, 1200);
    SerialLink link;
    ASSERT_TRUE(link.Open(gateway.Path(), kGatewayBaudRate));
    link.SetReplyTimeout(kDeviceReplyTimeout);
    std::uint8_t reply[16];
    int length = sizeof reply;
    const Stopwatch watch;
    ASSERT_TRUE(link.Transact(kCommandFirmwareVersion, 0, nullptr, length, reply));
    EXPECT_GE(watch.WallMilliseconds(), 5 + 158);
    EXPECT_LT(watch.WallMilliseconds(), 5 + 158 + 400) << "slack for a busy machine, far below a second exchange";
    link.Close();
}

namespace {

// The private directory of the temporary files, made as the operations make it.
std::string MakePrivateDirectory(const OwnTemporaryFiles& files)
{
    const std::string directory = files.PrivateDirectory();
    std::filesystem::create_directory(directory);
    std::filesystem::permissions(directory, std::filesystem::perms::owner_all);
    return directory;
}

}  // namespace

TEST_F(DeviceOperation, ArchiveUploadThatCannotCreateItsFile)
{
    InMemoryGateway gateway;
    gateway.Store().KeepArchive("site.zip", Sequence(100));
    Use(gateway);
    ui_.Files.push_back(files_.File("no-such-directory/site.zip"));
    EXPECT_FALSE(UploadArchive(Connection()));
    EXPECT_EQ(Messages(), Only(ErrorMessage("Error", "Unable to create file")));
    EXPECT_EQ(ui_.StatusTexts, (std::vector<std::string>{"Uploading archive", "Ready"}));
    EXPECT_EQ(ui_.ProgressValues.back(), 0);
}

TEST_F(DeviceOperation, TextThatJustFitsBehindTheImageAndOneByteMore)
{
    InMemoryGateway gateway;
    Use(gateway);
    ConfigTemplate config = AnalogInputs(100);
    for (int i = 0; i < config.AnalogInputs.Count(); ++i) {
        config.AnalogInputs[i].Description = std::string(580, 'd');
    }
    std::vector<std::uint8_t> image(kDeviceImageBufferSize);
    const int imageLength = BuildDeviceImage(config, image.data(), kDeviceImageBufferSize, kFormatVersion200,
                                             TodaysDate(), ui_);
    ASSERT_GT(imageLength, 0);
    const std::size_t room = static_cast<std::size_t>(kDeviceImageBufferSize - imageLength - 2);
    const std::size_t text = ConfigFileText(config, false).size();
    ASSERT_LT(text, room);
    config.AnalogInputs[0].Description += std::string(room - text, 'e');
    ASSERT_EQ(ConfigFileText(config, false).size(), room);

    // A block of exactly 65536 bytes still goes.
    EXPECT_EQ(DownloadConfiguration(Connection(), config, kFormatVersion200), DownloadOutcome::Succeeded);
    EXPECT_EQ(Messages(), Only(DownloadOk("v2.00")));
    EXPECT_EQ(gateway.RequestsReceived(), 226);

    config.AnalogInputs[0].Description += 'e';
    ui_.Messages.clear();
    ui_.StatusTexts.clear();
    EXPECT_EQ(DownloadConfiguration(Connection(), config, kFormatVersion200), DownloadOutcome::Failed);
    EXPECT_EQ(Messages(), Only(ErrorMessage("Error", "Unable to download - configuration too large\nThe configuration "
                                                     "text has " + std::to_string(room + 1) + " bytes; " +
                                                     std::to_string(room) + " fit behind the device image")));
    EXPECT_EQ(gateway.RequestsReceived(), 226) << "nothing sent";
    EXPECT_TRUE(ui_.StatusTexts.empty());
}

TEST_F(DeviceOperation, TemporaryFileThatCannotBeMadeOrWritten)
{
    InMemoryGateway gateway;
    Use(gateway);
    ASSERT_EQ(DownloadConfiguration(Connection(), TwoSlaveConfiguration(), kFormatVersion200),
              DownloadOutcome::Succeeded);
    const int requests = gateway.RequestsReceived();
    const std::string directory = MakePrivateDirectory(temporaryFiles_);
    const auto download = [&] {
        ui_.Messages.clear();
        EXPECT_EQ(DownloadConfiguration(Connection(), TwoSlaveConfiguration(), kFormatVersion200),
                  DownloadOutcome::Failed);
        return Messages();
    };
    const auto upload = [&](UploadTarget& target) {
        ui_.Messages.clear();
        EXPECT_EQ(UploadConfiguration(Connection(), target), UploadOutcome::Failed);
        return Messages();
    };
    const std::vector<Message> cannotCreate = Only(ErrorMessage("Error", "Unable to create temporary file"));

    // A directory open to others is no place for it.
    std::filesystem::permissions(directory, std::filesystem::perms::group_read | std::filesystem::perms::group_exec,
                                 std::filesystem::perm_options::add);
    EXPECT_EQ(download(), cannotCreate);
    UploadTarget notAsked;
    EXPECT_EQ(upload(notAsked), cannotCreate);
    EXPECT_EQ(notAsked.NewCalls, 0);
    EXPECT_EQ(gateway.RequestsReceived(), requests) << "refused before the port";
    std::filesystem::permissions(directory, std::filesystem::perms::owner_all);

    // A file that cannot take the text: nothing sent, nothing left behind.
    UploadTarget received;
    {
        const FileSizeLimit limit(16);
        EXPECT_EQ(download(), Only(ErrorMessage("Error", "Unable to write temporary file")));
        EXPECT_EQ(gateway.RequestsReceived(), requests);
        ui_.StatusTexts.clear();
        EXPECT_EQ(upload(received), cannotCreate);
    }
    EXPECT_EQ(received.NewCalls, 0) << "the document stays as it was";
    EXPECT_EQ(ui_.StatusTexts, (std::vector<std::string>{"Uploading configuration", "Ready"}));
    EXPECT_GT(gateway.RequestsReceived(), requests);
    EXPECT_TRUE(temporaryFiles_.Clean());
}

TEST_F(DeviceOperation, CancelledOperationsSaySoAndLeaveNothingBehind)
{
    InMemoryGateway gateway;
    std::atomic<bool> cancel{false};
    int cancelAt = 0;
    const auto responder = gateway.Responder();
    int frames = 0;
    Use([&](const Bytes& request, int index) {
        cancel = ++frames == cancelAt;
        return responder(request, index);
    });
    line_.link.SetCancelFlag(&cancel);
    const auto cancelled = [&](int atFrame) {
        frames = 0;
        cancelAt = atFrame;
        cancel = false;
        ui_.Messages.clear();
        ui_.StatusTexts.clear();
    };

    // The gateway holds a configuration and an archive of several blocks.
    const std::string archive = files_.File("site.zip");
    WriteTextFile(archive, std::string(65275, 'a'));
    ui_.Files.push_back(archive);
    ASSERT_TRUE(DownloadArchive(Connection()));
    ASSERT_EQ(DownloadConfiguration(Connection(), TwoSlaveConfiguration(), kFormatVersion200),
              DownloadOutcome::Succeeded);

    ui_.Files.push_back(archive);
    cancelled(100);
    EXPECT_FALSE(DownloadArchive(Connection()));
    EXPECT_EQ(Messages(), Only(CancelledMessage()));
    EXPECT_EQ(frames, 100);
    EXPECT_EQ(ui_.StatusTexts, (std::vector<std::string>{"Downloading archive", "Ready"}));

    cancelled(1);
    EXPECT_EQ(DownloadConfiguration(Connection(), TwoSlaveConfiguration(), kFormatVersion200),
              DownloadOutcome::Failed);
    EXPECT_EQ(Messages(), Only(CancelledMessage()));
    EXPECT_TRUE(temporaryFiles_.Clean());

    cancelled(1);
    UploadTarget target;
    EXPECT_EQ(UploadConfiguration(Connection(), target), UploadOutcome::Failed);
    EXPECT_EQ(Messages(), Only(CancelledMessage()));
    EXPECT_EQ(target.NewCalls, 0) << "no new document";
    EXPECT_TRUE(temporaryFiles_.Clean());

    const std::size_t fileRequests = ui_.FileRequests.size();
    cancelled(1);
    EXPECT_FALSE(UploadArchive(Connection()));
    EXPECT_EQ(Messages(), Only(CancelledMessage()));
    EXPECT_EQ(ui_.FileRequests.size(), fileRequests) << "no file asked for, none written";

    // Cancelled before the first frame: during the pause after opening.
    cancelled(0);
    cancel = true;
    EXPECT_FALSE(QueryFirmwareVersion(Connection()));
    EXPECT_EQ(Messages(), Only(CancelledMessage()));
    EXPECT_EQ(frames, 0);

    // The next operation runs as if nothing had happened.
    cancelled(0);
    EXPECT_TRUE(QueryFirmwareVersion(Connection()));
}
