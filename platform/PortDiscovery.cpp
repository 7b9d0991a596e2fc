#include "PortDiscovery.h"

#include <algorithm>
#include <cctype>

namespace {

// The four hexadecimal digits after a key such as "VID_" in a hardware id;
// empty when they are not there.
std::string HexAfter(const std::string& id, const std::string& key)
{
    std::string upper = id;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const auto at = upper.find(key);
    if (at == std::string::npos || at + key.size() + 4 > upper.size()) {
        return {};
    }
    std::string digits = id.substr(at + key.size(), 4);
    if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isxdigit(c) != 0; })) {
        return {};
    }
    std::transform(digits.begin(), digits.end(), digits.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return digits;
}

// The last part of a USB instance id is the device's serial number, unless
// Windows made it up (then it holds '&').
std::string SerialNumberOf(const std::string& instanceId)
{
    if (instanceId.rfind("USB\\", 0) != 0 && instanceId.rfind("FTDIBUS\\", 0) != 0) {
        return {};
    }
    const auto slash = instanceId.rfind('\\');
    const std::string last = instanceId.substr(slash + 1);
    return last.find('&') == std::string::npos ? last : std::string();
}

}  // namespace

std::vector<SerialDeviceInfo> DescribeComPorts(const std::vector<ComPortEntry>& entries)
{
    std::vector<SerialDeviceInfo> devices;
    for (const ComPortEntry& entry : entries) {
        if (entry.PortName.empty()) {
            continue;
        }
        SerialDeviceInfo device;
        device.Path = entry.PortName;
        device.Driver = entry.Driver;
        const std::string vendor = HexAfter(entry.HardwareId, "VID_");
        const std::string product = HexAfter(entry.HardwareId, "PID_");
        if (!vendor.empty() && !product.empty()) {
            device.UsbId = vendor + ":" + product;
        }
        device.Manufacturer = entry.Manufacturer;
        device.Product = entry.FriendlyName;
        device.SerialNumber = SerialNumberOf(entry.InstanceId);
        device.Accessible = true;
        devices.push_back(std::move(device));
    }
    std::sort(devices.begin(), devices.end(),
              [](const SerialDeviceInfo& a, const SerialDeviceInfo& b) { return NaturalPathLess(a.Path, b.Path); });
    return devices;
}

bool NaturalPathLess(const std::string& a, const std::string& b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const bool digitA = std::isdigit(static_cast<unsigned char>(a[i])) != 0;
        const bool digitB = std::isdigit(static_cast<unsigned char>(b[j])) != 0;
        if (digitA && digitB) {
            std::size_t endA = i;
            std::size_t endB = j;
            while (endA < a.size() && std::isdigit(static_cast<unsigned char>(a[endA])) != 0) {
                ++endA;
            }
            while (endB < b.size() && std::isdigit(static_cast<unsigned char>(b[endB])) != 0) {
                ++endB;
            }
            const std::string numberA = a.substr(i, endA - i);
            const std::string numberB = b.substr(j, endB - j);
            if (numberA != numberB) {
                return numberA.size() != numberB.size() ? numberA.size() < numberB.size() : numberA < numberB;
            }
            i = endA;
            j = endB;
            continue;
        }
        if (a[i] != b[j]) {
            return a[i] < b[j];
        }
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

std::string DeviceDescription(const SerialDeviceInfo& device)
{
    if (!device.Product.empty()) {
        if (device.Manufacturer.empty() || device.Product.rfind(device.Manufacturer, 0) == 0) {
            return device.Product;
        }
        return device.Manufacturer + " " + device.Product;
    }
    const std::string kind = device.UsbId.empty() ? "Serial port" : "USB serial device";
    return device.Driver.empty() ? kind : kind + " (" + device.Driver + ")";
}

std::string PreferredDevicePath(const SerialDeviceInfo& device)
{
    return device.ById.empty() ? device.Path : device.ById;
}

