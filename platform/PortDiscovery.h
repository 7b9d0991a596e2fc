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

// Every serial device present under root ("/" for this machine; tests give a
// tree of their own with sys/ and dev/ in it): the ttys in sys/class/tty that
// stand for a device and have a node in dev/, without the serial8250
// placeholders where no UART is, in natural order of their paths.
std::vector<SerialDeviceInfo> DiscoverSerialDevices(const std::string& root = "/");
