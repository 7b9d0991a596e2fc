// The serial devices of a fake sysfs and /dev, and what opening a device the
// user may not use reports.
#include "PortDiscovery.h"
#include "OpenRefusal.h"
#include "FakeDeviceTree.h"
#include "PermissionBits.h"
#include "PseudoTerminal.h"
#include "SerialPort.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <grp.h>
#include <sys/stat.h>

namespace {

std::vector<std::string> Paths(const std::vector<SerialDeviceInfo>& devices, const std::string& root)
{
    std::vector<std::string> paths;
    for (const SerialDeviceInfo& device : devices) {
        paths.push_back(device.Path.substr(root.size()));
    }
    return paths;
}

gid_t DialoutGroup()
{
    const group* entry = ::getgrnam("dialout");
    return entry != nullptr ? entry->gr_gid : static_cast<gid_t>(-1);
}

}  // namespace

TEST(PortDiscovery, ListsTheDevicesWithTheirDriverUsbStringsAndByIdLink)
{
    FakeDeviceTree tree;
    tree.AddUsbDevice("1-2", "0403", "6001", "FTDI", "FT232R USB UART", "A10K3X");
    tree.AddUsbTty("ttyUSB0", "1-2", "ftdi_sio", false);
    tree.AddByIdLink("usb-FTDI_FT232R_USB_UART_A10K3X-if00-port0", "ttyUSB0");
    tree.AddUsbDevice("1-3", "2341", "0043", "Arduino (www.arduino.cc)", "Arduino Uno", "");
    tree.AddUsbTty("ttyACM0", "1-3", "cdc_acm", true);
    tree.AddUsbDevice("1-4", "067b", "2303", "", "", "");
    tree.AddUsbTty("ttyUSB10", "1-4", "pl2303", false);
    tree.AddUsbDevice("1-5", "067b", "2303", "Prolific", "Prolific USB-Serial Controller", "");
    tree.AddUsbTty("ttyUSB2", "1-5", "pl2303", false);
    tree.AddUart("ttyS0", 4, true);
    tree.AddConsole("tty1");

    const std::string root = tree.Root();
    const auto devices = DiscoverSerialDevices(root);
    EXPECT_EQ(Paths(devices, root), (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyUSB0",
                                                              "/dev/ttyUSB2", "/dev/ttyUSB10"}));
    ASSERT_EQ(devices.size(), 5u);

    const SerialDeviceInfo& ftdi = devices[2];
    EXPECT_EQ(ftdi.ById, root + "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K3X-if00-port0");
    EXPECT_EQ(PreferredDevicePath(ftdi), ftdi.ById);
    EXPECT_EQ(ftdi.Driver, "ftdi_sio");
    EXPECT_EQ(ftdi.UsbId, "0403:6001");
    EXPECT_EQ(ftdi.SerialNumber, "A10K3X");
    EXPECT_EQ(DeviceDescription(ftdi), "FTDI FT232R USB UART");
    EXPECT_TRUE(ftdi.Accessible);

    EXPECT_EQ(devices[0].Driver, "cdc_acm");
    EXPECT_EQ(devices[0].UsbId, "2341:0043");
    EXPECT_EQ(DeviceDescription(devices[0]), "Arduino (www.arduino.cc) Arduino Uno");
    EXPECT_EQ(PreferredDevicePath(devices[0]), devices[0].Path) << "no by-id link";
    EXPECT_EQ(DeviceDescription(devices[3]), "Prolific USB-Serial Controller") << "no maker's name twice";
    EXPECT_EQ(DeviceDescription(devices[4]), "USB serial device (pl2303)");

    // The UART's own driver, above the serial-base port and controller.
    EXPECT_EQ(devices[1].Driver, "serial");
    EXPECT_EQ(devices[1].UsbId, "");
    EXPECT_EQ(DeviceDescription(devices[1]), "Serial port (serial)");
}

TEST(PortDiscovery, LeavesOutPortsWithoutUartOrNodeAndSaysWhoMayOpenThem)
{
    FakeDeviceTree tree;
    tree.AddUart("ttyS0", 4, false);
    tree.AddUart("ttyS1", 0, false);
    tree.AddUsbDevice("1-2", "0403", "6001", "FTDI", "FT232R USB UART", "");
    tree.AddUsbTty("ttyUSB0", "1-2", "ftdi_sio", false);
    std::filesystem::remove(tree.Node("ttyUSB0"));
    const std::string node = tree.Node("ttyS0");
    const bool grouped = ::chown(node.c_str(), static_cast<uid_t>(-1), DialoutGroup()) == 0;
    ::chmod(node.c_str(), 0);

    const PermissionBitsApply bits;
    const auto devices = DiscoverSerialDevices(tree.Root());
    ASSERT_EQ(Paths(devices, tree.Root()), std::vector<std::string>{"/dev/ttyS0"});
    EXPECT_EQ(devices[0].Driver, "serial8250");
    EXPECT_FALSE(devices[0].Accessible);
    if (grouped) {
        EXPECT_EQ(devices[0].Group, "dialout");
    }
    EXPECT_TRUE(DiscoverSerialDevices(tree.Root() + "/nonexistent").empty());
}

TEST(SerialPortOpen, PermissionRefusalNamesTheDevicesGroup)
{
    PseudoTerminal terminal;
    std::string error;
    ASSERT_TRUE(terminal.Open(error)) << error;
    const std::string& path = terminal.TerminalPath();
    // A device of another user that its group may use, as serial ports are.
    if (::chown(path.c_str(), 65534, DialoutGroup()) != 0) {
        GTEST_SKIP() << "needs the superuser to give the terminal to another user";
    }
    ASSERT_EQ(::chmod(path.c_str(), 0660), 0);
    const PermissionBitsApply bits;
    SerialPort port;
    const OpenResult refused = port.Open(path, 38400);
    EXPECT_EQ(refused.Failure, OpenFailure::AccessDenied);
    EXPECT_EQ(refused.Hint, "To use it, join the group dialout: sudo usermod -aG dialout $USER, "
                            "then log out and log in again.");
    EXPECT_FALSE(port.IsOpen());
}

TEST(SerialPortOpen, RefusalsSayHowToGetAccess)
{
    const std::string joinDialout = "sudo usermod -aG dialout $USER, then log out and log in again.";
    const OpenResult denied = DescribeOpenRefusal(EACCES, "/dev/ttyUSB0", "uucp", true);
    EXPECT_EQ(denied.Failure, OpenFailure::AccessDenied);
    EXPECT_EQ(denied.SystemText, "Permission denied");
    EXPECT_EQ(denied.Hint, "To use it, join the group uucp: sudo usermod -aG uucp $USER, then log out and log in again.");
    // A group that may not use the device, or the superuser's group, is no way in.
    const std::string giveToDialout = "To use it, give it to the group dialout (sudo chgrp dialout /dev/x; sudo chmod "
                                      "g+rw /dev/x) and join that group: " + joinDialout;
    EXPECT_EQ(DescribeOpenRefusal(EPERM, "/dev/x", "tty", false).Hint, giveToDialout);
    EXPECT_EQ(DescribeOpenRefusal(EPERM, "/dev/x", "root", true).Hint, giveToDialout);
    const OpenResult noUart = DescribeOpenRefusal(EIO, "/dev/ttyS3");
    EXPECT_EQ(noUart.Failure, OpenFailure::NoHardware);
    EXPECT_EQ(noUart.Hint, "No serial port hardware answers at this device.");
    EXPECT_EQ(DescribeOpenRefusal(EBUSY, "/dev/x").Failure, OpenFailure::InUse);
    EXPECT_EQ(DescribeOpenRefusal(EBUSY, "/dev/x").Hint, "Another program is using it.");
    EXPECT_EQ(DescribeOpenRefusal(ENOENT, "/dev/x").Failure, OpenFailure::NotFound);
    EXPECT_EQ(DescribeOpenRefusal(ENOENT, "/dev/x").Hint, "");
}
