#include "CQuorvinDoc.h"
#include "PortName.h"
#include "PortNames.h"
#include "ConfigFile.h"
#include "DocumentContentEdit.h"
#include "DocumentWatcher.h"
#include "MonitorTestSupport.h"
#include "ScriptedDocumentHost.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

using Answer = DocumentHost::SaveChangesAnswer;
using Message = ScriptedDocumentHost::Message;

SlaveAddressTable Slaves(std::initializer_list<int> addresses)
{
    SlaveAddressTable table = kNoSlaves;
    std::copy(addresses.begin(), addresses.end(), table.begin());
    return table;
}

// One point in each of the five lists for every slave, in the order given.
void AddPoints(ConfigTemplate& config, std::initializer_list<int> slaves)
{
    for (const int slave : slaves) {
        auto point = [slave](auto record, const char* address) {
            record.SlaveAddress = slave;
            record.Address = address;
            return record;
        };
        auto digital = [&point](auto record, const char* address, const char* dataType) {
            record.DataType = dataType;
            return point(record, address);
        };
        config.AnalogInputs.Append(point(AnalogInputPoint{}, "0I1"));
        config.DigitalInputs.Append(digital(DigitalInputPoint{}, "1/1I1/1", "S"));
        config.AnalogOutputs.Append(point(AnalogOutputPoint{}, "0S1"));
        config.DigitalOutputs.Append(digital(DigitalOutputPoint{}, "0O1", "B"));
        config.IndirectMessages.Append(point(IndirectSpaMessage{}, "0I1"));
    }
}

// The slave addresses of each of the five lists, when they all agree.
std::vector<int> PointSlaves(const ConfigTemplate& config)
{
    auto of = [](const auto& list) {
        std::vector<int> addresses;
        for (const auto& point : list) {
            addresses.push_back(point.SlaveAddress);
        }
        return addresses;
    };
    const auto analogInputs = of(config.AnalogInputs);
    const bool same = of(config.DigitalInputs) == analogInputs && of(config.AnalogOutputs) == analogInputs &&
                      of(config.DigitalOutputs) == analogInputs && of(config.IndirectMessages) == analogInputs;
    return same ? analogInputs : std::vector<int>{-99};
}

class CQuorvinDocTest : public ::testing::Test {
protected:
    // A document holding points of the given slaves, not modified.
    CQuorvinDoc& Doc(std::initializer_list<int> slaves = {}, const std::string& commandLine = "halvex")
    {
        doc_ = std::make_unique<CQuorvinDoc>(ui_, commandLine);
        PrepareContent(*doc_, [slaves](DocumentContent& content) { AddPoints(content.Config, slaves); });
        return *doc_;
    }

    std::string FileWithSlaves(const std::string& name, std::initializer_list<int> slaves)
    {
        ConfigTemplate config;
        config.SpaBaudRate = 19200;
        AddPoints(config, slaves);
        const std::string path = directory_.File(name);
        EXPECT_TRUE(WriteConfigFile(config, path, false));
        return path;
    }

    ScriptedDocumentHost ui_;
    TemporaryDirectory directory_;
    std::unique_ptr<CQuorvinDoc> doc_;
};

TEST_F(CQuorvinDocTest, ConstructionReadsComPortKeywordAndRegionalSeparators)
{
    ui_.ProfileInts[{"Settings", "COMPort"}] = 7;
    ui_.ListSeparatorAnswer = ";";
    ui_.DecimalSeparatorAnswer = ",";
    CQuorvinDoc& doc = Doc({}, "halvex /plants/northvorlanqix2.hxc");
    EXPECT_EQ(doc.ComPort(), 7);  // passed on unchanged; no menu item is checked
    EXPECT_EQ(doc.PortDevicePath(), DefaultComPortDevice(7));
    EXPECT_TRUE(doc.ExtendedMode());
    EXPECT_EQ(doc.ListSeparator() + doc.DecimalSeparator(), ";,");
    EXPECT_TRUE(doc.Watcher().IsRunning());
    EXPECT_TRUE(ui_.Messages.empty());
    EXPECT_FALSE(Doc({}, "halvex VORLANQIX").ExtendedMode());
    ui_.ProfileInts[{"Settings", "COMPort"}] = 0;
    ui_.ProfileStrings[{"Settings", "PortDevice"}] = "/dev/ttyACM0";
    EXPECT_EQ(Doc().PortDevicePath(), "/dev/ttyACM0");

    // Either separator unreadable: a warning, and both fall back.
    ui_.DecimalSeparatorAnswer = std::nullopt;
    const CQuorvinDoc& fallback = Doc();
    EXPECT_EQ(fallback.ListSeparator() + fallback.DecimalSeparator(), ",.");
    EXPECT_EQ(ui_.Messages.back(),
              NoticeMessage("Warning: Unable to detect regional settings - reverting to default."));
}

TEST_F(CQuorvinDocTest, AddTakesTheLowestFreeAddressFromOneUpToSixteenSlaves)
{
    Doc().OnSlaveAdd();
    EXPECT_EQ(doc_->SelectedSlave(), 1);
    EXPECT_EQ(doc_->AddedSlaves(), Slaves({1}));
    EXPECT_TRUE(doc_->IsModified());
    EXPECT_EQ(ui_.UpdateAllViewsCalls, 1);

    Doc({5, 2, 1}).OnSlaveAdd();
    EXPECT_EQ(doc_->SelectedSlave(), 3);
    EXPECT_EQ(doc_->UsedSlaves(), Slaves({1, 2, 3, 5}));

    Doc({3, 2}).OnSlaveAdd();
    EXPECT_EQ(doc_->SelectedSlave(), 1);

    Doc({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}).OnSlaveAdd();
    EXPECT_EQ(ui_.Messages, std::vector{NoticeMessage("There are already 16 slaves configured")});
    EXPECT_EQ(doc_->AddedSlaves(), kNoSlaves);
    EXPECT_FALSE(doc_->IsModified());
}

TEST_F(CQuorvinDocTest, RemoveAsksFirstUnlessExtendedAndDeletesEveryPointOfTheSlave)
{
    CQuorvinDoc& doc = Doc({1, 7, 2, 7});
    PrepareContent(doc, [](DocumentContent& content) { content.AddedSlaves = Slaves({9, 7, 4}); });
    doc.SelectSlave(7);
    ui_.Answers = {false, true};
    doc.OnSlaveRemove();
    EXPECT_EQ(ui_.Messages.back(), (Message{"Remove?", "Do you really want to remove the slave and all of its parameters?",
                                            MessageIcon::Question, true}));
    EXPECT_EQ(PointSlaves(doc.Config()), (std::vector{1, 7, 2, 7}));
    EXPECT_FALSE(doc.IsModified());

    doc.OnSlaveRemove();
    EXPECT_EQ(PointSlaves(doc.Config()), (std::vector{1, 2}));
    EXPECT_EQ(doc.AddedSlaves(), Slaves({9, 4}));
    EXPECT_EQ(doc.UsedSlaves(), Slaves({1, 2, 4, 9}));
    EXPECT_EQ(doc.SelectedSlave(), 7);
    EXPECT_TRUE(doc.IsModified());

    ui_.Messages.clear();
    Doc({1, 2}, "halvex vorlanqix").SelectSlave(2);
    doc_->OnSlaveRemove();
    EXPECT_TRUE(ui_.Messages.empty());
    EXPECT_EQ(doc_->UsedSlaves(), Slaves({1}));
}

TEST_F(CQuorvinDocTest, SlaveCommandsWithoutSlavesShowTheNoSlavesNotice)
{
    CQuorvinDoc& doc = Doc({}, "halvex vorlanqix");
    doc.OnSlaveRemove();
    doc.OnSlaveSetAddress();
    doc.OnPrioritize(true);
    EXPECT_EQ(ui_.Messages, std::vector<Message>(3, NoticeMessage(kNoSlavesNotice)));
    EXPECT_TRUE(ui_.SlaveAddressPresets.empty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(ui_.UpdateAllViewsCalls, 0);
}

TEST_F(CQuorvinDocTest, SetAddressRefusesAnAddressInUseAndOtherwiseMovesTheSlave)
{
    CQuorvinDoc& doc = Doc({1, 5, 1});
    PrepareContent(doc, [](DocumentContent& content) { content.AddedSlaves = Slaves({5, 8}); });
    doc.SelectSlave(5);
    ui_.SlaveAddressAnswers = {8, 12};
    doc.OnSlaveSetAddress();
    EXPECT_EQ(ui_.Messages, std::vector{NoticeMessage("Slave address already in use!")});
    EXPECT_EQ(PointSlaves(doc.Config()), (std::vector{1, 5, 1}));
    EXPECT_FALSE(doc.IsModified());

    doc.OnSlaveSetAddress();
    EXPECT_EQ(ui_.SlaveAddressPresets, (std::vector{5, 5}));
    EXPECT_EQ(PointSlaves(doc.Config()), (std::vector{1, 12, 1}));
    EXPECT_EQ(doc.AddedSlaves(), Slaves({12, 8}));
    EXPECT_EQ(doc.UsedSlaves(), Slaves({1, 8, 12}));
    EXPECT_EQ(doc.SelectedSlave(), 12);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(CQuorvinDocTest, SetAddressToItsOwnAddressOrCancelledMarksModifiedAndChangesNothing)
{
    CQuorvinDoc& doc = Doc({3});
    doc.OnSlaveAdd();
    doc.SelectSlave(3);
    ui_.SlaveAddressAnswers = {3, std::nullopt};
    doc.OnSlaveSetAddress();
    doc.SetModifiedFlag(false);
    doc.OnSlaveSetAddress();
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.UsedSlaves(), Slaves({1, 3}));

    // With no slave selected the free entries of AddedSlaves stay free.
    doc.SelectSlave(-1);
    ui_.SlaveAddressAnswers = {20};
    doc.OnSlaveSetAddress();
    EXPECT_EQ(doc.AddedSlaves(), Slaves({1}));
    EXPECT_TRUE(ui_.Messages.empty());
}

TEST_F(CQuorvinDocTest, PrioritizeTouchesOnlyTheSelectedSlavesPoints)
{
    CQuorvinDoc& doc = Doc({1, 2});
    doc.SelectSlave(2);
    doc.OnPrioritize(true);
    const ConfigTemplate& config = doc.Config();
    EXPECT_TRUE(config.AnalogInputs[1].Priority && config.DigitalInputs[1].Priority &&
                config.AnalogOutputs[1].Priority && config.DigitalOutputs[1].Priority);
    EXPECT_FALSE(config.AnalogInputs[0].Priority || config.DigitalOutputs[0].Priority);
    EXPECT_TRUE(doc.IsModified());
    doc.OnPrioritize(false);
    EXPECT_FALSE(config.AnalogInputs[1].Priority || config.DigitalOutputs[1].Priority);
    EXPECT_EQ(ui_.UpdateAllViewsCalls, 2);

    doc.OnSelectComPort(4);
    EXPECT_EQ((ui_.ProfileInts[{"Settings", "COMPort"}]), 4);
    EXPECT_EQ(ui_.ComPortChecks, std::vector{4});
    EXPECT_EQ(doc.PortDevicePath(), DefaultComPortDevice(4));

    // Another device: COM port 0 and the path, kept when a COM port is chosen again.
    doc.OnSelectPortDevice("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K3X-if00-port0");
    EXPECT_EQ((ui_.ProfileInts[{"Settings", "COMPort"}]), 0);
    EXPECT_EQ((ui_.ProfileStrings[{"Settings", "PortDevice"}]), doc.PortDevice());
    EXPECT_EQ(ui_.ComPortChecks, (std::vector{4, 0}));
    EXPECT_EQ(doc.PortDevicePath(), "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K3X-if00-port0");
    ui_.ProfileStrings[{"Settings", "COM2Device"}] = "/dev/ttyUSB1";
    doc.OnSelectComPort(2);
    EXPECT_EQ(doc.PortDevicePath(), "/dev/ttyUSB1");
    EXPECT_EQ((ui_.ProfileStrings[{"Settings", "PortDevice"}]), doc.PortDevice());

    // Network addresses are remembered, the latest first, each once, five at most.
    for (const char* address : {"socket://a:1", "rfc2217://b:2", "socket://c:3", "socket://d:4", "socket://e:5",
                                "rfc2217://b:2", "socket://f:6"}) {
        doc.OnSelectPortDevice(address);
    }
    EXPECT_EQ(doc.PortDevicePath(), "socket://f:6");
    EXPECT_EQ(RecentNetworkPorts(ui_), (std::vector<std::string>{"socket://f:6", "rfc2217://b:2", "socket://e:5",
                                                                 "socket://d:4", "socket://c:3"}));
    doc.OnSelectPortDevice("/dev/ttyUSB2");
    EXPECT_EQ(RecentNetworkPorts(ui_).size(), 5u);
}

TEST_F(CQuorvinDocTest, DeviceGuardsCommitTheFormCheckSlavesAndOfferToSave)
{
    CQuorvinDoc& doc = Doc();
    doc.SetModifiedFlag();
    ui_.CommitFormResult = false;
    EXPECT_FALSE(doc.DownloadGuard(false));
    EXPECT_FALSE(doc.UploadGuard());
    EXPECT_TRUE(ui_.Messages.empty());
    EXPECT_TRUE(ui_.SaveChangesTitles.empty());

    ui_.CommitFormResult = true;
    EXPECT_FALSE(doc.DownloadGuard(true));
    EXPECT_EQ(ui_.Messages, std::vector{NoticeMessage(kNoSlavesNotice)});
    EXPECT_TRUE(doc.DownloadGuard(false));

    ui_.SaveChangesAnswers = {Answer::Cancel, Answer::No};
    EXPECT_FALSE(doc.UploadGuard());
    EXPECT_TRUE(doc.UploadGuard());
    EXPECT_EQ(ui_.SaveChangesTitles, (std::vector<std::string>{"Untitled", "Untitled"}));
    EXPECT_EQ(ui_.CommitFormCalls, 6);
}

TEST_F(CQuorvinDocTest, OpenReadsTheFileWatchesItAndForgetsAddedSlaves)
{
    const std::string path = FileWithSlaves("north.hxc", {4, 2});
    CQuorvinDoc& doc = Doc();
    doc.OnSlaveAdd();
    ui_.SaveChangesAnswers = {Answer::No};
    ASSERT_TRUE(doc.FileOpenPath(path));
    EXPECT_EQ(doc.Config().SpaBaudRate, 19200);
    EXPECT_EQ(doc.AddedSlaves(), kNoSlaves);
    EXPECT_EQ(doc.UsedSlaves(), Slaves({2, 4}));
    EXPECT_EQ(doc.SelectedSlave(), 1);  // the view corrects it
    EXPECT_EQ(doc.PathName() + "|" + doc.Title(), path + "|north.hxc");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.Watcher().IsWatched(path));
    EXPECT_EQ(ui_.RecentFiles, std::vector{path});
}

// The first line is the reader's message, the second says why.
TEST_F(CQuorvinDocTest, FailedOpenSaysWhyAndKeepsTheCurrentDocument)
{
    const std::string good = FileWithSlaves("good.hxc", {1});
    const std::string future = directory_.File("future.hxc");
    const std::string garbage = directory_.File("garbage.hxc");
    const std::string missing = directory_.File("missing.hxc");
    std::string text = ReadTextFile(good);
    WriteTextFile(future, text.replace(text.find("VERSION = 2.00"), 14, "VERSION = 3.00"));
    WriteTextFile(garbage, "[HEADER]\nIDENTIFICATION = SOMETHING_ELSE\nVERSION = 2.00\n");

    CQuorvinDoc& doc = Doc();
    ASSERT_TRUE(doc.FileOpenPath(good));
    doc.OnSlaveAdd();
    for (const auto& [path, error] :
         {std::pair{missing, "Error loading configuration file!\n" + missing + ": " + MissingFileReason()},
          std::pair{garbage, "Error loading configuration file!\n" + garbage + ": not a configuration file"},
          std::pair{future, "Wrong configuration file version!\n" + future + ": neither version 2.00 nor 1.02"}}) {
        ui_.Messages.clear();
        EXPECT_FALSE(doc.FileOpenPath(path));
        EXPECT_EQ(ui_.Messages, std::vector{ErrorMessage("Open error", error)});
        EXPECT_EQ(doc.Config().SpaBaudRate, 19200);
        EXPECT_EQ(doc.UsedSlaves(), Slaves({1, 2}));
        EXPECT_EQ(doc.PathName() + "|" + doc.Title(), good + "|good.hxc");
        EXPECT_TRUE(doc.IsModified());
        EXPECT_TRUE(doc.Watcher().IsWatched(good));
    }
}

#ifndef _WIN32  // a POSIX file size limit
TEST_F(CQuorvinDocTest, FailedSaveKeepsTheFileOnDiskAndTheDocumentModified)
{
    const std::string path = FileWithSlaves("plant.hxc", {1, 2, 3});
    const std::string before = ReadTextFile(path);
    CQuorvinDoc& doc = Doc();
    ASSERT_TRUE(doc.FileOpenPath(path));
    doc.Change([](DocumentContent& content) {
        content.Config.SpaBaudRate = 300;
        return true;
    });
    bool saved = true;
    {
        const FileSizeLimit limit(64);
        saved = doc.FileSave();
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(ui_.Messages, std::vector{ErrorMessage("Save error", "Unable to save document!\n" + path + ": File too large")});
    EXPECT_EQ(ReadTextFile(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory_.Path()), {}), 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.Watcher().IsRunning());

    // A refused commit stops the save before anything is written.
    ui_.CommitFormResult = false;
    EXPECT_FALSE(doc.FileSave());
    EXPECT_EQ(ReadTextFile(path), before);
    EXPECT_TRUE(doc.Watcher().IsRunning());
    EXPECT_EQ(ui_.Messages.size(), 1u);
}
#endif

TEST_F(CQuorvinDocTest, OwnSaveIsNotReportedAsAnExternalChange)
{
    const std::string path = FileWithSlaves("plant.hxc", {1});
    SetLastWriteTime(path, Now() - 100);
    CQuorvinDoc& doc = Doc();
    ASSERT_TRUE(doc.FileOpenPath(path));
    doc.Change([](DocumentContent& content) {
        content.Config.SpaBaudRate = 38400;
        return true;
    });
    ASSERT_TRUE(doc.FileSave());
    EXPECT_FALSE(doc.IsModified());
    std::this_thread::sleep_for(kQuietPeriod);
    EXPECT_TRUE(ui_.Messages.empty());
    EXPECT_TRUE(doc.Watcher().IsRunning() && doc.Watcher().IsWatched(path));
    EXPECT_NE(ReadTextFile(path).find("38400"), std::string::npos);
}

TEST_F(CQuorvinDocTest, SaveAsAsksForANameAndTheWatcherFollowsTheNewFile)
{
    const std::string path = FileWithSlaves("plant.hxc", {1});
    const std::string copy = directory_.File("copy.hxc");
    CQuorvinDoc& doc = Doc();
    ASSERT_TRUE(doc.FileOpenPath(path));
    ui_.Files = {copy, std::nullopt};
    ASSERT_TRUE(doc.FileSaveAs());
    const FileDialogRequest& request = ui_.FileRequests.at(0);
    EXPECT_EQ(request.Filter, "Halvex Configuration File (*.hxc) |*.hxc||");
    EXPECT_EQ(request.DefaultExtension, "hxc");
    EXPECT_EQ(request.InitialName, path);
    EXPECT_TRUE(request.ConfirmOverwrite);
    EXPECT_EQ(doc.PathName() + "|" + doc.Title(), copy + "|copy.hxc");
    EXPECT_EQ(doc.Watcher().WatchedPath(), copy);
    EXPECT_FALSE(doc.Watcher().IsWatched(path));

    EXPECT_FALSE(doc.FileSaveAs());
    EXPECT_EQ(doc.PathName(), copy);
}

TEST_F(CQuorvinDocTest, SaveChangesAnswersDecideWhetherNewRuns)
{
    CQuorvinDoc& doc = Doc({6});
    doc.OnSlaveAdd();
    const std::string path = directory_.File("kept.hxc");
    // Cancel; Yes on an untitled document with the name dialog cancelled; Yes and a name.
    ui_.SaveChangesAnswers = {Answer::Cancel, Answer::Yes, Answer::Yes};
    ui_.Files = {std::nullopt, path};
    EXPECT_FALSE(doc.FileNew());
    EXPECT_FALSE(doc.FileNew());
    EXPECT_EQ(doc.UsedSlaves(), Slaves({1, 6}));
    ASSERT_TRUE(doc.FileNew());
    EXPECT_EQ(ui_.Messages, std::vector{WarningMessage("Slave 1 has no points and is not kept in the file")});
    EXPECT_TRUE(doc.HasNoSlaves());
    EXPECT_EQ(ui_.Titles.back(), "Untitled");
    EXPECT_FALSE(doc.Watcher().IsWatched(path));

    // The file holds points, not slaves: the added slave without points is gone.
    ASSERT_TRUE(doc.FileOpenPath(path));
    EXPECT_EQ(doc.UsedSlaves(), Slaves({6}));
}

TEST_F(CQuorvinDocTest, RefreshAndConfirmedReloadReadTheFileAgain)
{
    const std::string path = FileWithSlaves("plant.hxc", {1});
    CQuorvinDoc& doc = Doc();
    ASSERT_TRUE(doc.FileOpenPath(path));
    doc.Change([](DocumentContent& content) {
        content.Config.SpaBaudRate = 300;
        return true;
    });
    ui_.SaveChangesAnswers = {Answer::Cancel, Answer::No};
    doc.OnRefresh();
    EXPECT_EQ(doc.Config().SpaBaudRate, 300);
    doc.OnRefresh();
    EXPECT_EQ(doc.Config().SpaBaudRate, 19200);
    EXPECT_FALSE(doc.IsModified());

    // After the user said Yes to "Reload?": no offer to save the edits.
    doc.OnSlaveAdd();
    doc.Watcher().Stop();  // the question itself is the watcher's
    FileWithSlaves("plant.hxc", {1, 9});
    doc.OnFileChangeConfirmed();
    EXPECT_EQ(ui_.SaveChangesTitles.size(), 2u);
    EXPECT_EQ(doc.UsedSlaves(), Slaves({1, 9}));
    EXPECT_FALSE(doc.IsModified());
    // Reading the shown file again is no new entry of the recent-file list.
    EXPECT_EQ(ui_.RecentFiles, std::vector{path});
}

// A reload finds the file gone: the work stays. Asked about a file that is
// gone, Yes saves the configuration to it again.
TEST_F(CQuorvinDocTest, AReloadNeverDiscardsTheWorkForAFileThatIsGone)
{
    const std::string path = FileWithSlaves("plant.hxc", {1});
    CQuorvinDoc& doc = Doc();
    ASSERT_TRUE(doc.FileOpenPath(path));
    doc.Watcher().Stop();
    doc.OnSlaveAdd();
    std::filesystem::remove(path);
    doc.OnFileChangeConfirmed();
    EXPECT_EQ(ui_.Messages, std::vector{ErrorMessage("Open error", "Error loading configuration file!\n" + path +
                                                                       ": " + MissingFileReason())});
    EXPECT_EQ(doc.UsedSlaves(), Slaves({1, 2}));
    EXPECT_EQ(doc.PathName(), path);
    EXPECT_TRUE(doc.IsModified());

    ui_.Answers = {true};
    doc.Watcher().OnFileChanged(kFileGone, path);
    EXPECT_EQ(ui_.Messages.back().Caption + "|" + ui_.Messages.back().Text, "File Missing|" + FileGoneQuestion(path));
    doc.OnFileChangeConfirmed();
    EXPECT_FALSE(doc.IsModified());
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_TRUE(doc.Watcher().IsWatched(path));

    // No: the configuration is now nowhere but in the document.
    std::filesystem::remove(path);
    ui_.Answers = {false};
    doc.Watcher().OnFileChanged(kFileGone, path);
    doc.OnFileChangeConfirmed();
    EXPECT_TRUE(doc.IsModified());
}

// A field refusing its value stops every path that would ask to save.
TEST_F(CQuorvinDocTest, SaveChangesQuestionsCommitTheFormFirst)
{
    const std::string path = FileWithSlaves("plant.hxc", {1});
    CQuorvinDoc& doc = Doc();
    ui_.CommitFormResult = false;
    EXPECT_FALSE(doc.FileNew());
    EXPECT_FALSE(doc.FileOpenPath(path));
    EXPECT_FALSE(doc.SaveModified());
    doc.OnRefresh();
    EXPECT_EQ(ui_.CommitFormCalls, 4);
    EXPECT_TRUE(ui_.SaveChangesTitles.empty());
    EXPECT_EQ(doc.PathName(), "");
}

// Another program saved the file since the document read it: a save asks
// before it replaces that file.
TEST_F(CQuorvinDocTest, SaveAsksBeforeReplacingAFileChangedOnDisk)
{
    const std::string path = FileWithSlaves("plant.hxc", {1});
    CQuorvinDoc& doc = Doc();
    ASSERT_TRUE(doc.FileOpenPath(path));
    doc.Watcher().Stop();
    doc.Change([](DocumentContent& content) {
        content.Config.SpaBaudRate = 300;
        return true;
    });
    FileWithSlaves("plant.hxc", {1, 7});
    const std::string theirs = ReadTextFile(path);
    ui_.Answers = {false, true};
    EXPECT_FALSE(doc.FileSave());
    ASSERT_EQ(ui_.Messages.size(), 1u);
    EXPECT_EQ(ui_.Messages[0].Caption, "Overwrite?");
    EXPECT_EQ(ReadTextFile(path), theirs);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.FileSave());
    EXPECT_NE(ReadTextFile(path), theirs);
    // What the document wrote itself is no other program's.
    doc.SetModifiedFlag();
    EXPECT_TRUE(doc.FileSave());
    EXPECT_EQ(ui_.Messages.size(), 2u);
}

// A relative name is kept as the absolute path of the file it names.
TEST_F(CQuorvinDocTest, KeptPathsAreAbsolute)
{
    const std::string path = FileWithSlaves("north.hxc", {4});
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(directory_.Path());
    CQuorvinDoc& doc = Doc();
    const bool opened = doc.FileOpenPath("./north.hxc");
    ui_.Files = {std::string("south.hxc")};
    const bool saved = doc.FileSaveAs();
    std::filesystem::current_path(previous);
    ASSERT_TRUE(opened && saved);
    EXPECT_EQ(ui_.RecentFiles, (std::vector{path, directory_.File("south.hxc")}));
    EXPECT_EQ(doc.PathName(), directory_.File("south.hxc"));
    EXPECT_EQ(doc.Watcher().WatchedPath(), directory_.File("south.hxc"));
}

}  // namespace
