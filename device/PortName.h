#pragma once

#include "WindowSystem.h"

#include <optional>
#include <string>
#include <vector>

// COM ports 1 to 4 of the settings are serial devices on this system: COMn is
// /dev/ttyS(n-1) unless the profile names another device for it
// ("Settings"/"COMnDevice", for example /dev/ttyUSB0).
std::string ComPortDevicePath(int comPort, WindowSystem& ui);

// A port as the user names it on the command line: COM1 to COM4 (any letter
// case), mapped as above, a device path or a network address
// (socket://HOST:PORT, rfc2217://HOST:PORT). No value for a COM name outside
// 1 to 4 or an empty text.
std::optional<std::string> PortArgumentDevicePath(const std::string& argument, WindowSystem& ui);

// How many network addresses the profile remembers for the Other Port dialog.
inline constexpr int kRecentNetworkPorts = 5;

// The network addresses chosen last, the latest first ("Settings"/
// "NetworkPort1" to "NetworkPort5").
std::vector<std::string> RecentNetworkPorts(WindowSystem& ui);
// Puts the address first among them, once, and forgets the oldest beyond
// kRecentNetworkPorts.
void RememberNetworkPort(const std::string& address, WindowSystem& ui);
