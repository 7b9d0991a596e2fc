#pragma once

#include "BatchManifest.h"
#include "ConfigTemplate.h"
#include "FirmwareVersion.h"
#include "LoggedOperation.h"

#include <memory>
#include <string>

// A manifest line made ready to run: its port's device path, the
// configuration it sends or compares (download, verify) read beforehand,
// and the folder for backups (empty: none before a download).
struct GatewayJob {
    ManifestLine Line;
    std::string DevicePath;
    std::shared_ptr<const ConfigTemplate> Config;
    std::string BackupDirectory;
};

// Runs the line's action on the connection as one logged operation (and,
// before a download with a backup folder, the logged backup):
//   download     the plain download (no slaves: refused), backup first
//   verify       does the gateway hold the file's configuration?
//   upload       the gateway's configuration into the file
//   backup       the gateway's configuration into the backup folder
//   firmware     the firmware version
//   diagnostics  the diagnostics; their fields into the file, if one is named
LoggedOutcome RunGatewayJob(const GatewayJob& job, const OperationLog& log, DeviceConnection& connection);

// "1.05 build 12": the firmware version as the log keeps it.
std::string FirmwareRecordText(const FirmwareVersion& version);
