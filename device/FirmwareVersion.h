#pragma once

#include "DeviceConnection.h"

#include <optional>
#include <string>

// "Firmware version : %d.%02d build %d" of the reply's major, minor and build
// bytes.
std::string FirmwareVersionText(int major, int minor, int build);

// Asks the gateway for its firmware version (command 2) and shows it in a
// message box captioned "Firmware"; the text shown, or no value (after an
// error box) when it cannot be had. A reply of fewer than 3 bytes is a
// failure.
std::optional<std::string> GetFirmwareVersion(DeviceConnection& connection);
