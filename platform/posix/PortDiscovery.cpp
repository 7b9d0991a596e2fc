#include "PortDiscovery.h"

#include "DeviceNode.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

namespace fs = std::filesystem;

namespace {

// The first line of a sysfs attribute without surrounding blanks; empty when
// it cannot be read.
std::string ReadAttribute(const fs::path& path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    line.erase(std::find_if_not(line.rbegin(), line.rend(), blank).base(), line.end());
    line.erase(line.begin(), std::find_if_not(line.begin(), line.end(), blank));
    return line;
}

// A number attribute in decimal or 0x hexadecimal; 0 when absent or unreadable.
unsigned long NumberAttribute(const fs::path& path)
{
    const std::string text = ReadAttribute(path);
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 0);
    return end != nullptr && *end == '\0' ? value : 0;
}

std::string LinkName(const fs::path& link)
{
    std::error_code error;
    const fs::path target = fs::read_symlink(link, error);
    return error ? std::string() : target.filename().string();
}

// The serial core keeps placeholder ports (ttyS1..ttyS31) whose UART type is
// 0, "unknown": there is nothing behind them. Ports of other drivers have no
// type and are there when they are listed.
bool UartPresent(const fs::path& classEntry, const std::string& name)
{
    std::error_code error;
    if (fs::exists(classEntry / "type", error)) {
        return NumberAttribute(classEntry / "type") != 0;
    }
    if (name.rfind("ttyS", 0) == 0) {
        return NumberAttribute(classEntry / "port") != 0 || NumberAttribute(classEntry / "iomem_base") != 0;
    }
    return true;
}

// The driver bound to the device. Newer kernels put a port and a controller
// device of the serial-base bus between the tty and the UART's own device;
// the driver that matters is the one above them.
std::string DriverOf(fs::path device)
{
    for (int level = 0; level < 4 && LinkName(device / "subsystem") == "serial-base"; ++level) {
        device = device.parent_path();
    }
    return LinkName(device / "driver");
}

// The USB device the tty belongs to: the nearest directory above it with a
// vendor and product number; empty when it is not a USB device.
fs::path UsbDeviceOf(const fs::path& device, const fs::path& devicesRoot)
{
    std::error_code error;
    for (fs::path dir = device; !dir.empty() && dir != dir.parent_path(); dir = dir.parent_path()) {
        if (dir == devicesRoot) {
            break;
        }
        if (fs::exists(dir / "idVendor", error) && fs::exists(dir / "idProduct", error)) {
            return dir;
        }
    }
    return {};
}

// The by-id links, by the node they point at.
std::map<fs::path, fs::path> ByIdLinks(const fs::path& byIdDirectory)
{
    std::vector<fs::path> names;
    std::error_code error;
    for (fs::directory_iterator it(byIdDirectory, error), end; !error && it != end; it.increment(error)) {
        names.push_back(it->path());
    }
    // Of two links to one node the first by name is kept, whatever the directory order.
    std::sort(names.begin(), names.end());
    std::map<fs::path, fs::path> links;
    for (const fs::path& link : names) {
        const fs::path target = fs::canonical(link, error);
        if (!error) {
            links.emplace(target, link);
        }
    }
    return links;
}

// Natural order: ttyUSB2 before ttyUSB10.

void ReadUsbStrings(const fs::path& usb, SerialDeviceInfo& info)
{
    info.UsbId = ReadAttribute(usb / "idVendor") + ":" + ReadAttribute(usb / "idProduct");
    info.Manufacturer = ReadAttribute(usb / "manufacturer");
    info.Product = ReadAttribute(usb / "product");
    info.SerialNumber = ReadAttribute(usb / "serial");
}

}  // namespace

std::vector<SerialDeviceInfo> DiscoverSerialDevices(const std::string& root)
{
    const fs::path base(root);
    const fs::path devicesRoot = fs::weakly_canonical(base / "sys" / "devices");
    const auto byId = ByIdLinks(base / "dev" / "serial" / "by-id");
    std::vector<SerialDeviceInfo> devices;
    std::error_code error;
    for (fs::directory_iterator it(base / "sys" / "class" / "tty", error), end; !error && it != end;
         it.increment(error)) {
        const fs::path entry = it->path();
        const std::string name = entry.filename().string();
        std::error_code entryError;
        // Consoles, virtual terminals and pseudo-terminals stand for no device.
        const fs::path device = fs::canonical(entry / "device", entryError);
        const fs::path node = (base / "dev" / name).lexically_normal();
        if (entryError || !fs::exists(node, entryError) || !UartPresent(entry, name)) {
            continue;
        }
        SerialDeviceInfo info;
        info.Path = node.string();
        if (const auto link = byId.find(fs::canonical(node, entryError)); !entryError && link != byId.end()) {
            info.ById = link->second.lexically_normal().string();
        }
        info.Driver = DriverOf(device);
        if (const fs::path usb = UsbDeviceOf(device, devicesRoot); !usb.empty()) {
            ReadUsbStrings(usb, info);
        }
        const DeviceNodeAccess access = ReadDeviceNodeAccess(info.Path);
        info.Accessible = access.MayReadAndWrite;
        info.Group = access.Group;
        devices.push_back(std::move(info));
    }
    std::sort(devices.begin(), devices.end(),
              [](const SerialDeviceInfo& a, const SerialDeviceInfo& b) { return NaturalPathLess(a.Path, b.Path); });
    return devices;
}

std::string InaccessibleDeviceHint(const std::vector<SerialDeviceInfo>& devices)
{
    const auto refused = std::find_if(devices.begin(), devices.end(),
                                      [](const SerialDeviceInfo& device) { return !device.Accessible; });
    if (refused == devices.end()) {
        return {};
    }
    // The superuser's group is no way in; serial devices are given to dialout.
    const std::string group = refused->Group.empty() || refused->Group == "root" ? "dialout" : refused->Group;
    return "To open a device marked \"no\", join its group: sudo usermod -aG " + group +
           " $USER, then log out and log in again.";
}

std::vector<ComPortEntry> ListComPorts() { return {}; }
