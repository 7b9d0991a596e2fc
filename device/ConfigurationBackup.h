#pragma once

#include "DeviceConnection.h"

#include <ctime>
#include <string>

enum class BackupOutcome {
    Saved,         // the gateway's configuration is in the backup file
    GatewayEmpty,  // the gateway holds no configuration yet: nothing to keep
    Failed,        // nothing could be fetched or the file not written
};

struct BackupResult {
    BackupOutcome Outcome = BackupOutcome::Failed;
    std::string Path;  // the backup file, when saved
    std::string Text;  // the configuration text the gateway gave
};

// "NAME-YYYYMMDD-HHMMSS.hxc" for the local time `when`.
std::string BackupFileName(const std::string& name, std::time_t when);

// Fetches the configuration text the gateway keeps (command 17) and writes it
// unchanged into the directory as BackupFileName(name, now), with "-2", "-3"
// ... before the extension when that file exists already. Every outcome is
// shown: the file written, a gateway without a configuration (which answers
// the upload with its error bit) as a notice, a failure as an error box.
BackupResult BackupConfiguration(DeviceConnection& connection, const std::string& directory,
                                 const std::string& name);

// The name to file a backup under for a configuration file: its base name
// without the extension ("gw1" for /plans/gw1.hxc), "Untitled" for none.
std::string BackupNameOf(const std::string& configurationPath);
