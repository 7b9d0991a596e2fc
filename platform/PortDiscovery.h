#pragma once

#include <string>
#include <vector>

// A serial device present on the machine, as sysfs and /dev describe it.
struct SerialDeviceInfo {
    std::string Path;          // the device node, e.g. /dev/ttyUSB0
    std::string ById;          // its stable /dev/serial/by-id link; empty when it has none
    std::string Driver;        // e.g. ftdi_sio, cdc_acm, serial
    std::string UsbId;         // vendor:product of a USB device, e.g. 0403:6001; empty otherwise
    std::string Manufacturer;  // the USB device's strings; empty when it has none
    std::string Product;
    std::string SerialNumber;
    bool Accessible = false;  // this process may open it for reading and writing
    std::string Group;        // the group that owns the device node

    bool operator==(const SerialDeviceInfo&) const = default;
};

// One line for the user: the USB device's manufacturer and product, else
// the kind of port and its driver.
std::string DeviceDescription(const SerialDeviceInfo& device);

// The path to show and keep for a device: its by-id link when it has one (it
// stays the same whichever USB socket the adapter is in), else its node.
std::string PreferredDevicePath(const SerialDeviceInfo& device);

// Natural order of paths: the numbers in them compare by value (ttyS2
// before ttyS10, COM2 before COM10).
bool NaturalPathLess(const std::string& a, const std::string& b);

// What the user can do to open the devices that are not Accessible; empty
// when all of them are. On POSIX: join the group of the first such device.
std::string InaccessibleDeviceHint(const std::vector<SerialDeviceInfo>& devices);

// A COM port as Windows' device manager lists it (SetupAPI).
struct ComPortEntry {
    std::string PortName;      // e.g. COM7
    std::string FriendlyName;  // e.g. USB Serial Port (COM7)
    std::string Manufacturer;  // e.g. FTDI
    std::string Driver;        // the driver's service, e.g. FTSER2K
    std::string HardwareId;    // e.g. USB\VID_0403&PID_6001&REV_0600
    std::string InstanceId;    // e.g. USB\VID_0403&PID_6001\A50285BI
};

// The devices the entries describe, in natural order of their port names:
// a USB adapter's vendor:product from its hardware id and its serial number
// from its instance id (where the USB device gave one). Entries without a
// port name are left out. Whether a port may be opened shows only when it is
// opened, so every one counts as accessible.
std::vector<SerialDeviceInfo> DescribeComPorts(const std::vector<ComPortEntry>& entries);

// The COM ports present on Windows, from SetupAPI; empty elsewhere.
std::vector<ComPortEntry> ListComPorts();

// Every serial device present: on Windows the COM ports of ListComPorts
// (root is not used); elsewhere under root ("/" for this machine; tests give a
// tree of their own with sys/ and dev/ in it): the ttys in sys/class/tty that
// stand for a device and have a node in dev/, without the serial8250
// placeholders where no UART is, in natural order of their paths.
std::vector<SerialDeviceInfo> DiscoverSerialDevices(const std::string& root = "/");
