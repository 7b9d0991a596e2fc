#include "AboutBox.h"
#include "CMainFrame.h"
#include "CQuorvinDoc.h"
#include "CQuorvinView.h"
#include "PrintConfiguration.h"
#include "CommandTable.h"
#include "QtWindowSystem.h"
#include "WindowTestSupport.h"

#include "DiagnosticsDialog.h"

#include <QAction>
#include <QEventLoop>
#include <QFileDialog>
#include <QTabBar>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

// Every entry of a menu, one per line: "-" for a separator, ">" before a
// submenu's entries, the text and, for a command, its identifier and "off"
// when it is disabled.
void Describe(const QMenu* menu, const std::string& indent, std::vector<std::string>& lines)
{
    for (const QAction* action : menu->actions()) {
        if (!action->isVisible()) {
            continue;
        }
        if (action->isSeparator()) {
            lines.push_back(indent + "-");
        } else if (action->menu()) {
            lines.push_back(indent + action->text().toStdString());
            Describe(action->menu(), indent + ">", lines);
        } else {
            lines.push_back(indent + action->text().toStdString() + " " + std::to_string(action->data().toInt()) +
                            (action->isEnabled() ? "" : " off"));
        }
    }
}

std::vector<std::string> MenuBarLines(const CMainFrame& frame)
{
    std::vector<std::string> lines;
    for (const QAction* top : frame.menuBar()->actions()) {
        lines.push_back(top->text().toStdString());
        Describe(top->menu(), ">", lines);
    }
    return lines;
}

class MainFrame : public ::testing::Test {
protected:
    CMainFrame& Frame() { return app_->Frame(); }
    QAction* Action(int id) { return Frame().CommandAction(id); }

    ModalScript modals_;
    TestApplication app_;
};

// A new document: the commands that need a slave are off.
TEST_F(MainFrame, MenuBarHasEveryItemMnemonicSeparatorAndIdentifier)
{
    const std::vector<std::string> expected{
        "&File",
        ">&Open...\tCtrl+O 57601",
        ">&Save\tCtrl+S 57603",
        ">Save &As... 57604",
        ">&Export CSV 32794",
        ">&Import XRF... 32778",
        ">-",
        ">&Print\tCtrl+P 57607",
        ">-",
        ">Recent File 57616 off",
        ">-",
        ">E&xit 57665",
        "&Edit",
        ">&Undo\tCtrl+Z 57643 off",
        ">&Redo\tCtrl+Y 57644 off",
        ">-",
        ">Cu&t\tCtrl+X 57635 off",
        ">&Copy\tCtrl+C 57634 off",
        ">&Paste\tCtrl+V 57637 off",
        ">-",
        ">&Find...\tCtrl+F 57636",
        "&Device",
        ">&Download Configuration to device 32779",
        ">Download Configuration to device a&s...",
        ">>v&2.00 32798",
        ">>v&1.02 32799",
        ">&Upload Configuration from device 32780",
        ">-",
        ">Download &Archive to device 32782",
        ">Upload A&rchive from device 32781",
        ">-",
        ">Upload &Diagnostics from device 32775",
        ">&Clear Diagnostics 32776",
        ">-",
        ">Get &Firmware Version from device 32786",
        ">-",
        ">Chec&k Configuration 32800",
        ">&Verify Configuration 32801",
        ">Co&mpare with Gateway... 32802",
        "&Settings",
        ">&COM Port",
        ">>COM&1 32771",
        ">>COM&2 32772",
        ">>COM&3 32773",
        ">>COM&4 32774",
        ">>-",
        ">>&Other Port... 32910",
        ">&Backup Before Download 32913",
        "S&lave",
        ">&Add 32792",
        ">&Remove 32797",
        ">&Set Address 32784 off",
        ">&Prioritize",
        ">>&On 32795 off",
        ">>O&ff 32796 off",
        ">&Import 32793",
        ">-",
        ">Add A&nalog Input...\tCtrl+1 32900 off",
        ">Add Di&gital Input...\tCtrl+2 32901 off",
        ">Add Analog &Output...\tCtrl+3 32902 off",
        ">Add Digital Ou&tput...\tCtrl+4 32903 off",
        ">Add New Indirect SPA &Message\tCtrl+5 32904 off",
        ">&Duplicate Point\tCtrl+D 32905 off",
        "&View",
        ">&Toolbar 59392",
        ">&Status Bar 59393",
        ">Refresh 32783",
        ">-",
        ">&Communication Log 32911",
        ">&Operations Log 32912",
        "&Help",
        ">&About Halvex Configuration Tool... 57664",
    };
    EXPECT_EQ(MenuBarLines(Frame()), expected);
}

TEST_F(MainFrame, ComPortItemsAreCheckedFromTheSettingAndSelectIt)
{
    QMenu* settings = Frame().menuBar()->actions().at(3)->menu();
    QMenu* comPort = settings->actions().at(0)->menu();
    const QList<QAction*> ports = comPort->actions();
    ASSERT_EQ(ports.size(), 6) << "COM1..COM4, a separator and Other Port";
    EXPECT_TRUE(ports[0]->isChecked());
    EXPECT_FALSE(ports[2]->isChecked());

    ports[2]->trigger();
    EXPECT_EQ(app_->Document().ComPort(), 3);
    EXPECT_EQ(app_->Profile().ReadInt("Settings", "COMPort", 0), 3);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(ports[i]->isChecked(), i == 2) << i;
    }
    RunUntilIdle();
    EXPECT_EQ(Frame().PortPaneText(), QStringLiteral("/dev/ttyS2")) << "the status bar names the device in use";

    app_->Document().OnSelectPortDevice("/dev/ttyUSB0");
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(ports[i]->isChecked(), i == 5) << i;
    }
    RunUntilIdle();
    EXPECT_EQ(Frame().PortPaneText(), QStringLiteral("/dev/ttyUSB0"));
}

TEST_F(MainFrame, ToolbarHasItsButtonsTipsAndDisabledClipboard)
{
    std::vector<std::string> buttons;
    for (const QAction* action : Frame().ToolBar()->actions()) {
        buttons.push_back(action->isSeparator() ? "|"
                                                : action->toolTip().toStdString() + (action->isEnabled() ? "" : " off"));
        EXPECT_TRUE(action->isSeparator() || !action->icon().isNull());
    }
    const std::vector<std::string> expected{"New", "Open", "Save", "|", "Cut off", "Copy off", "Paste off", "|",
                                            "Print", "|", "About"};
    EXPECT_EQ(buttons, expected);
    EXPECT_EQ(Frame().ToolBar()->iconSize(), QSize(16, 15));
}

TEST_F(MainFrame, StatusBarShowsReadyThePromptsAndTheLockIndicators)
{
    EXPECT_EQ(Frame().StatusText(), QStringLiteral("Ready"));
    QStatusBar* status = Frame().statusBar();
    EXPECT_EQ(status->findChildren<QLabel*>().size(), 5) << "the message, the port's device and CAP, NUM, SCRL";

    Action(CommandId::FileSaveAs)->showStatusText(&Frame());
    EXPECT_EQ(status->currentMessage(), QStringLiteral("Save the active document with a new name"));
    Action(CommandId::DeviceDownload)->showStatusText(&Frame());
    EXPECT_EQ(status->currentMessage(), QString());
    EXPECT_EQ(Frame().StatusText(), QStringLiteral("Ready"));

    EXPECT_EQ(Action(CommandId::AppExit)->statusTip(), QStringLiteral("Quit the application; prompts to save documents"));
    EXPECT_EQ(Action(CommandId::ViewStatusBar)->toolTip(), QStringLiteral("Toggle StatusBar"));

    app_->Ui().SetStatusText("Downloading configuration");
    EXPECT_EQ(Frame().StatusText(), QStringLiteral("Downloading configuration"));
}

TEST(CommandPrompts, EveryPromptWordForWordAndNoneForTheDocumentCommands)
{
    using namespace CommandId;
    const std::pair<int, const char*> prompts[] = {
        {FileNew, "Create a new document\nNew"},
        {FileOpen, "Open an existing document\nOpen"},
        {FileSave, "Save the active document\nSave"},
        {FileSaveAs, "Save the active document with a new name\nSave As"},
        {FilePrint, "Print the active document\nPrint"},
        {FilePrintSetup, "Change the printer and printing options\nPrint Setup"},
        {FileRecent1, "Open this document"},
        {FileRecent1 + 3, "Open this document"},
        {EditCut, "Cut the selection and put it on the Clipboard\nCut"},
        {EditCopy, "Copy the selection and put it on the Clipboard\nCopy"},
        {EditPaste, "Insert Clipboard contents\nPaste"},
        {AppExit, "Quit the application; prompts to save documents\nExit"},
        {ViewToolbar, "Show or hide the toolbar\nToggle ToolBar"},
        {ViewStatusBar, "Show or hide the status bar\nToggle StatusBar"},
    };
    for (const auto& [id, prompt] : prompts) {
        EXPECT_EQ(CommandPrompt(id), prompt) << id;
    }
    EXPECT_EQ(PromptStatusText(CommandPrompt(FilePrintSetup)), "Change the printer and printing options");
    EXPECT_EQ(PromptToolTip(CommandPrompt(FilePrintSetup)), "Print Setup");
    for (int id : {FileExportCsv, DeviceDownload, DeviceUpload, ComPort1, SlaveAdd, SlaveImport, ViewRefresh}) {
        EXPECT_EQ(CommandPrompt(id), "") << id;
    }
}

TEST_F(MainFrame, ToolbarAndStatusBarCanBeHiddenAndShown)
{
    Action(CommandId::ViewToolbar)->trigger();
    EXPECT_FALSE(Frame().ToolBar()->isVisible());
    EXPECT_FALSE(Action(CommandId::ViewToolbar)->isChecked());
    Action(CommandId::ViewToolbar)->trigger();
    EXPECT_TRUE(Frame().ToolBar()->isVisible());
    EXPECT_TRUE(Action(CommandId::ViewToolbar)->isChecked());

    Action(CommandId::ViewStatusBar)->trigger();
    EXPECT_FALSE(Frame().statusBar()->isVisible());
    EXPECT_FALSE(Action(CommandId::ViewStatusBar)->isChecked());
}

TEST_F(MainFrame, CtrlNAsksToSaveChangesAndStartsANewDocument)
{
    app_->Document().OnSlaveAdd();
    ASSERT_TRUE(app_->Document().IsModified());
    modals_.Answer(QMessageBox::No);
    QTest::keyClick(&Frame(), Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(modals_.Boxes.size(), 1u);
    EXPECT_EQ(modals_.Boxes[0].Text, "Save changes to Untitled?");
    EXPECT_EQ(modals_.Boxes[0].Title, "Halvex Configuration Tool");
    EXPECT_TRUE(app_->Document().HasNoSlaves());
    EXPECT_FALSE(app_->Document().IsModified());
}

TEST_F(MainFrame, ClosingAModifiedDocumentCanBeCancelled)
{
    app_->Document().OnSlaveAdd();
    modals_.Answer(QMessageBox::Cancel);
    EXPECT_FALSE(Frame().close());
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_EQ(modals_.Boxes.size(), 1u);
}

// Counts the changes of the window's title and modified mark.
class TitleChangeCounter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        Count += event->type() == QEvent::ModifiedChange || event->type() == QEvent::WindowTitleChange;
        return QObject::eventFilter(watched, event);
    }
    int Count = 0;
};

TEST_F(MainFrame, TheIdleProgramLeavesTheTitleAloneAndTheMarkFollowsTheDocument)
{
    TitleChangeCounter counter;
    Frame().installEventFilter(&counter);
    // The event loop waits for input, woken again and again as by the desktop.
    QTimer waker;
    waker.start(1);
    const auto idle = [] {
        QEventLoop loop;
        QTimer::singleShot(100, &loop, &QEventLoop::quit);
        loop.exec();
    };
    idle();
    EXPECT_EQ(counter.Count, 0);

    app_->Document().OnSlaveAdd();
    EXPECT_EQ(Frame().ShownTitle(), QStringLiteral("Untitled* - Halvex Configuration Tool"));
    counter.Count = 0;
    idle();
    EXPECT_EQ(counter.Count, 0);
    Frame().removeEventFilter(&counter);
}

// The commands that work on a slave are off while there is none.
TEST_F(MainFrame, SlaveCommandsNeedASlave)
{
    using namespace CommandId;
    const int needSlave[] = {SlaveSetAddress,     SlavePrioritizeOn,     SlavePrioritizeOff,    PointAddAnalogInput,
                             PointAddDigitalInput, PointAddAnalogOutput, PointAddDigitalOutput, PointAddIndirectMessage,
                             PointDuplicate};
    for (const int id : needSlave) {
        EXPECT_FALSE(Action(id)->isEnabled()) << id;
    }
    EXPECT_TRUE(Action(SlaveAdd)->isEnabled());
    Action(SlaveAdd)->trigger();
    for (const int id : needSlave) {
        EXPECT_TRUE(Action(id)->isEnabled()) << id;
    }
    EXPECT_EQ(modals_.Unexpected, 0);
}

TEST_F(MainFrame, AboutBoxNamesTheProgramAndItsVersion)
{
    modals_.Then([](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("About Halvex Configuration Tool"));
        QStringList texts;
        for (const QLabel* label : modal->findChildren<QLabel*>()) {
            texts << label->text();
        }
        EXPECT_TRUE(texts.contains(QStringLiteral("Halvex Configuration Tool")));
        EXPECT_TRUE(texts.contains(QStringLiteral("Version 2.000")));
        modal->findChild<QPushButton*>()->click();
    });
    Action(CommandId::AppAbout)->trigger();
    EXPECT_TRUE(modals_.Done());
}

TEST_F(MainFrame, DeviceCommandsRunTheirOperation)
{
    app_->Profile().WriteString("Settings", "COM1Device", "/nonexistent/halvex-port");
    modals_.Answer(QMessageBox::Ok);
    Action(CommandId::DeviceFirmwareVersion)->trigger();
    ASSERT_EQ(modals_.Boxes.size(), 1u);
    EXPECT_EQ(modals_.Boxes[0].Title, "Error");
    EXPECT_EQ(modals_.Boxes[0].Text, "Unable to open COM Port\n/nonexistent/halvex-port: No such file or directory");
    EXPECT_EQ(Frame().StatusText(), QStringLiteral("Ready"));
}

// Ctrl+P shows the printer dialog, or where no printer is installed the
// question whether to make a PDF file instead.
TEST_F(MainFrame, PrintShowsThePrinterDialog)
{
    const bool printer = HasInstalledPrinter();
    modals_.Then([printer](QWidget* dialog) {
        EXPECT_TRUE(dialog->inherits(printer ? "QPrintDialog" : "QMessageBox")) << dialog->metaObject()->className();
        static_cast<QDialog*>(dialog)->reject();
    });
    QTest::keyClick(&Frame(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(modals_.Done());
    EXPECT_EQ(modals_.Unexpected, 0);
}

TEST_F(MainFrame, FileDialogsOpenAndExportWithTheirFiltersAndSuffix)
{
    TemporaryDirectory directory;
    const std::string sample = directory.File("sample.hxc");
    WriteConfiguration(sample, SampleConfiguration());
    modals_.Then([&sample](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->nameFilters(), QStringList{"Halvex Configuration File (*.hxc)"});
        dialog->selectFile(QString::fromStdString(sample));
        static_cast<QDialog*>(dialog)->accept();
    });
    Action(CommandId::FileOpen)->trigger();
    EXPECT_EQ(app_->Document().PathName(), sample);
    EXPECT_EQ(app_->View().SlaveTabs()->count(), 2);

    modals_.Then([&directory](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->nameFilters(), QStringList{"CSV File (*.csv)"});
        dialog->selectFile(QString::fromStdString(directory.File("exported")));
        static_cast<QDialog*>(dialog)->accept();
    });
    Action(CommandId::FileExportCsv)->trigger();
    EXPECT_TRUE(modals_.Done());
    EXPECT_TRUE(std::filesystem::exists(directory.File("exported.csv")));
}

TEST_F(MainFrame, DiagnosticsAreShownInTheirDialog)
{
    modals_.Then([](QWidget* dialog) {
        EXPECT_NE(dynamic_cast<DiagnosticsDialog*>(dialog), nullptr);
        static_cast<QDialog*>(dialog)->accept();
    });
    app_->Ui().ShowDiagnostics(DiagnosticsRecord{});
    EXPECT_TRUE(modals_.Done());
}

TEST(StartOption, ImportXrfBuildsTheConfigurationFromTheUnitFile)
{
    TemporaryDirectory directory;
    const std::string unitFile = directory.File("Line relay.xrf");
    WriteTextFile(unitFile, CrLfLines("[SPA_UNIT]", "1=5", "[ANALOG_INPUT]", "\"Current\": 1.0I1/$"));
    TestApplication app({}, "--import-xrf", unitFile);
    EXPECT_EQ(app->Document().Config().AnalogInputs.Count(), 1);
    EXPECT_EQ(app->Document().UsedSlaves()[0], 5);
    RunUntilIdle();
    EXPECT_EQ(app->Frame().ShownTitle(), QStringLiteral("Line relay.xrf* - Halvex Configuration Tool"));
    EXPECT_EQ(app->View().SlaveTabs()->tabText(0), QStringLiteral("Slave 5"));
}

TEST(RecentFiles, OpenedFilesAreListedAndAFailedOneIsDropped)
{
    TemporaryDirectory directory;
    const std::string first = directory.File("first.hxc");
    const std::string second = directory.File("second & more.hxc");
    WriteConfiguration(first, SampleConfiguration());
    WriteConfiguration(second, ConfigTemplate());

    TestApplication app(first);
    app->Document().FileOpenPath(second);
    CMainFrame& frame = app->Frame();
    EXPECT_FALSE(frame.CommandAction(CommandId::FileRecent1)->isVisible());
    EXPECT_EQ(frame.RecentFileAction(0)->text().toStdString(), "&1 " + directory.File("second && more.hxc"));
    EXPECT_EQ(frame.RecentFileAction(1)->text().toStdString(), "&2 " + first);
    EXPECT_FALSE(frame.RecentFileAction(2)->isVisible());

    frame.RecentFileAction(1)->trigger();
    EXPECT_EQ(app->Document().PathName(), first);
    EXPECT_EQ(app->RecentFiles().Paths(), (std::vector<std::string>{first, second}));

    std::filesystem::remove(second);
    ModalScript modals;
    modals.Answer(QMessageBox::Ok);
    frame.RecentFileAction(1)->trigger();
    EXPECT_EQ(modals.Boxes.at(0).Text, "Error loading configuration file!\n" + second + ": No such file or directory");
    EXPECT_EQ(app->RecentFiles().Paths(), (std::vector<std::string>{first}));
    EXPECT_FALSE(frame.RecentFileAction(1)->isVisible());
    EXPECT_EQ(app->Document().PathName(), first) << "the open document stays";
}

}  // namespace
