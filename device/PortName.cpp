#include "PortName.h"

#include <algorithm>
#include <cctype>

std::string ComPortDevicePath(int comPort, WindowSystem& ui)
{
    const std::string number = std::to_string(comPort);
    if (const auto named = ui.ReadProfileString("Settings", "COM" + number + "Device"); named && !named->empty()) {
        return *named;
    }
    return "/dev/ttyS" + std::to_string(comPort - 1);
}

std::optional<std::string> PortArgumentDevicePath(const std::string& argument, WindowSystem& ui)
{
    if (argument.empty()) {
        return std::nullopt;
    }
    const bool comName = argument.size() > 3 &&
                         std::equal(argument.begin(), argument.begin() + 3, "COM",
                                    [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; }) &&
                         std::all_of(argument.begin() + 3, argument.end(),
                                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
    if (!comName) {
        return argument;
    }
    if (argument.size() != 4 || argument[3] < '1' || argument[3] > '4') {
        return std::nullopt;
    }
    return ComPortDevicePath(argument[3] - '0', ui);
}

namespace {

std::string RecentKey(int index) { return "NetworkPort" + std::to_string(index + 1); }

}  // namespace

std::vector<std::string> RecentNetworkPorts(WindowSystem& ui)
{
    std::vector<std::string> addresses;
    for (int i = 0; i < kRecentNetworkPorts; ++i) {
        if (auto address = ui.ReadProfileString("Settings", RecentKey(i)); address && !address->empty()) {
            addresses.push_back(std::move(*address));
        }
    }
    return addresses;
}

void RememberNetworkPort(const std::string& address, WindowSystem& ui)
{
    std::vector<std::string> addresses = RecentNetworkPorts(ui);
    std::erase(addresses, address);
    addresses.insert(addresses.begin(), address);
    for (int i = 0; i < kRecentNetworkPorts; ++i) {
        const auto index = static_cast<std::size_t>(i);
        ui.WriteProfileString("Settings", RecentKey(i), index < addresses.size() ? addresses[index] : "");
    }
}
