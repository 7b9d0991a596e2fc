#include "DocumentWatcher.h"
#include "MonitorTestSupport.h"
#include "ScriptedDocumentHost.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// The watcher asks on its own thread: questions are recorded under a lock and
// wait until the test has queued an answer.
class AnsweringWindowSystem : public ScriptedDocumentHost {
public:
    bool AskYesNo(const std::string& caption, const std::string& text, MessageIcon icon) override
    {
        std::unique_lock guard(lock_);
        Messages.push_back({caption, text, icon, true});
        answered_.wait(guard, [this] { return !Answers.empty(); });
        const bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    void PostFileChange() override
    {
        std::lock_guard guard(lock_);
        ++PostFileChangeCalls;
    }

    void Answer(bool yes)
    {
        std::lock_guard guard(lock_);
        Answers.push_back(yes);
        answered_.notify_all();
    }
    std::size_t QuestionCount() const
    {
        std::lock_guard guard(lock_);
        return Messages.size();
    }
    int Posted() const
    {
        std::lock_guard guard(lock_);
        return PostFileChangeCalls;
    }

private:
    mutable std::mutex lock_;
    std::condition_variable answered_;
};

class DocumentWatcherTest : public ::testing::Test {
protected:
    TemporaryDirectory directory_;
    AnsweringWindowSystem ui_;
    DocumentWatcher watcher_{ui_};
};

TEST_F(DocumentWatcherTest, ChangedDocumentAsksToReloadAndPostsOnYes)
{
    const std::string path = OldFile(directory_, "plant.hxc");
    watcher_.WatchDocument(path);
    watcher_.Start();
    ui_.Answer(true);
    AppendFromOtherProcess(path, "x");
    ASSERT_TRUE(WaitUntil([&] { return ui_.Posted() == 1; }));
    EXPECT_EQ(watcher_.TakeConfirmedAction(), ConfirmedFileAction::Reload);
    EXPECT_EQ(ui_.Messages.at(0),
              (ScriptedDocumentHost::Message{
                  "Reload?", "File " + path + " has been changed by another application.\nDo you want to reload it?",
                  MessageIcon::Warning, true}));
}

TEST_F(DocumentWatcherTest, ChangedAgainWhileAskedIsAskedOnceAndNoPostsNothing)
{
    const std::string path = OldFile(directory_, "plant.hxc");
    watcher_.WatchDocument(path);
    watcher_.Start();
    AppendFromOtherProcess(path, "first");
    ASSERT_TRUE(WaitUntil([&] { return ui_.QuestionCount() == 1; }));
    SetLastWriteTime(path, Now() + 100);
    std::this_thread::sleep_for(kQuietPeriod);
    ui_.Answer(false);
    std::this_thread::sleep_for(kQuietPeriod);
    EXPECT_EQ(ui_.QuestionCount(), 1u);
    EXPECT_EQ(ui_.Posted(), 0);

    ui_.Answer(false);
    SetLastWriteTime(path, Now() + 200);
    EXPECT_TRUE(WaitUntil([&] { return ui_.QuestionCount() == 2; }));
}

TEST_F(DocumentWatcherTest, OnlyTheDocumentsOwnFileIsAskedAboutAlsoWhenDeleted)
{
    const std::string path = OldFile(directory_, "plant.hxc");
    const std::string other = OldFile(directory_, "other.hxc");
    watcher_.WatchDocument(path);
    watcher_.Watch(other);
    watcher_.Start();
    AppendFromOtherProcess(other, "x");
    std::this_thread::sleep_for(kQuietPeriod);
    EXPECT_EQ(ui_.QuestionCount(), 0u);

    ui_.Answer(true);
    std::filesystem::remove(path);
    ASSERT_TRUE(WaitUntil([&] { return ui_.Posted() == 1; }));
    EXPECT_EQ(ui_.Messages.at(0).Text, FileGoneQuestion(path));
    EXPECT_EQ(watcher_.TakeConfirmedAction(), ConfirmedFileAction::SaveAgain);
    EXPECT_EQ(watcher_.TakeConfirmedAction(), ConfirmedFileAction::None);
}

TEST_F(DocumentWatcherTest, OpeningTheKeptPathAgainTakesWhatItHoldsNowAsSeen)
{
    const std::string path = OldFile(directory_, "plant.hxc");
    watcher_.WatchDocument(path);
    // A long quiet period: the document reads the file again well before the
    // watcher looks, however busy the machine is.
    watcher_.SetQuietPeriod(std::chrono::milliseconds(1000));
    watcher_.Start();
    ui_.Answer(false);
    ui_.Answer(false);

    // Changed, and read again by the document (Refresh, or the reload after
    // "Reload?") before the watcher has looked: nothing left to ask about.
    SetLastWriteTime(path, Now() + 100);
    watcher_.WatchDocument(path);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000) + kQuietPeriod);
    EXPECT_EQ(ui_.QuestionCount(), 0u);

    SetLastWriteTime(path, Now() + 200);
    EXPECT_TRUE(WaitUntil([&] { return ui_.QuestionCount() == 1; }));
}

TEST_F(DocumentWatcherTest, WatchDocumentReplacesTheKeptPath)
{
    const std::string first = OldFile(directory_, "first.hxc");
    const std::string second = OldFile(directory_, "second.hxc");
    watcher_.WatchDocument(first);
    watcher_.WatchDocument(second);
    EXPECT_FALSE(watcher_.IsWatched(first));
    EXPECT_TRUE(watcher_.IsWatched(second));
    EXPECT_EQ(watcher_.WatchedPath(), second);
    watcher_.WatchDocument({});
    EXPECT_TRUE(watcher_.Directories().empty());
}

}  // namespace
