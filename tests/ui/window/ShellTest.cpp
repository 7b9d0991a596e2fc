#include "CQuorvinDoc.h"
#include "FileDialogFilter.h"
#include "ProfileStore.h"
#include "QtWindowSystem.h"
#include "RecentFileList.h"
#include "RegionalSeparators.h"
#include "StartOptions.h"
#include "ToolbarIcons.h"
#include "WindowTestSupport.h"

#include <QAbstractButton>
#include <QApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

TEST(FileDialogFilter, DescriptionAndPatternPairsBecomeNameFilters)
{
    EXPECT_EQ(NameFiltersFromFilterText("Halvex Configuration File (*.hxc) |*.hxc||"),
              QStringList{"Halvex Configuration File (*.hxc)"});
    EXPECT_EQ(NameFiltersFromFilterText("Archives|*.zip;*.7z|All Files (*.*)|*.*||"),
              QStringList({"Archives (*.zip *.7z)", "All Files (*.*)"}));
    EXPECT_EQ(NameFiltersFromFilterText("|*.csv||"), QStringList{"(*.csv)"});
    EXPECT_EQ(DefaultSuffix(".hxc"), QStringLiteral("hxc"));
    EXPECT_EQ(DefaultSuffix("CSV"), QStringLiteral("csv"));
    EXPECT_EQ(DefaultSuffix("ZIP"), QStringLiteral("zip"));
}

TEST(ApplicationIcon, TheScalableIconIsDrawnAtEverySize)
{
    // Without the compiled-in SVG or Qt's SVG plugins there would be no pixels.
    for (const int size : {16, 48, 256}) {
        const QImage image = ApplicationIcon().pixmap(size, size).toImage();
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_GT(qAlpha(image.pixel(size / 4, size / 2)), 0);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    }
}

TEST(StartOptions, FileKeywordAndDescribeOption)
{
    StartOptions options = ParseStartOptions({"halvex", "a.hxc", "--describe-window"});
    EXPECT_EQ(options.File, "a.hxc");
    EXPECT_TRUE(options.DescribeWindow);
    EXPECT_TRUE(options.Error.empty());

    options = ParseStartOptions({"halvex", "/vorlanqix", "b.hxc"});
    EXPECT_EQ(options.File, "b.hxc");
    EXPECT_EQ(options.CommandLine, "halvex /vorlanqix b.hxc");

    EXPECT_EQ(ParseStartOptions({"halvex", "my-vorlanqix.hxc"}).File, "my-vorlanqix.hxc");
    options = ParseStartOptions({"halvex", "--import-xrf", "units.xrf"});
    EXPECT_EQ(options.ImportXrf, "units.xrf");
    EXPECT_TRUE(options.File.empty());
    EXPECT_FALSE(ParseStartOptions({"halvex", "--import-xrf"}).Error.empty());
    EXPECT_FALSE(ParseStartOptions({"halvex", "--bogus"}).Error.empty());
    EXPECT_FALSE(ParseStartOptions({"halvex", "a.hxc", "b.hxc"}).Error.empty());
}

TEST(StartOptions, TheKeywordSwitchesOnExtendedModeAndRemovesWithoutQuestion)
{
    TemporaryDirectory directory;
    const std::string file = directory.File("x.hxc");
    WriteConfiguration(file, SampleConfiguration());
    ModalScript modals;
    TestApplication app(file, "-vorlanqix");
    EXPECT_TRUE(app->Document().ExtendedMode());
    app->Document().OnSlaveRemove();
    EXPECT_EQ(app->Document().UsedSlaves()[0], 5);
    EXPECT_TRUE(modals.Boxes.empty());
}

class WindowSystemTest : public ::testing::Test {
protected:
    WindowSystemTest() : profile_(QString::fromStdString(directory_.File("p.ini"))), recent_(profile_) {}

    TemporaryDirectory directory_;
    ProfileStore profile_;
    RecentFileList recent_;
    ModalScript modals_;
};

TEST_F(WindowSystemTest, SeparatorsComeFromTheProfileOrTheDecimalSeparator)
{
    EXPECT_EQ(ListSeparatorFor(","), ";");
    EXPECT_EQ(ListSeparatorFor("."), ",");

    QtWindowSystem ui(profile_, recent_);
    profile_.WriteString("Settings", "DecimalSeparator", ",");
    EXPECT_EQ(ui.QueryDecimalSeparator(), ",");
    EXPECT_EQ(ui.QueryListSeparator(), ";");
    profile_.WriteString("Settings", "ListSeparator", "|");
    EXPECT_EQ(ui.QueryListSeparator(), "|");
    profile_.Remove("Settings", "DecimalSeparator");
    EXPECT_EQ(ui.QueryDecimalSeparator(), ".");
}

TEST_F(WindowSystemTest, ProfileValuesAndRecentFilesPersist)
{
    {
        QtWindowSystem ui(profile_, recent_);
        EXPECT_EQ(ui.ReadProfileInt("Settings", "COMPort", 1), 1);
        ui.WriteProfileInt("Settings", "COMPort", 4);
        for (const char* path : {"/a.hxc", "/b.hxc", "/c.hxc", "/a.hxc", "/d.hxc", "/e.hxc"}) {
            ui.AddToRecentFiles(path);
        }
    }
    ProfileStore reopened(QString::fromStdString(directory_.File("p.ini")));
    EXPECT_EQ(reopened.ReadInt("Settings", "COMPort", 1), 4);
    RecentFileList recent(reopened);
    recent.Load();
    EXPECT_EQ(recent.Paths(), (std::vector<std::string>{"/e.hxc", "/d.hxc", "/a.hxc", "/c.hxc"}));
    recent.Remove(0);
    RecentFileList again(reopened);
    again.Load();
    EXPECT_EQ(again.Paths(), (std::vector<std::string>{"/d.hxc", "/a.hxc", "/c.hxc"}));
}

TEST_F(WindowSystemTest, SaveChangesQuestionHasThreeAnswers)
{
    QtWindowSystem ui(profile_, recent_);
    modals_.Answer(QMessageBox::Yes);
    modals_.Answer(QMessageBox::No);
    modals_.Answer(QMessageBox::Cancel);
    EXPECT_EQ(ui.AskSaveChanges("a.hxc"), DocumentHost::SaveChangesAnswer::Yes);
    EXPECT_EQ(ui.AskSaveChanges("a.hxc"), DocumentHost::SaveChangesAnswer::No);
    EXPECT_EQ(ui.AskSaveChanges("a.hxc"), DocumentHost::SaveChangesAnswer::Cancel);
    EXPECT_EQ(modals_.Boxes.at(0).Text, "Save changes to a.hxc?");
    EXPECT_EQ(modals_.Boxes.at(0).Icon, QMessageBox::Question);
}

TEST_F(WindowSystemTest, AQuestionFromAnotherThreadIsAskedOnTheUserInterfaceThread)
{
    QtWindowSystem ui(profile_, recent_);
    modals_.Answer(QMessageBox::Yes);
    std::atomic<int> answer{-1};
    std::thread watcher([&] { answer = ui.AskYesNo("Reload?", "File /x.hxc changed", MessageIcon::Warning) ? 1 : 0; });
    EXPECT_TRUE(WaitFor([&] { return answer != -1; }));
    watcher.join();
    EXPECT_EQ(answer, 1);
    ASSERT_EQ(modals_.Boxes.size(), 1u);
    EXPECT_EQ(modals_.Boxes[0].Title, "Reload?");
    EXPECT_EQ(modals_.Boxes[0].Icon, QMessageBox::Warning);
}

TEST_F(WindowSystemTest, DetachingAnswersAWaitingQuestionNo)
{
    QtWindowSystem ui(profile_, recent_);
    std::atomic<int> answer{-1};
    modals_.Then([&ui](QWidget* box) {
        ui.Detach();
        static_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click();
    });
    std::thread watcher([&] { answer = ui.AskYesNo("Reload?", "?", MessageIcon::Warning) ? 1 : 0; });
    EXPECT_TRUE(WaitFor([&] { return answer != -1; }));
    watcher.join();
    EXPECT_EQ(answer, 0);

    std::thread late([&] { answer = ui.AskYesNo("Reload?", "?", MessageIcon::Warning) ? 1 : 0; });
    late.join();
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(modals_.Unexpected, 0);
}

}  // namespace
