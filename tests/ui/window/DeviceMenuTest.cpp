// The Device menu of the window program against the gateway simulator on a
// pseudo-terminal: a configuration goes down and comes back up, and is
// checked and verified; a port chosen in the Other Port dialog.
#include "DocumentContentEdit.h"
#include "CMainFrame.h"
#include "CQuorvinDoc.h"
#include "CCompanionListBox.h"
#include "CQuorvinView.h"
#include "CommandTable.h"
#include "CommunicationLogWindow.h"
#include "OperationsLogWindow.h"
#include "ConfigFile.h"
#include "ConfigurationCheckDialog.h"
#include "DeviceTestSupport.h"
#include "PointList.h"
#include "PortDialog.h"
#include "QtWindowSystem.h"
#include "SimulatedGateway.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
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
    EXPECT_EQ(modals_.Boxes[0].Text, "Unable to upload configuration\nthe gateway reported an error");
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
    PrepareContent(Document(), [](DocumentContent& content) {
        content.Config.DigitalInputs[2].Address = "12";  // "Pulse" of slave 5
    });
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
    PrepareContent(Document(), [](DocumentContent& content) { content.Config.AnalogInputs[1].Scale = 2.0f; });
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

namespace {

// A gateway paced like a real line, so that an archive takes about 18 s and
// the user can act in the middle of it.
class PacedDeviceOperation : public ::testing::Test {
protected:
    PacedDeviceOperation()
    {
        app_->Profile().WriteString("Settings", "COM1Device", gateway_.Path());
        WriteTextFile(archive_, std::string(65275, 'z'));
        modals_.Then([this](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->selectFile(QString::fromStdString(archive_));
            static_cast<QDialog*>(dialog)->accept();
        });
    }

    // Once the bar has passed 5 %, the step runs on the user-interface thread.
    void WhenUnderWay(std::function<void()> step)
    {
        auto* poll = new QTimer(&app_->View());
        QObject::connect(poll, &QTimer::timeout, poll, [this, poll, step = std::move(step)] {
            auto* bar = qobject_cast<QProgressBar*>(app_->View().Control(FormId::ProgressBar));
            if (app_->View().CancelButton()->isVisible() && bar->value() >= 5) {
                poll->deleteLater();
                step();
            }
        });
        poll->start(20);
    }

    OwnTemporaryFiles temporaryFiles_;
    TemporaryDirectory directory_;
    std::string archive_ = directory_.File("site.zip");
    SimulatedGateway gateway_{{}, {}, 38400};
    ModalScript modals_;
    TestApplication app_;
};

}  // namespace

TEST_F(PacedDeviceOperation, CancelInTheMiddleOfAnArchiveDownloadFreesThePortAtOnce)
{
    CQuorvinView& view = app_->View();
    auto* field = view.Form()->findChild<QLineEdit*>();
    const QString before = field->text();
    WhenUnderWay([&] {
        // The form takes no input meanwhile; the Cancel button does.
        QTest::keyClicks(field, "123");
        EXPECT_EQ(field->text(), before);
        QTest::mouseClick(view.CancelButton(), Qt::LeftButton);
    });
    modals_.Answer(QMessageBox::Ok);
    app_->Frame().CommandAction(CommandId::DeviceDownloadArchive)->trigger();

    ASSERT_EQ(modals_.Boxes.size(), 1u);
    EXPECT_EQ(modals_.Boxes[0].Title, kApplicationTitle);
    EXPECT_EQ(modals_.Boxes[0].Text, "Operation cancelled");
    EXPECT_EQ(modals_.Boxes[0].Icon, QMessageBox::Warning);
    EXPECT_LT(gateway_.RequestsReceived(), 200);
    EXPECT_TRUE(temporaryFiles_.Clean());
    EXPECT_FALSE(view.CancelButton()->isVisible());
    EXPECT_EQ(app_->Frame().StatusText(), QStringLiteral("Ready"));
    const QStringList& log = app_->Ui().Log().Lines();
    ASSERT_FALSE(log.isEmpty());
    EXPECT_TRUE(log.front().contains(QStringLiteral("\tTX\t01 2A 00 50 E2 01 ")));
    EXPECT_TRUE(log.back().endsWith(QStringLiteral("\t--\t\tcancelled")));

    // The port is free again at once.
    modals_.Answer(QMessageBox::Ok);
    app_->Frame().CommandAction(CommandId::DeviceFirmwareVersion)->trigger();
    ASSERT_EQ(modals_.Boxes.size(), 2u);
    EXPECT_EQ(modals_.Boxes[1].Text, "Firmware version : 1.05 build 12");

    // Esc cancels as the button does.
    modals_.Then([this](QWidget* modal) {
        qobject_cast<QFileDialog*>(modal)->selectFile(QString::fromStdString(archive_));
        static_cast<QDialog*>(modal)->accept();
    });
    WhenUnderWay([&] { QTest::keyClick(&app_->Frame(), Qt::Key_Escape); });
    modals_.Answer(QMessageBox::Ok);
    app_->Frame().CommandAction(CommandId::DeviceDownloadArchive)->trigger();
    ASSERT_EQ(modals_.Boxes.size(), 3u);
    EXPECT_EQ(modals_.Boxes[2].Text, "Operation cancelled");
    EXPECT_EQ(modals_.Unexpected, 0);
}

TEST_F(PacedDeviceOperation, ClosingTheWindowAsksThenCancelsAndCloses)
{
    WhenUnderWay([this] {
        modals_.Then([this](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->text(), QStringLiteral("A device operation is running.\nCancel it and close the window?"));
            box->button(QMessageBox::Yes)->click();
        });
        modals_.Answer(QMessageBox::Ok);
        app_->Frame().close();
        EXPECT_TRUE(app_->Frame().isVisible()) << "the window waits for the operation";
    });
    app_->Frame().CommandAction(CommandId::DeviceDownloadArchive)->trigger();
    ASSERT_EQ(modals_.Boxes.size(), 1u);
    EXPECT_EQ(modals_.Boxes[0].Text, "Operation cancelled");
    QTest::qWait(50);
    EXPECT_FALSE(app_->Frame().isVisible());
}

TEST_F(DeviceMenu, CommunicationLogShowsTheFramesLiveAndClearsAndSaves)
{
    modals_.Answer(QMessageBox::Ok);
    Action(CommandId::DeviceFirmwareVersion)->trigger();
    Action(CommandId::ViewCommunicationLog)->trigger();
    CommunicationLogWindow* window = (*app_)->LogWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    const auto shown = [window] { return window->Text()->toPlainText().split(QLatin1Char('\n')); };
    ASSERT_EQ(shown().size(), 2);
    EXPECT_TRUE(shown()[0].endsWith(QStringLiteral("\tTX\t00 08 00 02 01 01 4A 80")));
    EXPECT_TRUE(shown()[1].contains(QStringLiteral("\tRX\t00 0B 00 02 01 01 01 05 0C ")));

    window->OnClear();
    EXPECT_TRUE((*app_)->Ui().Log().Lines().isEmpty());
    modals_.Answer(QMessageBox::Ok);
    Action(CommandId::DeviceFirmwareVersion)->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(shown().size(), 2) << "new frames appear in the open window";

    const std::string saved = directory_.File("trace");
    modals_.Then([&saved](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(QString::fromStdString(saved));
        static_cast<QDialog*>(dialog)->accept();
    });
    window->OnSave();
    EXPECT_EQ(ReadTextFile(saved + ".log"), (*app_)->Ui().Log().Text().toStdString());
    EXPECT_EQ(modals_.Unexpected, 0);
}

TEST_F(DeviceMenu, OperationsLogListsEachOperationAndShowsAWholeEntry)
{
    (*app_)->Document().OperationsLogPath = directory_.File("operations.jsonl");
    modals_.Answer(QMessageBox::Ok);
    Action(CommandId::DeviceFirmwareVersion)->trigger();
    Action(CommandId::ViewOperationsLog)->trigger();
    OperationsLogWindow* window = (*app_)->OperationsWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->Table()->rowCount(), 1);
    EXPECT_EQ(window->Table()->item(0, 1)->text(), QStringLiteral("firmware"));
    EXPECT_EQ(window->Table()->item(0, 4)->text(), QStringLiteral("ok"));
    EXPECT_TRUE(window->EntryText(0).contains(QStringLiteral("\nprogram: halvex\n"))) << window->EntryText(0).toStdString();
    EXPECT_TRUE(window->EntryText(0).contains(QStringLiteral("\nfirmware: "))) << window->EntryText(0).toStdString();
}
