#include "DocumentWatcher.h"
#include "MonitorTestSupport.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <thread>

namespace {

// Answers the watcher's questions, which come on the watcher thread; the test
// may keep a question open until it answers.
class AnsweringWindowSystem : public WindowSystem {
public:
    struct Question {
        std::string Caption;
        std::string Text;
        MessageIcon Icon;
    };

    void ShowMessage(const std::string&, const std::string&, MessageIcon) override {}
    std::optional<std::string> ChooseFileToOpen(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> ChooseFileToSave(const FileDialogRequest&) override { return std::nullopt; }
    void SetStatusText(const std::string&) override {}
    void SetProgress(int) override {}

    bool AskYesNo(const std::string& caption, const std::string& text, MessageIcon icon) override
    {
        std::unique_lock guard(lock_);
        questions_.push_back({caption, text, icon});
        changed_.notify_all();
        changed_.wait(guard, [this] { return !answers_.empty(); });
        const bool answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    void PostFileChange() override
    {
        std::lock_guard guard(lock_);
        ++posted_;
        changed_.notify_all();
    }

    void Answer(bool yes)
    {
        std::lock_guard guard(lock_);
        answers_.push_back(yes);
        changed_.notify_all();
    }

    bool WaitForQuestions(std::size_t count)
    {
        std::unique_lock guard(lock_);
        return changed_.wait_for(guard, kReportTimeout, [&] { return questions_.size() >= count; });
    }

    std::vector<Question> Questions() const
    {
        std::lock_guard guard(lock_);
        return questions_;
    }

    int Posted() const
    {
        std::lock_guard guard(lock_);
        return posted_;
    }

    bool WaitForPosted(int count)
    {
        std::unique_lock guard(lock_);
        return changed_.wait_for(guard, kReportTimeout, [&] { return posted_ >= count; });
    }

private:
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::vector<Question> questions_;
    std::deque<bool> answers_;
    int posted_ = 0;
};

class DocumentWatcherTest : public ::testing::Test {
protected:
    std::string OldFile(const std::string& name)
    {
        const std::string path = directory_.File(name);
        WriteTextFile(path, "old");
        SetLastWriteTime(path, Now() - 100);
        return path;
    }

    TemporaryDirectory directory_;
    AnsweringWindowSystem ui_;
    DocumentWatcher watcher_{ui_};
};

TEST_F(DocumentWatcherTest, ChangedDocumentAsksToReloadAndPostsOnYes)
{
    const std::string path = OldFile("plant.hxc");
    watcher_.WatchDocument(path);
    watcher_.Start();

    ui_.Answer(true);
    AppendFromOtherProcess(path, "x");
    ASSERT_TRUE(ui_.WaitForQuestions(1));
    const auto question = ui_.Questions().front();
    EXPECT_EQ(question.Caption, "Reload?");
    EXPECT_EQ(question.Text, "File " + path + " has been changed by another application.\nDo you want to reload it?");
    EXPECT_EQ(question.Icon, MessageIcon::Warning);

    EXPECT_TRUE(ui_.WaitForPosted(1));
    std::this_thread::sleep_for(kQuietPeriod);
    EXPECT_EQ(ui_.Posted(), 1);
}

TEST_F(DocumentWatcherTest, ChangedTwiceBeforeTheAnswerIsAskedOnceAndNoPostsNothing)
{
    const std::string path = OldFile("plant.hxc");
    watcher_.WatchDocument(path);
    watcher_.Start();

    AppendFromOtherProcess(path, "first");
    ASSERT_TRUE(ui_.WaitForQuestions(1));
    SetLastWriteTime(path, Now() + 100);
    std::this_thread::sleep_for(kQuietPeriod);
    ui_.Answer(false);
    std::this_thread::sleep_for(kQuietPeriod);
    EXPECT_EQ(ui_.Questions().size(), 1u);
    EXPECT_EQ(ui_.Posted(), 0);

    // A change after the answer is asked about again.
    ui_.Answer(false);
    SetLastWriteTime(path, Now() + 200);
    EXPECT_TRUE(ui_.WaitForQuestions(2));
}

TEST_F(DocumentWatcherTest, OnlyTheDocumentsOwnFileIsAskedAbout)
{
    const std::string path = OldFile("plant.hxc");
    const std::string other = OldFile("other.hxc");
    watcher_.WatchDocument(path);
    watcher_.Watch(other);
    watcher_.Start();

    AppendFromOtherProcess(other, "x");
    std::this_thread::sleep_for(kQuietPeriod);
    EXPECT_TRUE(ui_.Questions().empty());

    // Deleting the document's file is asked about as well.
    ui_.Answer(false);
    std::filesystem::remove(path);
    EXPECT_TRUE(ui_.WaitForQuestions(1));
}

TEST_F(DocumentWatcherTest, WatchDocumentReplacesTheKeptPath)
{
    const std::string first = OldFile("first.hxc");
    const std::string second = OldFile("second.hxc");
    watcher_.WatchDocument(first);
    watcher_.WatchDocument(second);
    EXPECT_FALSE(watcher_.IsWatched(first));
    EXPECT_TRUE(watcher_.IsWatched(second));
    EXPECT_EQ(watcher_.WatchedPath(), second);

    watcher_.WatchDocument({});
    EXPECT_FALSE(watcher_.IsWatched(second));
    EXPECT_TRUE(watcher_.Directories().empty());
}

}  // namespace
