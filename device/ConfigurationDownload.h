#pragma once

#include "ConfigTemplate.h"
#include "DeviceConnection.h"
#include "DownloadRules.h"

enum class DownloadOutcome {
    Failed,     // not sent, or the transfer failed
    Refused,    // the gateway answered 0xFF or 0xFE
    Succeeded,
};

// Sends the configuration to the gateway (command 16) as one checksummed
// block: the device image in the layout of formatVersion, then the
// configuration file text behind its length. Checks first that every setting
// lies in the main form's ranges (a notice with the form's message and the
// setting), then the limits; every
// outcome is reported in a message box, a refusal with a second line that
// names the point concerned.
DownloadOutcome DownloadConfiguration(DeviceConnection& connection, const ConfigTemplate& config, int formatVersion);
