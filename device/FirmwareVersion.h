#pragma once

#include "DeviceConnection.h"

#include <optional>
#include <string>

// "Firmware version : %d.%02d build %d" of the reply's major, minor and build
// bytes.
std::string FirmwareVersionText(int major, int minor, int build);

// The major, minor and build bytes of the gateway's reply.
struct FirmwareVersion {
    int Major = 0;
    int Minor = 0;
    int Build = 0;
};

// Asks the gateway for its firmware version (command 2) and shows it in a
// message box captioned "Firmware"; the version, or no value (after an
// error box) when it cannot be had. A reply of fewer than 3 bytes is a
// failure.
std::optional<FirmwareVersion> QueryFirmwareVersion(DeviceConnection& connection);

// The same, giving the text shown.
std::optional<std::string> GetFirmwareVersion(DeviceConnection& connection);
