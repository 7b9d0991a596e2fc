#include "CQuorvinDoc.h"
#include "CCompanionListBox.h"
#include "CQuorvinView.h"
#include "DocumentWatcher.h"
#include "WindowTestSupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

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

// Another program swaps two points while the edit dialog of the first is
// open: the question comes once the dialog has closed, the edit having gone
// to the point the dialog was opened for; Yes then shows the file as it is.
TEST_F(ExternalChange, TheQuestionWaitsForTheOpenEditDialog)
{
    ConfigTemplate twoPoints;
    for (const char* address : {"1I1", "1I2"}) {
        AnalogInputPoint point;
        point.SlaveAddress = 1;
        point.Description = address;
        point.Address = address;
        twoPoints.AnalogInputs.Append(point);
    }
    modals_.Answer(QMessageBox::Yes);
    WriteConfiguration(file_, twoPoints);
    ASSERT_TRUE(WaitFor([this] { return Document().Config().AnalogInputs.Count() == 2; }));
    ASSERT_EQ(View().PointList()->Text(2).toStdString().substr(4, 3), "1I1");
    std::swap(twoPoints.AnalogInputs[0], twoPoints.AnalogInputs[1]);

    bool askedWhileEditing = true;
    bool storedIntoItsPoint = false;
    modals_.Then([&](QWidget* modal) {
        WriteConfiguration(file_, twoPoints);
        // Long after the watcher has seen the change, the user ends the edit.
        QTimer::singleShot(1000, [&, dialog = QPointer<QWidget>(modal)] {
            askedWhileEditing = modals_.Boxes.size() > 1;
            dialog->findChild<QLineEdit*>(QStringLiteral("description"))->setText(QStringLiteral("edited"));
            dialog->findChild<QPushButton*>(QStringLiteral("ok"))->click();
        });
    });
    modals_.Then([&](QWidget* box) {
        storedIntoItsPoint = Document().Config().AnalogInputs[0].Description == "edited";
        modals_.Boxes.push_back({});
        qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click();
    });
    View().PointList()->SetCurrentSelection(2);
    View().EditSelectedLine();
    ASSERT_TRUE(WaitFor([this] { return modals_.Done() && !Document().IsModified(); }));
    EXPECT_FALSE(askedWhileEditing);
    EXPECT_TRUE(storedIntoItsPoint);
    ASSERT_EQ(Document().Config().AnalogInputs.Count(), 2);
    EXPECT_EQ(Document().Config().AnalogInputs[0].Description, "1I2");
    EXPECT_EQ(Document().Config().AnalogInputs[1].Description, "1I1");
    EXPECT_EQ(modals_.Unexpected, 0);
}

// A file moved away is asked about as gone; No keeps the configuration.
TEST_F(ExternalChange, AFileThatIsGoneNeverTakesTheWork)
{
    EditIdleTime();
    modals_.Answer(QMessageBox::No);
    std::filesystem::rename(file_, file_ + ".moved");
    ASSERT_TRUE(WaitFor([this] { return modals_.Done(); }));
    QTest::qWait(200);
    ASSERT_EQ(modals_.Boxes.size(), 1u);
    EXPECT_EQ(modals_.Boxes[0].Title, "File Missing");
    EXPECT_EQ(modals_.Boxes[0].Text, FileGoneQuestion(file_));
    EXPECT_EQ(Document().Config().SpaIdleTime, 7);
    EXPECT_EQ(Document().PathName(), file_);
    EXPECT_TRUE(Document().IsModified());
}

}  // namespace
