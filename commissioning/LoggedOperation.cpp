#include "LoggedOperation.h"

#include "ConfigurationBackup.h"
#include "Sha256.h"

void OperationLog::Append(const OperationRecord& record) const
{
    const AppendResult appended = AppendOperationRecord(Path, record);
    if (!appended.Written && Warn) {
        Warn("Warning: the operations log cannot be written: " + appended.Reason);
    }
}

LoggedOutcome RunLoggedOperation(const OperationLog& log, const std::string& action, const std::string& port,
                                 DeviceConnection& connection,
                                 const std::function<bool(DeviceConnection&, OperationRecord&)>& operation)
{
    LoggedOutcome outcome{false, NewOperationRecord(log.Program, action, port, connection.PortPath)};
    MessageRecorder recorder(&connection.Ui);
    DeviceConnection recorded{connection.Link, connection.PortPath, recorder, connection.ShowDiagnostics};
    outcome.Succeeded = operation(recorded, outcome.Record);
    if (outcome.Succeeded) {
        outcome.Record.Result = kResultOk;
    } else if (connection.Link.GetLastStatus() == kLinkCancelled || recorder.LastText() == kCancelledMessage) {
        outcome.Record.Result = kResultCancelled;
    } else {
        outcome.Record.Result = kResultFailed;
    }
    outcome.Record.Message = recorder.LastText();
    // The time the operation ended: when the gateway was written, or not.
    outcome.Record.Time = UtcTimestamp(std::time(nullptr));
    log.Append(outcome.Record);
    return outcome;
}

bool BackupBeforeDownload(const OperationLog& log, const std::string& port, DeviceConnection& connection,
                          const std::string& directory, const std::string& name)
{
    const LoggedOutcome backup =
        RunLoggedOperation(log, "backup", port, connection, [&](DeviceConnection& link, OperationRecord& record) {
            const BackupResult result = BackupConfiguration(link, directory, name);
            if (result.Outcome == BackupOutcome::Saved) {
                record.File = result.Path;
                record.Sha256 = Sha256Hex(result.Text);
            }
            return result.Outcome != BackupOutcome::Failed;
        });
    if (!backup.Succeeded) {
        connection.Ui.ErrorBox(kErrorCaption, kDownloadNotStarted);
    }
    return backup.Succeeded;
}
