#include "CQuorvinDoc.h"
#include "CQuorvinView.h"
#include "WindowTestSupport.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ExternalChange : public ::testing::Test {
protected:
    ExternalChange() : file_(directory_.File("watched.hxc"))
    {
        WriteConfiguration(file_, SampleConfiguration());
        app_ = std::make_unique<TestApplication>(file_);
    }

    CQuorvinDoc& Document() { return (*app_)->Document(); }
    CQuorvinView& View() { return (*app_)->View(); }

    // An unsaved edit of the form.
    void EditIdleTime()
    {
        View().Edit(FormId::IdleTime)->setText(QStringLiteral("7"));
        ASSERT_TRUE(View().CommitForm());
        ASSERT_TRUE(Document().IsModified());
    }

    // Another program writes the file with a different reply timeout.
    void RewriteFile()
    {
        ConfigTemplate changed = SampleConfiguration();
        changed.SpaReplyTimeout = 77;
        WriteConfiguration(file_, changed);
    }

    std::string ReloadQuestion() const
    {
        return "File " + file_ + " has been changed by another application.\nDo you want to reload it?";
    }

    TemporaryDirectory directory_;
    std::string file_;
    ModalScript modals_;
    std::unique_ptr<TestApplication> app_;
};

TEST_F(ExternalChange, YesReloadsTheFileAndDropsTheEdits)
{
    EditIdleTime();
    modals_.Answer(QMessageBox::Yes);
    RewriteFile();
    ASSERT_TRUE(WaitFor([this] { return Document().Config().SpaReplyTimeout == 77; }));
    ASSERT_EQ(modals_.Boxes.size(), 1u);
    EXPECT_EQ(modals_.Boxes[0].Title, "Reload?");
    EXPECT_EQ(modals_.Boxes[0].Text, ReloadQuestion());
    EXPECT_EQ(modals_.Boxes[0].Icon, QMessageBox::Warning);
    EXPECT_EQ(Document().Config().SpaIdleTime, 10);
    EXPECT_EQ(View().Edit(FormId::ReplyTimeout)->text(), QStringLiteral("77"));
    EXPECT_EQ(View().Edit(FormId::IdleTime)->text(), QStringLiteral("10"));
}

TEST_F(ExternalChange, NoKeepsTheEditedState)
{
    EditIdleTime();
    modals_.Answer(QMessageBox::No);
    RewriteFile();
    ASSERT_TRUE(WaitFor([this] { return modals_.Done(); }));
    QTest::qWait(200);
    EXPECT_EQ(Document().Config().SpaReplyTimeout, 50);
    EXPECT_EQ(Document().Config().SpaIdleTime, 7);
    EXPECT_TRUE(Document().IsModified());
}

TEST_F(ExternalChange, TheProgramsOwnSaveAsksNothingAndWatchingGoesOn)
{
    EditIdleTime();
    ASSERT_TRUE(Document().FileSave());
    QTest::qWait(500);
    EXPECT_TRUE(modals_.Boxes.empty());
    EXPECT_EQ(modals_.Unexpected, 0);

    modals_.Answer(QMessageBox::Yes);
    RewriteFile();
    EXPECT_TRUE(WaitFor([this] { return Document().Config().SpaReplyTimeout == 77; }));
}

}  // namespace
