#pragma once

#include "ConfigTemplate.h"
#include "DeviceConnection.h"

// Input and output bytes the gateway's Profibus areas offer the points, and
// the other limits of a download.
inline constexpr int kMaxDownloadInputBytes = 242;
inline constexpr int kMaxDownloadOutputBytes = 244;
inline constexpr int kMaxDownloadIndirectMessages = 127;
inline constexpr std::size_t kMaxOnlinePollCommandLength = 17;

enum class DownloadOutcome {
    Failed,     // not sent, or the transfer failed
    Refused,    // the gateway answered 0xFF or 0xFE
    Succeeded,
};

// Sends the configuration to the gateway (command 16) as one checksummed
// block: the device image in the layout of formatVersion, then the
// configuration file text behind its length. Checks the limits first; every
// outcome is reported in a message box.
DownloadOutcome DownloadConfiguration(DeviceConnection& connection, const ConfigTemplate& config, int formatVersion);
