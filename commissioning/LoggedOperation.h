#pragma once

#include "DeviceConnection.h"
#include "MessageRecorder.h"
#include "OperationRecord.h"

#include <functional>
#include <string>

// Where a program's operations are logged, and how it is told that the log
// could not be written (standard error, the status line): a warning only,
// never a failed operation.
struct OperationLog {
    std::string Program;
    std::string Path;
    std::function<void(const std::string& warning)> Warn = {};

    // Appends the record; a failure goes to Warn.
    void Append(const OperationRecord& record) const;
};

// The operation as it ended: its record and whether it succeeded.
struct LoggedOutcome {
    bool Succeeded = false;
    OperationRecord Record;
};

// Runs a device operation with a recorder in front of the connection's
// window system, so that the user sees everything as always and the record
// gets the operation's last message; the operation fills in the file, the
// digest, the firmware and the verify result. The result is ok when it
// returned true, cancelled when the link was cancelled, else failed. The
// record is appended to the log.
LoggedOutcome RunLoggedOperation(const OperationLog& log, const std::string& action, const std::string& port,
                                 DeviceConnection& connection,
                                 const std::function<bool(DeviceConnection&, OperationRecord&)>& operation);

// Backs up what the gateway holds into the folder before a download, as its
// own logged operation ("backup"), named after `name`. True when the
// download may go on: the backup was written or the gateway held nothing.
bool BackupBeforeDownload(const OperationLog& log, const std::string& port, DeviceConnection& connection,
                          const std::string& directory, const std::string& name);

// The message after a failed backup: the download did not run.
inline constexpr const char* kDownloadNotStarted =
    "Configuration not downloaded: the gateway's configuration was not backed up";
