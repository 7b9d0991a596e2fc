#include "CQuorvinDoc.h"
#include "ConfigFile.h"
#include "DocumentWatcher.h"
#include "MonitorTestSupport.h"
#include "ScriptedWindowSystem.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <iterator>
#include <initializer_list>
#include <memory>
#include <sys/resource.h>
#include <thread>

namespace {

using Answer = WindowSystem::SaveChangesAnswer;

const std::string kRemoveSlaveQuestion = "Do you really want to remove the slave and all of its parameters?";

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
        AnalogInputPoint analogInput;
        analogInput.SlaveAddress = slave;
        analogInput.Address = "0I" + std::to_string(slave);
        config.AnalogInputs.Append(analogInput);
        DigitalInputPoint digitalInput;
        digitalInput.SlaveAddress = slave;
        digitalInput.DataType = "S";
        digitalInput.Address = "1/1I1/1";
        config.DigitalInputs.Append(digitalInput);
        AnalogOutputPoint analogOutput;
        analogOutput.SlaveAddress = slave;
        analogOutput.Address = "0S1";
        config.AnalogOutputs.Append(analogOutput);
        DigitalOutputPoint digitalOutput;
        digitalOutput.SlaveAddress = slave;
        digitalOutput.DataType = "B";
        digitalOutput.Address = "0O1";
        config.DigitalOutputs.Append(digitalOutput);
        IndirectSpaMessage message;
        message.SlaveAddress = slave;
        config.IndirectMessages.Append(message);
    }
}

template <typename List>
std::vector<int> SlaveAddressesOf(const List& list)
{
    std::vector<int> addresses;
    for (const auto& point : list) {
        addresses.push_back(point.SlaveAddress);
    }
    return addresses;
}

// Every file written from here on is cut off after `bytes` bytes.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

class CQuorvinDocTest : public ::testing::Test {
protected:
    CQuorvinDoc& MakeDoc(const std::string& commandLine = "halvex")
    {
        doc_ = std::make_unique<CQuorvinDoc>(ui_, commandLine);
        return *doc_;
    }

    // A document holding points of the given slaves, not yet modified.
    CQuorvinDoc& DocWithSlaves(std::initializer_list<int> slaves, const std::string& commandLine = "halvex")
    {
        CQuorvinDoc& doc = MakeDoc(commandLine);
        AddPoints(doc.Config(), slaves);
        doc.RebuildSlaveList();
        return doc;
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

    ScriptedWindowSystem ui_;
    TemporaryDirectory directory_;
    std::unique_ptr<CQuorvinDoc> doc_;
};

// --- Construction

TEST_F(CQuorvinDocTest, ConstructionReadsComPortKeywordAndRegionalSeparators)
{
    ui_.ProfileInts[{"Settings", "COMPort"}] = 3;
    ui_.ListSeparatorAnswer = ";";
    ui_.DecimalSeparatorAnswer = ",";
    CQuorvinDoc& doc = MakeDoc("halvex /plants/northvorlanqix2.hxc");
    EXPECT_EQ(doc.ComPort, 3);
    EXPECT_TRUE(doc.ExtendedMode);
    EXPECT_EQ(doc.ListSeparator, ";");
    EXPECT_EQ(doc.DecimalSeparator, ",");
    EXPECT_TRUE(doc.Watcher().IsRunning());
    EXPECT_TRUE(ui_.Messages.empty());
    EXPECT_EQ(doc.SelectedSlave, -1);
    EXPECT_TRUE(doc.HasNoSlaves());

    MakeDoc("halvex VORLANQIX");
    EXPECT_FALSE(doc_->ExtendedMode);
    EXPECT_EQ(MakeDoc().ComPort, 3);
}

TEST_F(CQuorvinDocTest, UnreadableRegionalSettingWarnsAndBothSeparatorsFallBack)
{
    ui_.ListSeparatorAnswer = ";";
    ui_.DecimalSeparatorAnswer = std::nullopt;
    CQuorvinDoc& doc = MakeDoc();
    EXPECT_EQ(ui_.Messages,
              std::vector{NoticeMessage("Warning: Unable to detect regional settings - reverting to default.")});
    EXPECT_EQ(doc.ListSeparator, ",");
    EXPECT_EQ(doc.DecimalSeparator, ".");
    EXPECT_EQ(doc.ComPort, 1);
}

// --- Slave commands

TEST_F(CQuorvinDocTest, AddTakesTheLowestFreeAddressFromOne)
{
    CQuorvinDoc& empty = MakeDoc();
    empty.OnSlaveAdd();
    EXPECT_EQ(empty.SelectedSlave, 1);
    EXPECT_EQ(empty.AddedSlaves, Slaves({1}));
    EXPECT_TRUE(empty.IsModified());
    EXPECT_EQ(ui_.UpdateAllViewsCalls, 1);

    CQuorvinDoc& gap = DocWithSlaves({5, 2, 1});
    gap.OnSlaveAdd();
    EXPECT_EQ(gap.SelectedSlave, 3);
    EXPECT_EQ(gap.UsedSlaves, Slaves({1, 2, 3, 5}));

    CQuorvinDoc& noOne = DocWithSlaves({3, 2});
    noOne.OnSlaveAdd();
    EXPECT_EQ(noOne.SelectedSlave, 1);
    noOne.OnSlaveAdd();
    EXPECT_EQ(noOne.SelectedSlave, 4);
    EXPECT_EQ(noOne.AddedSlaves, Slaves({1, 4}));
    EXPECT_EQ(noOne.UsedSlaves, Slaves({1, 2, 3, 4}));
}

TEST_F(CQuorvinDocTest, AddRefusesASeventeenthSlave)
{
    CQuorvinDoc& doc = DocWithSlaves({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    doc.SelectedSlave = 4;
    doc.OnSlaveAdd();
    EXPECT_EQ(ui_.Messages, std::vector{NoticeMessage("There are already 16 slaves configured")});
    EXPECT_EQ(doc.SelectedSlave, 4);
    EXPECT_EQ(doc.AddedSlaves, kNoSlaves);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(CQuorvinDocTest, RemoveAsksFirstAndDeletesEveryPointOfTheSlaveKeepingTheOrder)
{
    CQuorvinDoc& doc = DocWithSlaves({1, 7, 2, 7});
    doc.AddedSlaves = Slaves({9, 7, 4});
    doc.RebuildSlaveList();
    doc.SelectedSlave = 7;

    ui_.Answers = {false};
    doc.OnSlaveRemove();
    EXPECT_EQ(ui_.Messages.back(), (ScriptedWindowSystem::Message{"Remove?", kRemoveSlaveQuestion,
                                                                   MessageIcon::Question, true}));
    EXPECT_EQ(doc.Config().IndirectMessages.Count(), 4);
    EXPECT_FALSE(doc.IsModified());

    ui_.Answers = {true};
    doc.OnSlaveRemove();
    const std::vector<int> remaining{1, 2};
    EXPECT_EQ(SlaveAddressesOf(doc.Config().AnalogInputs), remaining);
    EXPECT_EQ(SlaveAddressesOf(doc.Config().DigitalInputs), remaining);
    EXPECT_EQ(SlaveAddressesOf(doc.Config().AnalogOutputs), remaining);
    EXPECT_EQ(SlaveAddressesOf(doc.Config().DigitalOutputs), remaining);
    EXPECT_EQ(SlaveAddressesOf(doc.Config().IndirectMessages), remaining);
    EXPECT_EQ(doc.AddedSlaves, Slaves({9, 4}));
    EXPECT_EQ(doc.UsedSlaves, Slaves({1, 2, 4, 9}));
    EXPECT_EQ(doc.SelectedSlave, 7);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(CQuorvinDocTest, RemoveWithTheKeywordDoesNotAsk)
{
    CQuorvinDoc& doc = DocWithSlaves({1, 2}, "halvex vorlanqix");
    doc.SelectedSlave = 2;
    doc.OnSlaveRemove();
    EXPECT_TRUE(ui_.Messages.empty());
    EXPECT_EQ(doc.UsedSlaves, Slaves({1}));
}

TEST_F(CQuorvinDocTest, SlaveCommandsWithoutSlavesShowTheNoSlavesNotice)
{
    CQuorvinDoc& doc = MakeDoc("halvex vorlanqix");
    doc.OnSlaveRemove();
    doc.OnSlaveSetAddress();
    doc.OnPrioritize(true);
    doc.OnPrioritize(false);
    EXPECT_EQ(ui_.Messages, std::vector<ScriptedWindowSystem::Message>(4, NoticeMessage(kNoSlavesNotice)));
    EXPECT_TRUE(ui_.SlaveAddressPresets.empty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(ui_.UpdateAllViewsCalls, 0);
}

TEST_F(CQuorvinDocTest, SetAddressToAnotherSlavesAddressIsRefused)
{
    CQuorvinDoc& doc = DocWithSlaves({1, 5});
    doc.SelectedSlave = 5;
    ui_.SlaveAddressAnswers = {1};
    doc.OnSlaveSetAddress();
    EXPECT_EQ(ui_.SlaveAddressPresets, std::vector{5});
    EXPECT_EQ(ui_.Messages, std::vector{NoticeMessage("Slave address already in use!")});
    EXPECT_EQ(doc.SelectedSlave, 5);
    EXPECT_EQ(SlaveAddressesOf(doc.Config().AnalogInputs), (std::vector{1, 5}));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(ui_.UpdateAllViewsCalls, 0);
}

TEST_F(CQuorvinDocTest, SetAddressMovesEveryPointAndTheAddedEntry)
{
    CQuorvinDoc& doc = DocWithSlaves({1, 5, 1});
    doc.AddedSlaves = Slaves({5, 8});
    doc.RebuildSlaveList();
    doc.SelectedSlave = 5;
    ui_.SlaveAddressAnswers = {12};
    doc.OnSlaveSetAddress();
    const std::vector<int> moved{1, 12, 1};
    EXPECT_EQ(SlaveAddressesOf(doc.Config().AnalogInputs), moved);
    EXPECT_EQ(SlaveAddressesOf(doc.Config().DigitalInputs), moved);
    EXPECT_EQ(SlaveAddressesOf(doc.Config().AnalogOutputs), moved);
    EXPECT_EQ(SlaveAddressesOf(doc.Config().DigitalOutputs), moved);
    EXPECT_EQ(SlaveAddressesOf(doc.Config().IndirectMessages), moved);
    EXPECT_EQ(doc.AddedSlaves, Slaves({12, 8}));
    EXPECT_EQ(doc.UsedSlaves, Slaves({1, 8, 12}));
    EXPECT_EQ(doc.SelectedSlave, 12);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ui_.UpdateAllViewsCalls, 1);
}

TEST_F(CQuorvinDocTest, SetAddressToItsOwnAddressOrCancelledStillMarksModified)
{
    CQuorvinDoc& doc = DocWithSlaves({3});
    doc.SelectedSlave = 3;
    ui_.SlaveAddressAnswers = {3};
    doc.OnSlaveSetAddress();
    EXPECT_TRUE(doc.IsModified());
    doc.SetModifiedFlag(false);
    ui_.SlaveAddressAnswers = {std::nullopt};
    doc.OnSlaveSetAddress();
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.SelectedSlave, 3);
    EXPECT_TRUE(ui_.Messages.empty());
}

TEST_F(CQuorvinDocTest, SetAddressWithNoSlaveSelectedLeavesTheFreeEntriesFree)
{
    CQuorvinDoc& doc = MakeDoc();
    doc.OnSlaveAdd();
    doc.SelectedSlave = -1;
    ui_.SlaveAddressAnswers = {20};
    doc.OnSlaveSetAddress();
    EXPECT_EQ(doc.AddedSlaves, Slaves({1}));
    EXPECT_EQ(doc.UsedSlaves, Slaves({1}));
}

TEST_F(CQuorvinDocTest, PrioritizeSetsAndClearsTheFlagOfTheSelectedSlavesPointsOnly)
{
    CQuorvinDoc& doc = DocWithSlaves({1, 2});
    doc.SelectedSlave = 2;
    doc.OnPrioritize(true);
    const ConfigTemplate& config = doc.Config();
    EXPECT_FALSE(config.AnalogInputs[0].Priority);
    EXPECT_TRUE(config.AnalogInputs[1].Priority);
    EXPECT_TRUE(config.DigitalInputs[1].Priority);
    EXPECT_TRUE(config.AnalogOutputs[1].Priority);
    EXPECT_TRUE(config.DigitalOutputs[1].Priority);
    EXPECT_FALSE(config.DigitalOutputs[0].Priority);
    EXPECT_TRUE(doc.IsModified());

    doc.OnPrioritize(false);
    EXPECT_FALSE(config.AnalogInputs[1].Priority);
    EXPECT_FALSE(config.DigitalOutputs[1].Priority);
    EXPECT_EQ(ui_.UpdateAllViewsCalls, 2);
}

TEST_F(CQuorvinDocTest, SelectComPortIsStoredAtOnceAndChecked)
{
    CQuorvinDoc& doc = MakeDoc();
    doc.OnSelectComPort(4);
    EXPECT_EQ(doc.ComPort, 4);
    EXPECT_EQ((ui_.ProfileInts[{"Settings", "COMPort"}]), 4);
    EXPECT_EQ(ui_.ComPortChecks, std::vector{4});
}

// --- Guards of the device commands

TEST_F(CQuorvinDocTest, DownloadGuardCommitsTheFormAndOnlyThePlainItemNeedsSlaves)
{
    CQuorvinDoc& doc = MakeDoc();
    ui_.CommitFormResult = false;
    EXPECT_FALSE(doc.DownloadGuard(true));
    EXPECT_TRUE(ui_.Messages.empty());

    ui_.CommitFormResult = true;
    EXPECT_FALSE(doc.DownloadGuard(true));
    EXPECT_EQ(ui_.Messages, std::vector{NoticeMessage(kNoSlavesNotice)});
    EXPECT_TRUE(doc.DownloadGuard(false));
    EXPECT_EQ(ui_.CommitFormCalls, 3);

    doc.OnSlaveAdd();
    EXPECT_TRUE(doc.DownloadGuard(true));
}

TEST_F(CQuorvinDocTest, UploadGuardCommitsThenOffersToSaveChanges)
{
    CQuorvinDoc& doc = MakeDoc();
    ui_.CommitFormResult = false;
    doc.SetModifiedFlag();
    EXPECT_FALSE(doc.UploadGuard());
    EXPECT_TRUE(ui_.SaveChangesTitles.empty());

    ui_.CommitFormResult = true;
    ui_.SaveChangesAnswers = {Answer::Cancel, Answer::No};
    EXPECT_FALSE(doc.UploadGuard());
    EXPECT_TRUE(doc.UploadGuard());
    EXPECT_EQ(ui_.SaveChangesTitles, (std::vector<std::string>{"Untitled", "Untitled"}));

    doc.SetModifiedFlag(false);
    EXPECT_TRUE(doc.UploadGuard());
    EXPECT_EQ(ui_.SaveChangesTitles.size(), 2u);
}

// --- New, open, save

TEST_F(CQuorvinDocTest, OpenReadsTheFileWatchesItAndForgetsAddedSlaves)
{
    const std::string path = FileWithSlaves("north.hxc", {4, 2});
    CQuorvinDoc& doc = MakeDoc();
    doc.OnSlaveAdd();
    ASSERT_TRUE(doc.FileOpenPath(path));
    EXPECT_EQ(doc.Config().SpaBaudRate, 19200);
    EXPECT_EQ(doc.AddedSlaves, kNoSlaves);
    EXPECT_EQ(doc.UsedSlaves, Slaves({2, 4}));
    EXPECT_EQ(doc.SelectedSlave, 1);
    EXPECT_EQ(doc.PathName(), path);
    EXPECT_EQ(doc.Title(), "north.hxc");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.Watcher().WatchedPath(), path);
    EXPECT_TRUE(doc.Watcher().IsWatched(path));
    EXPECT_EQ(ui_.RecentFiles, std::vector{path});
}

TEST_F(CQuorvinDocTest, FailedOpenShowsItsErrorAndLeavesANewUntitledConfiguration)
{
    const std::string good = FileWithSlaves("good.hxc", {1});
    const std::string wrongVersion = directory_.File("future.hxc");
    std::string text = ReadTextFile(good);
    text.replace(text.find("VERSION = 2.00"), 14, "VERSION = 3.00");
    WriteTextFile(wrongVersion, text);

    struct Case {
        std::string Path;
        std::string Text;
    };
    const Case cases[] = {{directory_.File("missing.hxc"), "Error loading configuration file!"},
                          {wrongVersion, "Wrong configuration file version!"}};
    CQuorvinDoc& doc = MakeDoc();
    for (const Case& failure : cases) {
        ASSERT_TRUE(doc.FileOpenPath(good));
        doc.OnSlaveAdd();
        ui_.SaveChangesAnswers = {Answer::No};
        ui_.Messages.clear();

        EXPECT_FALSE(doc.FileOpenPath(failure.Path));
        EXPECT_EQ(ui_.Messages, std::vector{ErrorMessage("Open error", failure.Text)});
        EXPECT_EQ(doc.Config().SpaBaudRate, 9600);
        EXPECT_EQ(doc.Config().AnalogInputs.Count(), 0);
        EXPECT_TRUE(doc.HasNoSlaves());
        EXPECT_EQ(doc.PathName(), "");
        EXPECT_EQ(doc.Title(), "Untitled");
        EXPECT_FALSE(doc.IsModified());
        EXPECT_FALSE(doc.Watcher().IsWatched(good));
    }
}

TEST_F(CQuorvinDocTest, FailedSaveKeepsTheFileOnDiskAndTheDocumentModified)
{
    const std::string path = FileWithSlaves("plant.hxc", {1, 2, 3});
    const std::string before = ReadTextFile(path);
    CQuorvinDoc& doc = MakeDoc();
    ASSERT_TRUE(doc.FileOpenPath(path));
    doc.OnSlaveAdd();

    bool saved = true;
    {
        const FileSizeLimit limit(64);
        saved = doc.FileSave();
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(ui_.Messages, std::vector{ErrorMessage("Save error", "Unable to save document!")});
    EXPECT_EQ(ReadTextFile(path), before);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.Watcher().IsRunning());
    // Nothing left behind beside it.
    const auto entries = std::distance(std::filesystem::directory_iterator(directory_.Path()),
                                       std::filesystem::directory_iterator());
    EXPECT_EQ(entries, 1);
}

TEST_F(CQuorvinDocTest, RefusedCommitStopsTheSaveAndRestartsTheWatcher)
{
    const std::string path = FileWithSlaves("plant.hxc", {1});
    const std::string before = ReadTextFile(path);
    CQuorvinDoc& doc = MakeDoc();
    ASSERT_TRUE(doc.FileOpenPath(path));
    doc.Config().SpaBaudRate = 300;
    doc.SetModifiedFlag();
    ui_.CommitFormResult = false;
    EXPECT_FALSE(doc.FileSave());
    EXPECT_EQ(ReadTextFile(path), before);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.Watcher().IsRunning());
    EXPECT_TRUE(ui_.Messages.empty());
}

TEST_F(CQuorvinDocTest, OwnSaveIsNotReportedAsAnExternalChange)
{
    const std::string path = FileWithSlaves("plant.hxc", {1});
    SetLastWriteTime(path, Now() - 100);
    CQuorvinDoc& doc = MakeDoc();
    ASSERT_TRUE(doc.FileOpenPath(path));
    doc.Config().SpaBaudRate = 38400;
    doc.SetModifiedFlag();
    ASSERT_TRUE(doc.FileSave());
    EXPECT_FALSE(doc.IsModified());
    std::this_thread::sleep_for(kQuietPeriod);
    EXPECT_TRUE(ui_.Messages.empty());
    EXPECT_TRUE(doc.Watcher().IsRunning());
    EXPECT_TRUE(doc.Watcher().IsWatched(path));

    ConfigTemplate reread;
    ASSERT_TRUE(ReadConfigFile(reread, path, ui_));
    EXPECT_EQ(reread.SpaBaudRate, 38400);
}

TEST_F(CQuorvinDocTest, SaveAsAsksForANameAndTheWatcherFollowsTheNewFile)
{
    const std::string path = FileWithSlaves("plant.hxc", {1});
    const std::string copy = directory_.File("copy.hxc");
    CQuorvinDoc& doc = MakeDoc();
    ASSERT_TRUE(doc.FileOpenPath(path));
    ui_.Files = {copy};
    ASSERT_TRUE(doc.FileSaveAs());
    ASSERT_EQ(ui_.FileRequests.size(), 1u);
    EXPECT_EQ(ui_.FileRequests[0].Filter, "Halvex Configuration File (*.hxc) |*.hxc||");
    EXPECT_EQ(ui_.FileRequests[0].DefaultExtension, "hxc");
    EXPECT_EQ(ui_.FileRequests[0].InitialName, path);
    EXPECT_TRUE(ui_.FileRequests[0].ConfirmOverwrite);
    EXPECT_EQ(doc.PathName(), copy);
    EXPECT_EQ(doc.Title(), "copy.hxc");
    EXPECT_EQ(doc.Watcher().WatchedPath(), copy);
    EXPECT_FALSE(doc.Watcher().IsWatched(path));

    ui_.Files = {std::nullopt};
    EXPECT_FALSE(doc.FileSaveAs());
    EXPECT_EQ(doc.PathName(), copy);
}

TEST_F(CQuorvinDocTest, SaveChangesAnswersDecideWhetherNewRuns)
{
    CQuorvinDoc& doc = DocWithSlaves({6});
    doc.SetModifiedFlag();

    ui_.SaveChangesAnswers = {Answer::Cancel};
    EXPECT_FALSE(doc.FileNew());
    EXPECT_EQ(doc.UsedSlaves, Slaves({6}));

    // Yes on an untitled document asks for a name; cancelling that stops New too.
    ui_.SaveChangesAnswers = {Answer::Yes};
    ui_.Files = {std::nullopt};
    EXPECT_FALSE(doc.FileNew());
    EXPECT_EQ(doc.UsedSlaves, Slaves({6}));

    const std::string path = directory_.File("kept.hxc");
    ui_.SaveChangesAnswers = {Answer::Yes};
    ui_.Files = {path};
    ASSERT_TRUE(doc.FileNew());
    EXPECT_TRUE(doc.HasNoSlaves());
    EXPECT_EQ(doc.Title(), "Untitled");
    EXPECT_EQ(ui_.Titles.back(), "Untitled");
    EXPECT_FALSE(doc.Watcher().IsWatched(path));

    ConfigTemplate saved;
    ASSERT_TRUE(ReadConfigFile(saved, path, ui_));
    EXPECT_EQ(saved.AnalogInputs.Count(), 1);
}

TEST_F(CQuorvinDocTest, AddedSlaveWithoutPointsIsNotKeptByTheFile)
{
    const std::string path = directory_.File("added.hxc");
    CQuorvinDoc& doc = MakeDoc();
    doc.OnSlaveAdd();
    ui_.Files = {path};
    ASSERT_TRUE(doc.FileSave());
    ASSERT_TRUE(doc.FileOpenPath(path));
    EXPECT_TRUE(doc.HasNoSlaves());
}

TEST_F(CQuorvinDocTest, RefreshOffersToSaveThenReadsTheFileAgain)
{
    const std::string path = FileWithSlaves("plant.hxc", {1});
    CQuorvinDoc& doc = MakeDoc();
    ASSERT_TRUE(doc.FileOpenPath(path));
    doc.Config().SpaBaudRate = 300;
    doc.SetModifiedFlag();

    ui_.SaveChangesAnswers = {Answer::Cancel};
    doc.OnRefresh();
    EXPECT_EQ(doc.Config().SpaBaudRate, 300);

    const int updates = ui_.UpdateAllViewsCalls;
    ui_.SaveChangesAnswers = {Answer::No};
    doc.OnRefresh();
    EXPECT_EQ(doc.Config().SpaBaudRate, 19200);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_GT(ui_.UpdateAllViewsCalls, updates);
    EXPECT_EQ(ReadTextFile(path).find("SPA_BAUDRATE = 300"), std::string::npos);
}

TEST_F(CQuorvinDocTest, ConfirmedExternalChangeReloadsWithoutOfferingToSave)
{
    const std::string path = FileWithSlaves("plant.hxc", {1});
    CQuorvinDoc& doc = MakeDoc();
    ASSERT_TRUE(doc.FileOpenPath(path));
    doc.OnSlaveAdd();
    // The question itself is the watcher's; here the user has answered Yes.
    doc.Watcher().Stop();
    FileWithSlaves("plant.hxc", {1, 9});

    doc.OnFileChangeConfirmed();
    EXPECT_TRUE(ui_.SaveChangesTitles.empty());
    EXPECT_EQ(doc.UsedSlaves, Slaves({1, 9}));
    EXPECT_EQ(doc.AddedSlaves, kNoSlaves);
    EXPECT_FALSE(doc.IsModified());
}

}  // namespace
