#include "PortDialog.h"
#include "FakeDeviceTree.h"
#include "PermissionBits.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const std::string kById = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K3X-if00-port0";

class PortDialogTest : public ::testing::Test {
protected:
    PortDialogTest()
    {
        tree_.AddUsbDevice("1-2", "0403", "6001", "FTDI", "FT232R USB UART", "A10K3X");
        tree_.AddUsbTty("ttyUSB0", "1-2", "ftdi_sio", false);
        tree_.AddByIdLink("usb-FTDI_FT232R_USB_UART_A10K3X-if00-port0", "ttyUSB0");
        tree_.AddUart("ttyS0", 4, true);
    }

    std::vector<QStringList> Rows(const PortDialog& dialog) const
    {
        std::vector<QStringList> rows;
        QTreeWidget* list = dialog.DeviceList();
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QStringList row;
            for (int column = 0; column < list->columnCount(); ++column) {
                row << list->topLevelItem(i)->text(column).replace(QString::fromStdString(tree_.Root()), "");
            }
            rows.push_back(row);
        }
        return rows;
    }
    QString Dev(const std::string& path) const { return QString::fromStdString(tree_.Root() + path); }
    QPushButton* Ok(const PortDialog& dialog) const
    {
        return dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    }

    FakeDeviceTree tree_;
};

}  // namespace

TEST_F(PortDialogTest, ListsThePresentDevicesAndPrefersTheByIdPath)
{
    PortDialog dialog(tree_.Root() + "/dev/ttyUSB0", nullptr, tree_.Root());
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Other Port"));

    EXPECT_EQ(Rows(dialog), (std::vector<QStringList>{
                                {"/dev/ttyS0", "Serial port (serial)", "yes", ""},
                                {"/dev/ttyUSB0", "FTDI FT232R USB UART", "yes", QString::fromStdString(kById)},
                            }));
    EXPECT_FALSE(dialog.Hint()->isVisible());
    QTreeWidget* list = dialog.DeviceList();
    EXPECT_EQ(list->currentItem(), list->topLevelItem(1)) << "the preset device is chosen";

    const auto click = [list](int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(row)).center());
    };
    click(1);
    EXPECT_EQ(dialog.PathEdit()->text(), Dev(kById));
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(dialog.PathEdit()->text(), Dev("/dev/ttyS0")) << "no by-id link: the node";
    dialog.PathEdit()->setText(QStringLiteral("/dev/ttyAMA0"));
    click(0);
    EXPECT_EQ(dialog.PathEdit()->text(), Dev("/dev/ttyS0")) << "a click takes the chosen device again";

    // An edited path, with blanks around it; none at all cannot be taken.
    dialog.PathEdit()->setText(QStringLiteral("  /dev/ttyAMA0 "));
    EXPECT_EQ(dialog.DevicePath(), "/dev/ttyAMA0");
    dialog.PathEdit()->setText(QStringLiteral("  "));
    EXPECT_FALSE(Ok(dialog)->isEnabled());
    dialog.PathEdit()->setText(QStringLiteral("/dev/ttyAMA0"));
    EXPECT_TRUE(Ok(dialog)->isEnabled());

    // A double click takes the device at once.
    const QPoint second = list->visualItemRect(list->topLevelItem(1)).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.DevicePath(), tree_.Root() + kById);
}

TEST_F(PortDialogTest, TheListTakingTheFocusChoosesNothing)
{
    PortDialog dialog("/dev/ttyAMA0", nullptr, tree_.Root());
    dialog.show();
    dialog.activateWindow();
    dialog.DeviceList()->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.DeviceList()->currentItem() != nullptr; }, 1000));
    EXPECT_EQ(dialog.DevicePath(), "/dev/ttyAMA0");
}

TEST_F(PortDialogTest, FollowsDevicesThatComeAndGoWhileItIsOpen)
{
    PortDialog dialog(tree_.Root() + kById, nullptr, tree_.Root());
    dialog.show();
    EXPECT_EQ(dialog.RefreshTimer().interval(), 1000);
    EXPECT_TRUE(dialog.RefreshTimer().isActive());
    QTreeWidget* list = dialog.DeviceList();
    EXPECT_EQ(list->currentItem(), list->topLevelItem(1)) << "found by its by-id path";

    tree_.AddUsbDevice("1-3", "2341", "0043", "Arduino (www.arduino.cc)", "Arduino Uno", "");
    tree_.AddUsbTty("ttyACM0", "1-3", "cdc_acm", true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->topLevelItemCount() == 3; }, 3000));
    EXPECT_EQ(Rows(dialog)[0][0], QStringLiteral("/dev/ttyACM0"));
    EXPECT_EQ(list->currentItem()->text(0), Dev("/dev/ttyUSB0")) << "the chosen device stays chosen";

    // A device the user may not open says so, and how to get access.
    ::chmod(tree_.Node("ttyACM0").c_str(), 0);
    std::filesystem::remove_all(tree_.Root() + "/sys/class/tty/ttyS0");
    {
        const PermissionBitsApply bits;
        dialog.Refresh();
    }
    ASSERT_EQ(Rows(dialog).size(), 2u);
    EXPECT_TRUE(Rows(dialog)[0][2].startsWith(QStringLiteral("no (group "))) << Rows(dialog)[0][2].toStdString();
    EXPECT_TRUE(dialog.Hint()->isVisible());
    EXPECT_TRUE(dialog.Hint()->text().contains(QStringLiteral("sudo usermod -aG ")));

    std::filesystem::remove_all(tree_.Root() + "/sys/class/tty");
    dialog.Refresh();
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_EQ(dialog.Hint()->text(),
              QStringLiteral("No serial device found. A USB adapter appears here when it is plugged in."));
    EXPECT_EQ(dialog.PathEdit()->text(), Dev(kById)) << "the path stays as it was";
}

TEST_F(PortDialogTest, TakesNetworkAddressesAndOffersTheRecentOnes)
{
    PortDialog dialog("/dev/ttyS0", nullptr, tree_.Root(), {"rfc2217://[::1]:4001", "socket://gw:7000"});
    dialog.show();
    QComboBox* recent = dialog.RecentAddresses();
    ASSERT_TRUE(recent->isVisible());
    ASSERT_EQ(recent->count(), 3);
    recent->setFocus();
    QTest::keyClick(recent, Qt::Key_Down);
    QTest::keyClick(recent, Qt::Key_Down);
    EXPECT_EQ(dialog.DevicePath(), "socket://gw:7000");
    EXPECT_TRUE(Ok(dialog)->isEnabled());
    EXPECT_FALSE(dialog.AddressProblem()->isVisible());

    for (const char* bad : {"socket://gw", "rfc2217://gw:0", "socket://::1:4001"}) {
        dialog.PathEdit()->setText(QString::fromLatin1(bad));
        EXPECT_FALSE(Ok(dialog)->isEnabled()) << bad;
        EXPECT_TRUE(dialog.AddressProblem()->isVisible()) << bad;
    }
    EXPECT_TRUE(dialog.AddressProblem()->text().contains(QStringLiteral("brackets")));
    dialog.PathEdit()->setText(QStringLiteral(" rfc2217://[::1]:4001 "));
    EXPECT_TRUE(Ok(dialog)->isEnabled());
    EXPECT_EQ(dialog.DevicePath(), "rfc2217://[::1]:4001");

    PortDialog none("/dev/ttyS0", nullptr, tree_.Root());
    none.show();
    EXPECT_FALSE(none.RecentAddresses()->isVisible());
}
