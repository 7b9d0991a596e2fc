// halvex-cli ports over a fake sysfs and /dev, and what a device command says
// about a port it cannot open.
#include "CliTestSupport.h"
#include "FakeDeviceTree.h"
#include "PermissionBits.h"
#include "PortDiscovery.h"
#include "SimProcess.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <sys/stat.h>

namespace {

ProcessResult Ports(const std::vector<std::string>& arguments, const std::string& root)
{
    std::ostringstream out;
    std::ostringstream err;
    CliEnvironment environment{out, err, "/nonexistent/profile.conf"};
    environment.SystemRoot = root;
    ProcessResult result;
    result.ExitStatus = RunCli(arguments, environment);
    result.Out = out.str();
    result.Err = err.str();
    return result;
}

const std::string kNotUtf8 = std::string("USB") + '\xff' + "Serial";

// An FTDI adapter with a by-id link, a USB device with a name that is not
// UTF-8, and a UART.
void AddDevices(FakeDeviceTree& tree)
{
    tree.AddUsbDevice("1-2", "0403", "6001", "FTDI", "FT232R USB UART", "A10K3X");
    tree.AddUsbTty("ttyUSB0", "1-2", "ftdi_sio", false);
    tree.AddByIdLink("usb-FTDI_FT232R_USB_UART_A10K3X-if00-port0", "ttyUSB0");
    tree.AddUsbDevice("1-3", "1a86", "7523", "", kNotUtf8, "");
    tree.AddUsbTty("ttyUSB1", "1-3", "ch341", false);
    tree.AddUart("ttyS0", 4, true);
}

}  // namespace

TEST(PortsCommand, OneAlignedLineAPort)
{
    FakeDeviceTree tree;
    AddDevices(tree);
    ::chmod(tree.Node("ttyUSB1").c_str(), 0);
    const PermissionBitsApply bits;
    const ProcessResult ports = Ports({"ports"}, tree.Root());
    EXPECT_EQ(ports.ExitStatus, 0);
    EXPECT_EQ(ports.Err, "");
    const std::string dev = tree.Root() + "/dev/";
    const std::string group = DiscoverSerialDevices(tree.Root()).at(0).Group;
    const std::string byId = dev + "serial/by-id/usb-FTDI_FT232R_USB_UART_A10K3X-if00-port0";
    EXPECT_EQ(ports.Out, dev + "ttyS0    Serial port (serial)  serial    -          " + group + "  access\n" +  //
                             dev + "ttyUSB0  FTDI FT232R USB UART  ftdi_sio  0403:6001  " + group + "  access     " +
                             byId + "\n" +  //
                             dev + "ttyUSB1  " + kNotUtf8 + "            ch341     1a86:7523  " + group +
                             "  no access\n");
}

TEST(PortsCommand, JsonIsAnArrayOfObjects)
{
    FakeDeviceTree tree;
    AddDevices(tree);
    const ProcessResult ports = Ports({"ports", "--json"}, tree.Root());
    EXPECT_EQ(ports.ExitStatus, 0);
    const nlohmann::json list = nlohmann::json::parse(ports.Out, nullptr, false);
    ASSERT_TRUE(list.is_array()) << ports.Out;
    ASSERT_EQ(list.size(), 3u);
    const nlohmann::json& ftdi = list[1];
    EXPECT_EQ(ftdi["path"], tree.Root() + "/dev/ttyUSB0");
    EXPECT_EQ(ftdi["by_id"], tree.Root() + "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K3X-if00-port0");
    EXPECT_EQ(ftdi["driver"], "ftdi_sio");
    EXPECT_EQ(ftdi["usb_id"], "0403:6001");
    EXPECT_EQ(ftdi["serial_number"], "A10K3X");
    EXPECT_EQ(ftdi["description"], "FTDI FT232R USB UART");
    EXPECT_EQ(ftdi["accessible"], true);
    EXPECT_TRUE(ftdi["group"].is_string());
    EXPECT_TRUE(list[0]["by_id"].is_null());
    EXPECT_TRUE(list[0]["usb_id"].is_null());
    EXPECT_EQ(list[2]["description"], "USB\uFFFDSerial") << "a byte that is not UTF-8 is replaced";
}

TEST(PortsCommand, NoPortsIsNoFailure)
{
    FakeDeviceTree tree;
    const ProcessResult text = Ports({"ports"}, tree.Root());
    EXPECT_EQ(text.ExitStatus, 0);
    EXPECT_EQ(text.Out, "");
    EXPECT_EQ(text.Err, "No serial ports found\n");
    const ProcessResult json = Ports({"ports", "--json"}, tree.Root());
    EXPECT_EQ(json.ExitStatus, 0);
    EXPECT_EQ(json.Out, "[]\n");
    EXPECT_EQ(json.Err, "No serial ports found\n");
}

TEST(PortsCommand, ProgramListsThisMachinesPortsAsJson)
{
    const ProcessResult ports = RunProcess({HALVEX_CLI_PATH, "ports", "--json"});
    EXPECT_EQ(ports.ExitStatus, 0) << ports.Err;
    const nlohmann::json list = nlohmann::json::parse(ports.Out, nullptr, false);
    ASSERT_TRUE(list.is_array()) << ports.Out;
    for (const nlohmann::json& port : list) {
        for (const char* key : {"path", "by_id", "driver", "usb_id", "description", "accessible", "group"}) {
            EXPECT_TRUE(port.contains(key)) << key;
        }
    }
}

TEST(PortOpenFailure, MissingDeviceFailsAtOnceWithTheSystemsReason)
{
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult firmware = RunProcess({HALVEX_CLI_PATH, "firmware", "--port", "/dev/does-not-exist"});
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(firmware.ExitStatus, 1);
    EXPECT_EQ(firmware.Out, "");
    EXPECT_EQ(firmware.Err, "Unable to open COM Port\n/dev/does-not-exist: No such file or directory\n");
    EXPECT_LT(elapsed, std::chrono::seconds(1));
}

TEST(PortOpenFailure, UnprivilegedUserOnARootOnlyTerminalIsToldWhichGroupToJoin)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs the superuser to run the program as another user";
    }
    SimProcess sim({});
    ASSERT_EQ(::chown(sim.Path().c_str(), 0, 0), 0);
    ASSERT_EQ(::chmod(sim.Path().c_str(), 0600), 0);
    const ProcessResult firmware = RunProcessAsUser({HALVEX_CLI_PATH, "firmware", "--port", sim.Path()}, 65534, 65534);
    EXPECT_EQ(firmware.ExitStatus, 1);
    EXPECT_EQ(firmware.Out, "");
    const std::string told = "Unable to open COM Port\n" + sim.Path() +
                             ": Permission denied\n"
                             "To use it, give it to the group dialout (sudo chgrp dialout " +
                             sim.Path() + "; sudo chmod g+rw " + sim.Path() +
                             ") and join that group: sudo usermod -aG dialout $USER, then log out and log in "
                             "again.\n";
    // The other user may not write the tests' operations log: a warning after it.
    EXPECT_EQ(firmware.Err.substr(0, told.size()), told);
}
