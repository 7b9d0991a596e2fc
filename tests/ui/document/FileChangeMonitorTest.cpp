#include "FileAccess.h"
#include "MonitorTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace {

class FileChangeMonitorTest : public ::testing::Test {
protected:
    void ExpectReportsAfterQuiet(const std::vector<Report>& expected)
    {
        ASSERT_TRUE(monitor_.WaitForReports(expected.size()));
        std::this_thread::sleep_for(kQuietPeriod);
        EXPECT_EQ(monitor_.Reports(), expected);
    }

    TemporaryDirectory directory_;
    RecordingMonitor monitor_;
};

TEST_F(FileChangeMonitorTest, ChangeByAnotherProcessIsReportedOnceUntilTheTimeMovesOn)
{
    const std::string path = OldFile(directory_, "plant.hxc");
    monitor_.Watch(path);
    monitor_.Start();
    AppendFromOtherProcess(path, "new line");
    ASSERT_TRUE(monitor_.WaitForReports(1));

    // Wake-ups that leave the last-write time where it was, or set it back.
    WriteTextFile(directory_.File("other.txt"), "x");
    SetLastWriteTime(path, Now() - 50);
    std::this_thread::sleep_for(kQuietPeriod);
    EXPECT_EQ(monitor_.Reports().size(), 1u);

    SetLastWriteTime(path, Now() + 100);
    ExpectReportsAfterQuiet({{kFileModified, path}, {kFileModified, path}});
}

TEST_F(FileChangeMonitorTest, DeletedFileIsReportedWithCodeOneAndNoLongerWatched)
{
    const std::string path = OldFile(directory_, "plant.hxc");
    monitor_.Watch(path);
    monitor_.Start();
    std::filesystem::remove(path);
    ASSERT_TRUE(monitor_.WaitForReports(1));
    EXPECT_TRUE(WaitUntil([&] { return !monitor_.IsWatched(path); }));
    EXPECT_TRUE(monitor_.Directories().empty());

    WriteTextFile(path, "back again");
    ExpectReportsAfterQuiet({{kFileGone, path}});
}

TEST_F(FileChangeMonitorTest, TwoFilesInOneDirectoryShareItsWatch)
{
    const std::string first = OldFile(directory_, "first.hxc");
    const std::string second = OldFile(directory_, "second.hxc");
    monitor_.Watch(first);
    monitor_.Watch(second);
    ASSERT_EQ(monitor_.Directories().size(), 1u);
    EXPECT_EQ(monitor_.Directories()[0].UseCount, 2);
    monitor_.Start();
    AppendFromOtherProcess(second, "x");
    ASSERT_TRUE(monitor_.WaitForReports(1));

    monitor_.Unwatch(first);
    EXPECT_EQ(monitor_.Directories().at(0).UseCount, 1);
    AppendFromOtherProcess(first, "x");
    SetLastWriteTime(second, Now() + 100);
    ExpectReportsAfterQuiet({{kFileModified, second}, {kFileModified, second}});
    monitor_.Unwatch(second);
    EXPECT_TRUE(monitor_.Directories().empty());
}

TEST_F(FileChangeMonitorTest, WriteWhileStoppedIsNotReportedAfterTheRestart)
{
    const std::string path = OldFile(directory_, "plant.hxc");
    monitor_.Watch(path);
    monitor_.Start();
    monitor_.Stop();
    ASSERT_TRUE(ReplaceFileContents(path, "saved by the program"));
    monitor_.Start();
    WriteTextFile(directory_.File("other.txt"), "x");  // wakes the new thread
    std::this_thread::sleep_for(kQuietPeriod);
    EXPECT_TRUE(monitor_.Reports().empty());

    AppendFromOtherProcess(path, "x");
    EXPECT_TRUE(monitor_.WaitForReports(1));
}

TEST_F(FileChangeMonitorTest, FileReplacedByRenameIsAChangeNotALoss)
{
    const std::string path = OldFile(directory_, "plant.hxc");
    monitor_.Watch(path);
    monitor_.Start();

    // A new file, even one older than the stored time, renamed over the watched one.
    const std::string replacement = directory_.File(".plant.hxc.new");
    WriteTextFile(replacement, "replacement");
    SetLastWriteTime(replacement, Now() - 1000);
    std::filesystem::rename(replacement, path);
    ASSERT_TRUE(monitor_.WaitForReports(1));

    // Editor style: the old file moved aside, a new one written, the backup deleted.
    const std::string backup = path + "~";
    std::filesystem::rename(path, backup);
    std::this_thread::sleep_for(10ms);
    WriteTextFile(path, "edited");
    std::this_thread::sleep_for(10ms);
    std::filesystem::remove(backup);
    ExpectReportsAfterQuiet({{kFileModified, path}, {kFileModified, path}});
    EXPECT_TRUE(monitor_.IsWatched(path));
}

TEST_F(FileChangeMonitorTest, FileAppearingLaterGivesCodeTwoAndABareNameLivesInTheCurrentDirectory)
{
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(directory_.Path());
    monitor_.Watch("later.hxc");
    std::filesystem::current_path(previous);
    EXPECT_EQ(monitor_.Directories().at(0).Path, std::filesystem::canonical(directory_.Path()).string());
    monitor_.Start();

    WriteTextFile(directory_.File("later.hxc"), "created");
    ASSERT_TRUE(monitor_.WaitForReports(1));
    SetLastWriteTime(directory_.File("later.hxc"), Now() + 100);
    ExpectReportsAfterQuiet({{kFileAppeared, "later.hxc"}, {kFileModified, "later.hxc"}});
}

TEST_F(FileChangeMonitorTest, RestartDoesNotWaitForAThreadInsideTheReportAndLeavesOneThread)
{
    TemporaryDirectory otherDirectory;
    const std::string path = OldFile(directory_, "plant.hxc");
    const std::string other = OldFile(otherDirectory, "other.hxc");
    monitor_.Watch(path);
    monitor_.Start();
    monitor_.Hold();
    AppendFromOtherProcess(path, "x");
    ASSERT_TRUE(monitor_.WaitUntilInside());

    // A file in a new directory restarts the thread while the old one is inside the report.
    const auto before = std::chrono::steady_clock::now();
    monitor_.Watch(other);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
    EXPECT_TRUE(monitor_.IsRunning());
    EXPECT_EQ(monitor_.LiveThreadCount(), 2);
    monitor_.Release();
    ASSERT_TRUE(WaitUntil([&] { return monitor_.LiveThreadCount() == 1; }));

    // Each change is reported once, by the one remaining thread, in both directories.
    SetLastWriteTime(path, Now() + 100);
    ASSERT_TRUE(monitor_.WaitForReports(2));
    SetLastWriteTime(other, Now() + 100);
    ExpectReportsAfterQuiet({{kFileModified, path}, {kFileModified, path}, {kFileModified, other}});
}

TEST_F(FileChangeMonitorTest, RapidRestartsDuringChangesLeaveOneThreadThatReportsOnce)
{
    const std::string path = OldFile(directory_, "plant.hxc");
    monitor_.Watch(path);
    monitor_.Start();
    std::thread writer([&path] {
        for (int i = 0; i < 40; ++i) {
            SetLastWriteTime(path, Now() + 10 + i);
            std::this_thread::sleep_for(2ms);
        }
    });
    for (int i = 0; i < 100; ++i) {
        monitor_.Stop();
        monitor_.Start();
    }
    writer.join();
    ASSERT_TRUE(WaitUntil([&] { return monitor_.LiveThreadCount() == 1; }));
    std::this_thread::sleep_for(kQuietPeriod);

    std::vector<Report> expected = monitor_.Reports();
    expected.push_back({kFileModified, path});
    SetLastWriteTime(path, Now() + 1000);
    ExpectReportsAfterQuiet(expected);
}

}  // namespace
