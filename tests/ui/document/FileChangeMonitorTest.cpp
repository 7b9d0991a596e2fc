#include "FileAccess.h"
#include "MonitorTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace {

class FileChangeMonitorTest : public ::testing::Test {
protected:
    // A file whose last-write time lies in the past, so that any write moves it on.
    std::string OldFile(const TemporaryDirectory& directory, const std::string& name)
    {
        const std::string path = directory.File(name);
        WriteTextFile(path, "old");
        SetLastWriteTime(path, Now() - 100);
        return path;
    }

    bool WaitForThreadCount(const FileChangeMonitor& monitor, int count)
    {
        return WaitUntil([&] { return monitor.LiveThreadCount() == count; });
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
    ASSERT_TRUE(monitor_.WaitForReports(2));
    std::this_thread::sleep_for(kQuietPeriod);
    EXPECT_EQ(monitor_.Reports(), (std::vector<Report>{{kFileModified, path}, {kFileModified, path}}));
}

TEST_F(FileChangeMonitorTest, DeletedFileIsReportedWithCodeOneAndNoLongerWatched)
{
    const std::string path = OldFile(directory_, "plant.hxc");
    monitor_.Watch(path);
    monitor_.Start();

    std::filesystem::remove(path);
    ASSERT_TRUE(monitor_.WaitForReports(1));
    EXPECT_EQ(monitor_.Reports().front(), (Report{kFileGone, path}));
    // Unwatched once the report has returned.
    EXPECT_TRUE(WaitUntil([&] { return !monitor_.IsWatched(path); }));
    EXPECT_TRUE(monitor_.Directories().empty());

    WriteTextFile(path, "back again");
    std::this_thread::sleep_for(kQuietPeriod);
    EXPECT_EQ(monitor_.Reports().size(), 1u);
}

TEST_F(FileChangeMonitorTest, TwoFilesInOneDirectoryShareItsWatch)
{
    const std::string first = OldFile(directory_, "first.hxc");
    const std::string second = OldFile(directory_, "second.hxc");
    monitor_.Watch(first);
    monitor_.Watch(second);
    ASSERT_EQ(monitor_.Directories().size(), 1u);
    EXPECT_EQ(monitor_.Directories().front().UseCount, 2);
    monitor_.Start();

    AppendFromOtherProcess(second, "x");
    ASSERT_TRUE(monitor_.WaitForReports(1));

    monitor_.Unwatch(first);
    ASSERT_EQ(monitor_.Directories().size(), 1u);
    EXPECT_EQ(monitor_.Directories().front().UseCount, 1);
    AppendFromOtherProcess(first, "x");
    SetLastWriteTime(second, Now() + 100);
    ASSERT_TRUE(monitor_.WaitForReports(2));
    std::this_thread::sleep_for(kQuietPeriod);
    EXPECT_EQ(monitor_.Reports(), (std::vector<Report>{{kFileModified, second}, {kFileModified, second}}));

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
    // Wake the new thread: the file must not be reported for the write made while stopped.
    WriteTextFile(directory_.File("other.txt"), "x");
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

    // A new file, older than the stored time, renamed over the watched one.
    const std::string replacement = directory_.File(".plant.hxc.new");
    WriteTextFile(replacement, "replacement");
    SetLastWriteTime(replacement, Now() - 1000);
    ASSERT_EQ(std::rename(replacement.c_str(), path.c_str()), 0);
    ASSERT_TRUE(monitor_.WaitForReports(1));

    // Editor style: the old file moved aside, a new one written, the backup deleted.
    const std::string backup = path + "~";
    ASSERT_EQ(std::rename(path.c_str(), backup.c_str()), 0);
    std::this_thread::sleep_for(10ms);
    WriteTextFile(path, "edited");
    std::this_thread::sleep_for(10ms);
    std::filesystem::remove(backup);
    ASSERT_TRUE(monitor_.WaitForReports(2));
    std::this_thread::sleep_for(kQuietPeriod);

    EXPECT_EQ(monitor_.Reports(), (std::vector<Report>{{kFileModified, path}, {kFileModified, path}}));
    EXPECT_TRUE(monitor_.IsWatched(path));
}

TEST_F(FileChangeMonitorTest, FileWithoutValidTimeIsReportedWithCodeTwoWhenItAppears)
{
    const std::string path = directory_.File("later.hxc");
    monitor_.Watch(path);
    monitor_.Start();

    WriteTextFile(path, "created");
    ASSERT_TRUE(monitor_.WaitForReports(1));
    SetLastWriteTime(path, Now() + 100);
    ASSERT_TRUE(monitor_.WaitForReports(2));
    EXPECT_EQ(monitor_.Reports(), (std::vector<Report>{{kFileAppeared, path}, {kFileModified, path}}));
}

TEST_F(FileChangeMonitorTest, BareFileNameIsWatchedInTheCurrentDirectory)
{
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(directory_.Path());
    OldFile(directory_, "bare.hxc");
    monitor_.Watch("bare.hxc");
    monitor_.Start();
    std::filesystem::current_path(previous);

    ASSERT_EQ(monitor_.Directories().size(), 1u);
    EXPECT_EQ(monitor_.Directories().front().Path, std::filesystem::canonical(directory_.Path()).string());
    AppendFromOtherProcess(directory_.File("bare.hxc"), "x");
    ASSERT_TRUE(monitor_.WaitForReports(1));
    EXPECT_EQ(monitor_.Reports().front(), (Report{kFileModified, "bare.hxc"}));
}

TEST_F(FileChangeMonitorTest, RestartDoesNotWaitForAThreadInsideTheReportAndLeavesOneThread)
{
    TemporaryDirectory otherDirectory;
    const std::string path = OldFile(directory_, "plant.hxc");
    const std::string other = OldFile(otherDirectory, "other.hxc");
    monitor_.Watch(path);
    monitor_.Start();
    EXPECT_EQ(monitor_.LiveThreadCount(), 1);

    monitor_.Hold();
    AppendFromOtherProcess(path, "x");
    ASSERT_TRUE(monitor_.WaitUntilInside());

    // A file in a new directory restarts the thread while the old one is busy.
    const auto before = std::chrono::steady_clock::now();
    monitor_.Watch(other);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
    EXPECT_TRUE(monitor_.IsRunning());
    EXPECT_EQ(monitor_.LiveThreadCount(), 2);

    monitor_.Release();
    ASSERT_TRUE(WaitForThreadCount(monitor_, 1));

    // Each change is reported once, by the one remaining thread, in both directories.
    SetLastWriteTime(path, Now() + 100);
    SetLastWriteTime(other, Now() + 100);
    ASSERT_TRUE(monitor_.WaitForReports(3));
    std::this_thread::sleep_for(kQuietPeriod);
    const auto reports = monitor_.Reports();
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(std::count(reports.begin(), reports.end(), Report{kFileModified, path}), 2);
    EXPECT_EQ(std::count(reports.begin(), reports.end(), Report{kFileModified, other}), 1);
}

TEST_F(FileChangeMonitorTest, StopDoesNotWaitForAThreadInsideTheReport)
{
    const std::string path = OldFile(directory_, "plant.hxc");
    monitor_.Watch(path);
    monitor_.Start();
    monitor_.Hold();
    AppendFromOtherProcess(path, "x");
    ASSERT_TRUE(monitor_.WaitUntilInside());

    const auto before = std::chrono::steady_clock::now();
    monitor_.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
    EXPECT_FALSE(monitor_.IsRunning());
    monitor_.Release();
    EXPECT_TRUE(WaitForThreadCount(monitor_, 0));
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
    ASSERT_TRUE(WaitForThreadCount(monitor_, 1));
    std::this_thread::sleep_for(kQuietPeriod);

    const std::size_t before = monitor_.Reports().size();
    SetLastWriteTime(path, Now() + 1000);
    ASSERT_TRUE(monitor_.WaitForReports(before + 1));
    std::this_thread::sleep_for(kQuietPeriod);
    EXPECT_EQ(monitor_.Reports().size(), before + 1);
}

}  // namespace
