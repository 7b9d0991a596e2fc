// A whole configuration made in the window program: points of every kind
// added through the menus and their dialogs, the capacity notice, the repair
// of an unreadable digital input address, the point list's menu, a dropped
// file, the modified mark of the title and the keyboard focus.
#include "CCompanionListBox.h"
#include "CMainFrame.h"
#include "CQuorvinDoc.h"
#include "CQuorvinView.h"
#include "CommandTable.h"
#include "ConfigFile.h"
#include "DialogDriver.h"
#include "PointList.h"
#include "ScriptedWindowSystem.h"
#include "SimulatedGateway.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMimeData>
#include <QTabBar>
#include <QUrl>

#include <gtest/gtest.h>

#include <set>

namespace {

// What the user enters in a dialog: control name and value.
using Entries = std::vector<std::pair<const char*, QString>>;

class BuildConfiguration : public ::testing::Test {
protected:
    void Start(const std::string& file = {}) { app_ = std::make_unique<TestApplication>(file); }
    CQuorvinDoc& Document() { return (*app_)->Document(); }
    CQuorvinView& View() { return (*app_)->View(); }
    CCompanionListBox& List() { return *View().PointList(); }
    QAction* Action(int id) { return (*app_)->Frame().CommandAction(id); }
    QAction* MenuAction(const char* text)
    {
        for (QAction* action : View().PointListMenu()->actions()) {
            if (action->text().startsWith(QString::fromLatin1(text))) {
                return action;
            }
        }
        ADD_FAILURE() << text;
        return nullptr;
    }

    // The next dialog, which must have the title, gets the entries and OK.
    void FillNextDialog(const char* title, const Entries& entries)
    {
        modals_.Then([title, entries](QWidget* modal) {
            EXPECT_EQ(modal->windowTitle().toStdString(), title);
            auto* dialog = dynamic_cast<EditDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            DialogDriver driver(*dialog);
            for (const auto& [name, value] : entries) {
                driver.Set(name, value);
            }
            EXPECT_TRUE(driver.PressOk()) << driver.LastMessage();
        });
    }

    void SaveAs(const std::string& path)
    {
        modals_.Then([path](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->selectFile(QString::fromStdString(path));
            static_cast<QDialog*>(dialog)->accept();
        });
        Action(CommandId::FileSaveAs)->trigger();
    }

    TemporaryDirectory directory_;
    std::string file_ = directory_.File("station.hxc");
    ModalScript modals_;
    std::unique_ptr<TestApplication> app_;
};

QString Number(int value) { return QString::number(value); }

TEST_F(BuildConfiguration, EveryKindForTwoSlavesFromAnEmptyDocumentReadsBackAsEntered)
{
    Start();
    for (int slave = 1; slave <= 2; ++slave) {
        Action(CommandId::SlaveAdd)->trigger();
        FillNextDialog("Analog Input", {{"description", "Current " + Number(slave)}, {"channel", Number(slave)},
                                        {"category", "V"}, {"dataNumber", "11"}, {"scaling", "0.5"},
                                        {"size", "32"}, {"inUse", "0"}, {"priority", "1"}});
        Action(CommandId::PointAddAnalogInput)->trigger();
        FillNextDialog("Digital Input", {{"description", "Breaker " + Number(slave)}, {"dataType", "P"},
                                         {"firstChannel", Number(slave)}, {"lastChannel", "9"}, {"category", "O"},
                                         {"firstDataNumber", "20"}, {"lastDataNumber", "25"}, {"bitSwitch", "1"},
                                         {"eventChannel", "7"}, {"eventStart", "1"}, {"eventEnd", "2"},
                                         {"eventValue1", "3"}, {"eventValue4", "6"}, {"priority", "1"}});
        MenuAction("Add Di&gital Input")->trigger();
        FillNextDialog("Analog Output", {{"description", "Setpoint " + Number(slave)}, {"channel", Number(slave)},
                                         {"category", "S"}, {"dataNumber", "30"}, {"scaling", "2.5"}});
        Action(CommandId::PointAddAnalogOutput)->trigger();
        FillNextDialog("Digital Output", {{"description", "Trip " + Number(slave)}, {"channel", Number(slave)},
                                          {"category", "O"}, {"dataNumber", "40"}, {"dataType", "D"}});
        Action(CommandId::PointAddDigitalOutput)->trigger();
        Action(CommandId::PointAddIndirectMessage)->trigger();
        FillNextDialog("Indirect SPA Message", {{"description", "Poll " + Number(slave)}, {"readWrite", "Write"},
                                                {"staticData", "-5"}, {"scaling", "0.25"}, {"category", "M"}});
        MenuAction("&Edit")->trigger();
        ASSERT_TRUE(modals_.Done());
        EXPECT_EQ(KindOfLineNumber(List().Number(List().CurrentSelection())), LineKind::IndirectMessage);
    }
    EXPECT_EQ(modals_.Unexpected, 0);
    RunUntilIdle();
    EXPECT_EQ((*app_)->Frame().ShownTitle().toStdString(), "Untitled* - Halvex Configuration Tool");

    SaveAs(file_);
    RunUntilIdle();
    EXPECT_EQ((*app_)->Frame().ShownTitle().toStdString(), "station.hxc - Halvex Configuration Tool");

    ScriptedWindowSystem ui;
    ConfigTemplate read;
    ASSERT_TRUE(ReadConfigFile(read, file_, ui));
    ASSERT_EQ(read.AnalogInputs.Count() + read.DigitalInputs.Count() + read.AnalogOutputs.Count() +
                  read.DigitalOutputs.Count() + read.IndirectMessages.Count(),
              10);
    // The list lines of the file as read show every value entered.
    std::vector<std::string> points;
    for (int slave = 1; slave <= 2; ++slave) {
        for (const PointListLine& line : BuildPointList(read, slave, false).Lines) {
            if (KindOfLineNumber(line.Number) != LineKind::Heading) {
                points.push_back(line.Text);
            }
        }
    }
    EXPECT_EQ(points, (std::vector<std::string>{
                          "004 Current 1                        0 P   1 1V11       0.50   32",
                          "012 Breaker 1                        1 P   1 1/9O20/25        P 1  7   1   2 [3,0,0,6]",
                          "000 Setpoint 1                         N   1 1S30       2.50   16",
                          "004 Trip 1                             N   1 1O40       D",
                          "    Poll 1                           1     1 0M0        W  -5 0.25",
                          "008 Current 2                        0 P   2 2V11       0.50   32",
                          "014 Breaker 2                        1 P   2 2/9O20/25        P 1  7   1   2 [3,0,0,6]",
                          "002 Setpoint 2                         N   2 2S30       2.50   16",
                          "005 Trip 2                             N   2 2O40       D",
                          "    Poll 2                           1     2 0M0        W  -5 0.25",
                      }));
}

TEST_F(BuildConfiguration, AFullListGivesTheNoticeAndCancelAddsNothing)
{
    ConfigTemplate full;
    AnalogInputPoint point;
    point.SlaveAddress = 1;
    while (full.AnalogInputs.Append(point)) {
    }
    WriteConfiguration(file_, full);
    modals_.Answer(QMessageBox::Ok);  // the area size warning of the opened file
    Start(file_);
    const int lines = List().Count();

    modals_.Answer(QMessageBox::Ok);
    QApplication::setActiveWindow(&(*app_)->Frame());
    QTest::keyClick(&(*app_)->Frame(), Qt::Key_1, Qt::ControlModifier);
    modals_.Then([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
    Action(CommandId::PointAddDigitalOutput)->trigger();
    ASSERT_TRUE(modals_.Done());
    ASSERT_EQ(modals_.Boxes.size(), 2u);
    EXPECT_EQ(modals_.Boxes[1].Text, "There can be max 256 analog inputs");
    EXPECT_EQ(modals_.Boxes[1].Title, "Halvex Configuration Tool");
    EXPECT_EQ(Document().Config().AnalogInputs.Count(), 256);
    EXPECT_EQ(Document().Config().DigitalOutputs.Count(), 0);
    EXPECT_EQ(List().Count(), lines);
    EXPECT_FALSE(Document().IsModified());
}

TEST_F(BuildConfiguration, AnUnreadableDigitalInputAddressIsRepairedAndThenDownloads)
{
    ConfigTemplate config;
    DigitalInputPoint corrupt;
    corrupt.SlaveAddress = 1;
    corrupt.Address = "417";  // what the XRF import keeps of an address without a letter
    corrupt.DataType = "S";
    config.DigitalInputs.Append(corrupt);
    WriteConfiguration(file_, config);
    SimulatedGateway gateway;
    Start(file_);
    (*app_)->Profile().WriteString("Settings", "COM1Device", gateway.Path());

    // Before the repair the download refuses the address.
    modals_.Answer(QMessageBox::Ok);
    modals_.Answer(QMessageBox::Ok);
    Action(CommandId::DeviceDownload)->trigger();
    ASSERT_EQ(modals_.Boxes.size(), 2u);
    EXPECT_EQ(modals_.Boxes[1].Text, "Unable to download - incorrect configuration\nDigital input 1 \"\" (slave 1, "
                                     "Ch/Cat/Dno \"417\"): the address is not of the form FCh/LCh/Cat/FDno/LDno");

    // Below the banners and headings of the analog inputs and its own.
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, List().LineRect(4).center());
    modals_.Answer(QMessageBox::Ok);
    modals_.Then([](QWidget* modal) {
        DialogDriver driver(*dynamic_cast<EditDialog*>(modal));
        EXPECT_EQ(driver.Edit("firstDataNumber")->text(), QStringLiteral("417"));
        EXPECT_EQ(driver.List("category")->currentIndex(), -1);
        EXPECT_FALSE(driver.PressOk());
        EXPECT_EQ(driver.LastMessage(), "Please select a category.");
        driver.Set("category", "I");
        driver.Set("firstChannel", "4");
        EXPECT_TRUE(driver.PressOk());
    });
    MenuAction("&Edit")->trigger();
    ASSERT_TRUE(modals_.Done());
    ASSERT_EQ(modals_.Boxes.size(), 3u);
    for (const std::size_t box : {0u, 2u}) {
        EXPECT_EQ(modals_.Boxes[box].Title + ": " + modals_.Boxes[box].Text, "Error: Error in Ch/Cat/Dno");
    }
    EXPECT_EQ(Document().Config().DigitalInputs[0].Address, "4/4I417/417");

    Action(CommandId::FileSave)->trigger();
    ASSERT_TRUE(Document().FileOpenPath(file_));
    modals_.Answer(QMessageBox::Ok);
    Action(CommandId::DeviceDownload)->trigger();
    ASSERT_EQ(modals_.Boxes.size(), 4u);
    EXPECT_EQ(modals_.Boxes[3].Text, "Configuration download OK! [v2.00]");
    EXPECT_NE(gateway.Store().Text().find("4/4I417/417"), std::string::npos);
    EXPECT_EQ(modals_.Unexpected, 0);
}

TEST_F(BuildConfiguration, TheListMenuSelectsCopiesAndDuplicates)
{
    WriteConfiguration(file_, SampleConfiguration());
    Start(file_);
    QTabBar* tabs = View().SlaveTabs();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());

    // The menu opens where the user right-clicks, on the line under the mouse.
    QTimer::singleShot(50, [] {
        if (QWidget* menu = QApplication::activePopupWidget()) {
            menu->close();
        }
    });
    const QPoint onLine = List().LineRect(3).center();
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, onLine, List().viewport()->mapToGlobal(onLine));
    QApplication::sendEvent(List().viewport(), &rightClick);
    EXPECT_EQ(List().CurrentSelection(), 3);
    EXPECT_TRUE(MenuAction("&Duplicate")->isEnabled());

    MenuAction("&Copy")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), SampleSlaveFiveLines()[3] + "\n");
    MenuAction("Copy A&ll")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text().count(QLatin1Char('\n')), List().Count());

    MenuAction("&Duplicate")->trigger();
    EXPECT_EQ(Document().Config().AnalogInputs.Count(), 5);
    EXPECT_EQ(List().CurrentSelection(), 5);
    EXPECT_EQ(List().Text(5).mid(3), List().Text(3).mid(3)) << "the copy, at its own offset";
    EXPECT_TRUE(Document().IsModified());

    List().SetCurrentSelection(1);
    View().UpdateButtons();
    EXPECT_FALSE(MenuAction("&Edit")->isEnabled()) << "a heading";
    EXPECT_TRUE(MenuAction("Add A&nalog Input")->isEnabled());
}

TEST_F(BuildConfiguration, ADroppedConfigurationOpensAfterTheSaveChangesQuestion)
{
    const std::string other = directory_.File("other.hxc");
    WriteConfiguration(other, SampleConfiguration());
    Start();
    Action(CommandId::SlaveAdd)->trigger();

    auto drag = [](QWidget* target, const std::string& path, QEvent::Type type) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        data.setText(QString::fromStdString(path));
        if (type == QEvent::DragEnter) {
            QDragEnterEvent event(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(target, &event);
            return event.isAccepted();
        }
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &event);
        return event.isAccepted();
    };
    QLineEdit* edit = View().Edit(FormId::ReplyTimeout);
    EXPECT_FALSE(drag(&(*app_)->Frame(), directory_.File("notes.txt"), QEvent::DragEnter));
    EXPECT_TRUE(drag(edit, other, QEvent::DragEnter));
    modals_.Answer(QMessageBox::No);
    EXPECT_TRUE(drag(edit, other, QEvent::Drop));
    ASSERT_TRUE(WaitFor([this, &other] { return Document().PathName() == other; }));
    ASSERT_EQ(modals_.Boxes.size(), 1u);
    EXPECT_EQ(modals_.Boxes[0].Text, "Save changes to Untitled?");
    EXPECT_EQ(edit->text(), QStringLiteral("50")) << "the edit did not take the path as text";
    EXPECT_EQ(View().SlaveTabs()->count(), 2);
}

TEST_F(BuildConfiguration, TabReachesEveryControlAndTheListShowsItsFocus)
{
    WriteConfiguration(file_, SampleConfiguration());
    Start(file_);
    List().SetCurrentSelection(2);
    View().UpdateButtons();
    QApplication::setActiveWindow(&(*app_)->Frame());
    View().Control(FormId::BaudRate)->setFocus();
    const QImage unfocused = List().viewport()->grab().toImage();
    List().SetCurrentSelection(-1);
    const QImage unselected = List().viewport()->grab().toImage();
    List().SetCurrentSelection(2);

    std::set<int> reached;
    QImage focused;
    for (int press = 0; press < 40; ++press) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        for (int id : {FormId::BaudRate, FormId::ReplyTimeout, FormId::IdleTime, FormId::RetryCount,
                       FormId::GlobalPollInterval, FormId::GlobalEventPoll, FormId::TimeSync, FormId::DateSync,
                       FormId::ProfibusAddress, FormId::DecimalPlace, FormId::InputBytes, FormId::OutputBytes,
                       FormId::SlaveTabs, FormId::PointList, FormId::EditButton, FormId::RemoveButton,
                       FormId::AddIndirectMessage}) {
            if (View().Control(id) == focus) {
                reached.insert(id);
            }
        }
        if (focus == &List() && focused.isNull()) {
            focused = List().viewport()->grab().toImage();
            List().SetCurrentSelection(-1);
            EXPECT_NE(List().viewport()->grab().toImage(), unselected) << "focus shown without a selection";
            List().SetCurrentSelection(2);
        }
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    EXPECT_EQ(reached.size(), 17u);
    EXPECT_NE(focused, unfocused) << "focus shown on the selected line";
    EXPECT_EQ(modals_.Unexpected, 0);
}

}  // namespace
