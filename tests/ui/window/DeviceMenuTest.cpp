// The Device menu of the window program against the gateway simulator on a
// pseudo-terminal: a configuration goes down and comes back up, and is
// checked and verified; a port chosen in the Other Port dialog.
#include "CMainFrame.h"
#include "CQuorvinDoc.h"
#include "CCompanionListBox.h"
#include "CQuorvinView.h"
#include "CommandTable.h"
#include "ConfigFile.h"
#include "ConfigurationCheckDialog.h"
#include "PointList.h"
#include "PortDialog.h"
#include "SimulatedGateway.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

class DeviceMenu : public ::testing::Test {
protected:
    DeviceMenu()
    {
        WriteConfiguration(file_, SampleConfiguration());
        app_ = std::make_unique<TestApplication>(file_);
        (*app_)->Profile().WriteString("Settings", "COM1Device", gateway_.Path());
    }

    QAction* Action(int id) { return (*app_)->Frame().CommandAction(id); }
    CQuorvinDoc& Document() { return (*app_)->Document(); }

    TemporaryDirectory directory_;
    std::string file_ = directory_.File("station.hxc");
    SimulatedGateway gateway_;
    ModalScript modals_;
    std::unique_ptr<TestApplication> app_;
};

}  // namespace

TEST_F(DeviceMenu, DownloadThenUploadGivesBackTheConfigurationAsANewDocument)
{
    const std::string sent = ConfigFileText(Document().Config(), false);

    modals_.Answer(QMessageBox::Ok);
    Action(CommandId::DeviceDownload)->trigger();
    ASSERT_EQ(modals_.Boxes.size(), 1u);
    EXPECT_EQ(modals_.Boxes[0].Title, "Success");
    EXPECT_EQ(modals_.Boxes[0].Text, "Configuration download OK! [v2.00]");
    EXPECT_EQ(modals_.Boxes[0].Icon, QMessageBox::Information);
    EXPECT_EQ((*app_)->Frame().StatusText(), QStringLiteral("Ready"));

    modals_.Answer(QMessageBox::Ok);
    Action(CommandId::DeviceUpload)->trigger();
    ASSERT_EQ(modals_.Boxes.size(), 2u);
    EXPECT_EQ(modals_.Boxes[1].Title, "Success");
    EXPECT_EQ(modals_.Boxes[1].Text, "Configuration upload OK!");
    EXPECT_EQ(modals_.Unexpected, 0);

    EXPECT_EQ(ConfigFileText(Document().Config(), false), sent);
    EXPECT_EQ(Document().Title(), "Untitled");
    EXPECT_TRUE(Document().PathName().empty());
    EXPECT_TRUE(Document().IsModified());
    EXPECT_EQ((*app_)->View().SlaveTabs()->count(), 2) << "the view shows the uploaded slaves";
    EXPECT_EQ((*app_)->Frame().StatusText(), QStringLiteral("Ready"));
}

TEST_F(DeviceMenu, UploadFromAGatewayWithoutConfigurationLeavesTheDocumentAlone)
{
    modals_.Answer(QMessageBox::Ok);
    Action(CommandId::DeviceUpload)->trigger();
    ASSERT_EQ(modals_.Boxes.size(), 1u);
    EXPECT_EQ(modals_.Boxes[0].Title, "Error");
    EXPECT_EQ(modals_.Boxes[0].Text, "Unable to upload configuration");
    EXPECT_EQ(Document().PathName(), file_);
    EXPECT_FALSE(Document().IsModified());
}

TEST_F(DeviceMenu, PortChosenInTheOtherPortDialogIsUsedAtOnce)
{
    (*app_)->Profile().WriteString("Settings", "COM1Device", "/nonexistent/halvex-port");
    const QString gateway = QString::fromStdString(gateway_.Path());
    modals_.Then([&gateway](QWidget* modal) {
        auto* dialog = dynamic_cast<PortDialog*>(modal);
        ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
        EXPECT_EQ(dialog->PathEdit()->text(), QStringLiteral("/nonexistent/halvex-port")) << "preset: the port in use";
        QTest::keyClick(dialog->PathEdit(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(dialog->PathEdit(), gateway);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    Action(CommandId::ComPortOther)->trigger();
    EXPECT_TRUE(modals_.Done());
    EXPECT_TRUE(Action(CommandId::ComPortOther)->isChecked());
    EXPECT_FALSE(Action(CommandId::ComPort1)->isChecked());
    EXPECT_EQ((*app_)->Profile().ReadInt("Settings", "COMPort", 1), 0);
    EXPECT_EQ((*app_)->Profile().ReadString("Settings", "PortDevice"), gateway_.Path());

    modals_.Answer(QMessageBox::Ok);
    Action(CommandId::DeviceFirmwareVersion)->trigger();
    ASSERT_EQ(modals_.Boxes.size(), 1u);
    EXPECT_EQ(modals_.Boxes[0].Title, "Firmware");
    EXPECT_EQ(modals_.Boxes[0].Text, "Firmware version : 1.05 build 12");

    // Cancel changes nothing.
    modals_.Then([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    Action(CommandId::ComPortOther)->trigger();
    EXPECT_EQ(Document().PortDevicePath(), gateway_.Path());
    EXPECT_EQ(modals_.Unexpected, 0);
}

TEST_F(DeviceMenu, CheckListsTheProblemsAndADoubleClickShowsThePoint)
{
    Document().Config().DigitalInputs[2].Address = "12";  // "Pulse" of slave 5
    (*app_)->View().ShowSlave(1);
    modals_.Then([](QWidget* modal) {
        auto* shown = dynamic_cast<ConfigurationCheckDialog*>(modal);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->windowTitle(), QStringLiteral("Check Configuration"));
        EXPECT_EQ(shown->Summary()->text(), QStringLiteral("1 error, 0 warnings"));
        QTreeWidget* list = shown->List();
        EXPECT_EQ(list->topLevelItemCount(), 1);
        QTreeWidgetItem* row = list->topLevelItem(0);
        EXPECT_EQ(row->text(0), QStringLiteral("Error"));
        EXPECT_EQ(row->text(1), QStringLiteral("Unable to download - incorrect configuration"));
        EXPECT_EQ(row->text(2), QStringLiteral("Digital input 3 \"Pulse\" (slave 5, Ch/Cat/Dno \"12\"): the address "
                                               "is not of the form FCh/LCh/Cat/FDno/LDno"));
        // A user's double-click: the first press and release, then the second press.
        const QPoint where = list->visualItemRect(row).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, where);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, where);
        if (shown->isVisible()) {
            ADD_FAILURE() << "a double-click on a point closes the list";
            shown->reject();
        }
    });
    Action(CommandId::DeviceCheckConfiguration)->trigger();
    EXPECT_TRUE(modals_.Done());
    EXPECT_EQ(modals_.Unexpected, 0);

    CQuorvinView& view = (*app_)->View();
    EXPECT_EQ(view.SlaveTabs()->tabData(view.SlaveTabs()->currentIndex()).toInt(), 5);
    const int line = view.PointList()->CurrentSelection();
    ASSERT_GE(line, 0);
    EXPECT_EQ(view.PointList()->Number(line), LineNumber(LineKind::DigitalInput, 2));
}

TEST_F(DeviceMenu, VerifyComparesTheGatewayWithTheOpenDocument)
{
    modals_.Answer(QMessageBox::Ok);
    Action(CommandId::DeviceDownload)->trigger();
    modals_.Answer(QMessageBox::Ok);
    Action(CommandId::DeviceVerifyConfiguration)->trigger();
    modals_.Answer(QMessageBox::Ok);
    Document().Config().AnalogInputs[1].Scale = 2.0f;
    Action(CommandId::DeviceVerifyConfiguration)->trigger();
    ASSERT_EQ(modals_.Boxes.size(), 3u);
    EXPECT_EQ(modals_.Boxes[1].Title, "Success");
    EXPECT_EQ(modals_.Boxes[1].Text, "Configuration verify OK! The gateway holds this configuration.");
    EXPECT_EQ(modals_.Boxes[2].Title, "Error");
    EXPECT_EQ(modals_.Boxes[2].Icon, QMessageBox::Critical);
    EXPECT_EQ(modals_.Boxes[2].Text,
              "Configuration verify failed! The gateway's configuration differs in 1 line.\n"
              "First difference, line 17:\n"
              "gateway:  1,\tN,\t\"Phase current L1\",\t5,\t0I1,\t1.000000,\t16\n"
              "expected: 1,\tN,\t\"Phase current L1\",\t5,\t0I1,\t2.000000,\t16");
    EXPECT_EQ((*app_)->Frame().StatusText(), QStringLiteral("Ready"));
}
