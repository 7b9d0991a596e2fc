#pragma once

#include "TestFiles.h"

#include <filesystem>
#include <string>

// A machine's sysfs and /dev in a temporary directory, laid out as Linux lays
// them out (relative symbolic links included), for the serial device
// discovery to look at instead of the machine's own.
class FakeDeviceTree {
public:
    std::string Root() const { return directory_.Path(); }
    std::string Node(const std::string& name) const { return directory_.File("dev/" + name); }

    // A USB device on port usb1/<port> with its numbers and strings (an empty
    // string leaves the attribute out).
    void AddUsbDevice(const std::string& port, const std::string& vendor, const std::string& product,
                      const std::string& manufacturer, const std::string& productName, const std::string& serial)
    {
        const std::string usb = UsbPath(port);
        Write(usb + "/idVendor", vendor);
        Write(usb + "/idProduct", product);
        const std::pair<const char*, const std::string*> strings[] = {
            {"manufacturer", &manufacturer}, {"product", &productName}, {"serial", &serial}};
        for (const auto& [name, value] : strings) {
            if (!value->empty()) {
                Write(usb + "/" + name, *value);
            }
        }
    }
    // A tty of the USB device: on a usb-serial port device below its
    // interface (ftdi_sio, pl2303), or on the interface itself (cdc_acm).
    void AddUsbTty(const std::string& name, const std::string& port, const std::string& driver, bool onInterface)
    {
        std::string device = UsbPath(port) + "/" + port + ":1.0";
        if (!onInterface) {
            device += "/" + name;
        }
        Link(device + "/driver", "sys/bus/usb-serial/drivers/" + driver);
        AddTty(name, device);
    }
    // A UART port of the serial core with its type (0: no UART there): below
    // the serial-base port and controller devices of newer kernels, or right
    // on the platform device of older ones.
    void AddUart(const std::string& name, int type, bool serialBase)
    {
        std::string device = serialBase ? "sys/devices/pnp0/00:0" + name.substr(4) : "sys/devices/platform/serial8250";
        Link(device + "/driver", serialBase ? "sys/bus/pnp/drivers/serial" : "sys/bus/platform/drivers/serial8250");
        if (serialBase) {
            for (const char* level : {"/ctrl.0", "/port.0"}) {
                device += level;
                Link(device + "/subsystem", "sys/bus/serial-base");
                Link(device + "/driver", std::string("sys/bus/serial-base/drivers") + level);
            }
        }
        const std::string entry = AddTty(name, device);
        Write(entry + "/type", std::to_string(type));
        Write(entry + "/port", "0x3F8");
    }
    // A virtual terminal: a tty with a node that stands for no device.
    void AddConsole(const std::string& name)
    {
        const std::string entry = "sys/devices/virtual/tty/" + name;
        Write(entry + "/dev", "4:1");
        Link("sys/class/tty/" + name, entry);
        Write("dev/" + name, "");
    }
    void AddByIdLink(const std::string& link, const std::string& name)
    {
        Link("dev/serial/by-id/" + link, "dev/" + name);
    }

private:
    static std::string UsbPath(const std::string& port) { return "sys/devices/pci0000:00/0000:00:14.0/usb1/" + port; }

    // The tty's class entry, its device link and its node; the entry's path.
    std::string AddTty(const std::string& name, const std::string& device)
    {
        const std::string entry = device + "/tty/" + name;
        Link(entry + "/device", device);
        Link("sys/class/tty/" + name, entry);
        Write("dev/" + name, "");
        return entry;
    }
    void Write(const std::string& relative, const std::string& text)
    {
        const std::filesystem::path path = directory_.File(relative);
        std::filesystem::create_directories(path.parent_path());
        WriteTextFile(path.string(), text + "\n");
    }
    // A relative link, as sysfs has them; the target's directory is made.
    void Link(const std::string& relative, const std::string& target)
    {
        const std::filesystem::path link = directory_.File(relative);
        const std::filesystem::path to = directory_.File(target);
        std::filesystem::create_directories(link.parent_path());
        if (std::filesystem::is_symlink(link)) {
            return;
        }
        if (!std::filesystem::exists(to)) {
            std::filesystem::create_directories(to);
        }
        std::filesystem::create_symlink(std::filesystem::relative(to, link.parent_path()), link);
    }

    TemporaryDirectory directory_;
};
