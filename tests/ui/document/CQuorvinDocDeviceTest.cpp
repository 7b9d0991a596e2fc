// The document's Device commands against the gateway simulator on a
// pseudo-terminal, the COM port mapped to it through the profile.
#include "CQuorvinDoc.h"
#include "ConfigFile.h"
#include "DeviceImage.h"
#include "DeviceTestSupport.h"
#include "OperationRecord.h"
#include "ScriptedDocumentHost.h"
#include "SimulatedGateway.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Answer = DocumentHost::SaveChangesAnswer;
using Message = ScriptedMessage;

class CQuorvinDocDevice : public ::testing::Test {
protected:
    CQuorvinDocDevice()
    {
        ui_.ListSeparatorAnswer = ",";
        ui_.DecimalSeparatorAnswer = ".";
        ui_.ProfileStrings[{"Settings", "COM1Device"}] = gateway_.Path();
        document_ = std::make_unique<CQuorvinDoc>(ui_, "");
    }

    CQuorvinDoc& Doc() { return *document_; }
    std::string OpenSample()
    {
        const std::string path = files_.File("sample.hxc");
        WriteTextFile(path, ConfigFileText(TwoSlaveConfiguration(), false));
        EXPECT_TRUE(Doc().FileOpenPath(path));
        ui_.Messages.clear();
        return path;
    }

    OwnTemporaryFiles temporaryFiles_;
    TemporaryDirectory files_;
    SimulatedGateway gateway_;
    ScriptedDocumentHost ui_;
    std::unique_ptr<CQuorvinDoc> document_;
};

SlaveAddressTable Slaves(std::initializer_list<int> addresses)
{
    SlaveAddressTable table = kNoSlaves;
    std::copy(addresses.begin(), addresses.end(), table.begin());
    return table;
}

}  // namespace

TEST_F(CQuorvinDocDevice, UploadReplacesTheDocumentWithAnUntitledModifiedOne)
{
    const std::string path = OpenSample();
    Doc().OnDownloadConfiguration();
    EXPECT_EQ(ui_.Messages, std::vector{InfoMessage("Success", "Configuration download OK! [v2.00]")});

    ui_.Messages.clear();
    ui_.UpdateAllViewsCalls = 0;
    Doc().OnUploadConfiguration();
    EXPECT_EQ(ui_.Messages, std::vector{InfoMessage("Success", "Configuration upload OK!")});
    EXPECT_EQ(Doc().Title(), "Untitled");
    EXPECT_TRUE(Doc().PathName().empty());
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Doc().UsedSlaves(), Slaves({5, 9}));
    EXPECT_EQ(ConfigFileText(Doc().Config(), false), ReadTextFile(path));
    EXPECT_GE(ui_.UpdateAllViewsCalls, 2);
    EXPECT_EQ(ui_.StatusTexts.back(), "Ready");
    EXPECT_EQ(ui_.CommitFormCalls, 3);  // the open, the download, the upload
}

TEST_F(CQuorvinDocDevice, DownloadGuards)
{
    // The plain command refuses a document without slaves; the variants send it.
    Doc().OnDownloadConfiguration();
    EXPECT_EQ(ui_.Messages, std::vector{NoticeMessage(kNoSlavesNotice)});
    EXPECT_EQ(gateway_.RequestsReceived(), 0);

    ui_.Messages.clear();
    Doc().OnDownloadConfigurationAs(kFormatVersion102);
    EXPECT_EQ(ui_.Messages, std::vector{InfoMessage("Success", "Configuration download OK! [v1.02]")});
    EXPECT_EQ(gateway_.Store().Image()[2], 0x01);

    ui_.Messages.clear();
    ui_.CommitFormResult = false;
    const int requests = gateway_.RequestsReceived();
    Doc().OnDownloadConfigurationAs(kFormatVersion200);
    Doc().OnUploadConfiguration();
    EXPECT_TRUE(ui_.Messages.empty());
    EXPECT_EQ(gateway_.RequestsReceived(), requests);
}

TEST_F(CQuorvinDocDevice, UploadThatIsCancelledOrFailsLeavesTheDocumentAlone)
{
    const std::string path = OpenSample();
    Doc().SetModifiedFlag();
    ui_.SaveChangesAnswers = {Answer::Cancel};
    Doc().OnUploadConfiguration();
    EXPECT_EQ(gateway_.RequestsReceived(), 0);

    // The gateway keeps no configuration yet.
    ui_.SaveChangesAnswers = {Answer::No};
    Doc().OnUploadConfiguration();
    EXPECT_EQ(ui_.Messages,
              std::vector{ErrorMessage("Error", "Unable to upload configuration\nthe gateway reported an error")});
    EXPECT_EQ(Doc().PathName(), path);
    EXPECT_EQ(Doc().Title(), "sample.hxc");
    EXPECT_EQ(Doc().Config().AnalogInputs.Count(), 4);
}

TEST_F(CQuorvinDocDevice, ArchiveDiagnosticsAndFirmwareOnTheChosenComPort)
{
    ui_.ProfileStrings.erase({"Settings", "COM1Device"});
    ui_.ProfileStrings[{"Settings", "COM3Device"}] = gateway_.Path();
    Doc().OnSelectComPort(3);
    ui_.Messages.clear();

    WriteTextFile(files_.File("plant.zip"), "PK\x03\x04 plant archive");
    ui_.Files = {files_.File("plant.zip"), files_.File("back.zip")};
    Doc().OnDownloadArchive();
    Doc().OnUploadArchive();
    EXPECT_EQ(ReadTextFile(files_.File("back.zip")), "PK\x03\x04 plant archive");
    EXPECT_EQ(ui_.FileRequests.back().InitialName, "plant.zip");

    Doc().OnUploadDiagnostics();
    ASSERT_EQ(ui_.Dialogs.size(), 1u);
    EXPECT_EQ(ui_.Dialogs[0].ErrorType, "Configuration Empty");
    Doc().OnClearDiagnostics();
    Doc().OnGetFirmwareVersion();
    EXPECT_EQ(ui_.Messages, (std::vector<Message>{InfoMessage("Success", "Archive download OK!"),
                                                  InfoMessage("Success", "Archive upload OK!"),
                                                  InfoMessage("Success", "Clear diagnostics OK!"),
                                                  InfoMessage("Firmware", "Firmware version : 1.05 build 12")}));
    EXPECT_FALSE(Doc().Link().IsOpen());
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(CQuorvinDocDevice, BackupBeforeDownloadAndTheOperationsLog)
{
    const std::string path = OpenSample();
    Doc().OperationsLogPath = files_.File("state/operations.jsonl");
    Doc().OnToggleBackupBeforeDownload();  // the folder dialog cancelled: it stays off
    EXPECT_FALSE(Doc().BackupBeforeDownloadOn);
    const std::string folder = files_.File("backups");
    std::filesystem::create_directory(folder);
    ui_.Files.push_back(folder);
    Doc().OnToggleBackupBeforeDownload();
    EXPECT_TRUE(Doc().BackupBeforeDownloadOn);
    EXPECT_EQ((ui_.ProfileStrings[{"Settings", "BackupFolder"}]), folder);
    EXPECT_EQ((ui_.ProfileInts[{"Settings", "BackupBeforeDownload"}]), 1);

    Doc().OnDownloadConfiguration();  // nothing on the gateway to keep yet
    Doc().OnDownloadConfiguration();
    const auto backups = std::filesystem::directory_iterator(folder);
    const std::string backup = backups->path().string();
    EXPECT_TRUE(backups->path().filename().string().starts_with("sample-")) << backup;
    EXPECT_EQ(ReadTextFile(backup), ReadTextFile(path));
    Doc().OnToggleBackupBeforeDownload();
    EXPECT_FALSE(Doc().BackupBeforeDownloadOn);
    EXPECT_EQ((ui_.ProfileInts[{"Settings", "BackupBeforeDownload"}]), 0);

    std::vector<std::string> entries;
    for (const OperationRecord& record : ReadOperationsLog(Doc().OperationsLogPath).Records) {
        EXPECT_EQ(record.Program, "halvex");
        EXPECT_EQ(record.Port, "COM1");
        entries.push_back(record.Action + " " + record.Result + " " + record.File + " " + record.Message);
    }
    EXPECT_EQ(entries, (std::vector<std::string>{
                           "backup ok  The gateway holds no configuration yet: nothing to back up",
                           "download ok " + path + " Configuration download OK! [v2.00]",
                           "backup ok " + backup + " Configuration backed up to " + backup,
                           "download ok " + path + " Configuration download OK! [v2.00]",
                       }));
}

TEST_F(CQuorvinDocDevice, CompareWithGatewayListsWhatADownloadWouldChangeAndMayDownload)
{
    OpenSample();
    Doc().OnDownloadConfiguration();
    Doc().Change([](DocumentContent& content) {
        content.Config.SpaBaudRate = 300;
        content.Config.AnalogInputs[0].Scale = 2.0f;
        content.Config.DigitalOutputs.RemoveAt(content.Config.DigitalOutputs.Count() - 1);
        return true;
    });
    ui_.Messages.clear();
    ui_.DownloadAfterCompare = true;
    Doc().OnCompareWithGateway();
    ASSERT_EQ(ui_.GatewayDifferences.size(), 1u);
    const std::vector<std::string>& lines = ui_.GatewayDifferences[0];
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "SPA_BAUDRATE: " + std::to_string(TwoSlaveConfiguration().SpaBaudRate) + " -> 300");
    EXPECT_EQ(lines[1].rfind("[ANALOG_INPUT] 1 changed: Scale", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind("[DIGITAL_OUTPUT] ", 0), 0u) << lines[2];
    EXPECT_EQ(ui_.Messages, std::vector{InfoMessage("Success", "Configuration download OK! [v2.00]")});

    ui_.DownloadAfterCompare = false;
    Doc().OnCompareWithGateway();
    EXPECT_EQ(ui_.GatewayDifferences.back(), std::vector<std::string>{}) << "the download took the changes";
}
