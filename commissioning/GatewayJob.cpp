#include "GatewayJob.h"

#include "ConfigFile.h"
#include "ConfigurationBackup.h"
#include "ConfigurationDownload.h"
#include "ConfigurationUpload.h"
#include "ConfigurationVerify.h"
#include "DeviceImage.h"
#include "DiagnosticsTransfer.h"
#include "FileAccess.h"
#include "FirmwareVersion.h"
#include "Sha256.h"
#include "SlaveSet.h"

#include <cstdio>

namespace {

// The uploaded configuration is kept in memory until it can be written.
class UploadIntoMemory : public ConfigurationUploadTarget {
public:
    ConfigTemplate& NewConfiguration() override { return config_; }
    void TextReceived(const std::string& text) override { text_ = text; }
    void ConfigurationLoaded() override {}
    const ConfigTemplate& Config() const { return config_; }
    const std::string& Text() const { return text_; }

private:
    ConfigTemplate config_;
    std::string text_;
};

bool Download(const GatewayJob& job, DeviceConnection& connection, OperationRecord& record)
{
    const std::string text = ConfigFileText(*job.Config, false);
    record.File = job.Line.File;
    record.Sha256 = Sha256Hex(text);
    if (SlaveCount(CollectSlaveAddresses(*job.Config)) == 0) {
        connection.Ui.Notice(kNoSlavesNotice);
        return false;
    }
    return DownloadConfiguration(connection, *job.Config, kFormatVersion200) == DownloadOutcome::Succeeded;
}

bool Verify(const GatewayJob& job, DeviceConnection& connection, OperationRecord& record)
{
    record.File = job.Line.File;
    record.Sha256 = Sha256Hex(ConfigFileText(*job.Config, false));
    const auto difference = VerifyConfiguration(connection, *job.Config);
    if (!difference) {
        return false;
    }
    ReportVerifyResult(connection.Ui, *difference);
    record.Verify = difference->Equal() ? "equal" : "different";
    return difference->Equal();
}

bool Upload(const GatewayJob& job, DeviceConnection& connection, OperationRecord& record)
{
    record.File = job.Line.File;
    UploadIntoMemory target;
    const UploadOutcome outcome = UploadConfiguration(connection, target);
    if (!target.Text().empty()) {
        record.Sha256 = Sha256Hex(target.Text());
    }
    return outcome == UploadOutcome::Loaded && SaveConfigFile(target.Config(), job.Line.File, false, connection.Ui);
}

bool Backup(const GatewayJob& job, DeviceConnection& connection, OperationRecord& record)
{
    const BackupResult result = BackupConfiguration(connection, job.BackupDirectory, job.Line.Name);
    record.File = result.Path;
    if (result.Outcome == BackupOutcome::Saved) {
        record.Sha256 = Sha256Hex(result.Text);
    }
    return result.Outcome != BackupOutcome::Failed;
}

bool Firmware(DeviceConnection& connection, OperationRecord& record)
{
    const auto version = QueryFirmwareVersion(connection);
    if (version) {
        record.Firmware = FirmwareRecordText(*version);
    }
    return version.has_value();
}

bool Diagnostics(const GatewayJob& job, DeviceConnection& connection, OperationRecord& record)
{
    const auto diagnostics = UploadDiagnostics(connection);
    if (!diagnostics) {
        return false;
    }
    std::string text;
    for (const DiagnosticsField& field : DiagnosticsFields(*diagnostics)) {
        text += std::string(field.Label) + ' ' + field.Value + '\n';
    }
    if (job.Line.File.empty()) {
        return true;
    }
    record.File = job.Line.File;
    if (!ReplaceFileContents(job.Line.File, text)) {
        connection.Ui.ErrorBox(kErrorCaption, "Unable to write " + job.Line.File);
        return false;
    }
    return true;
}

}  // namespace

std::string FirmwareRecordText(const FirmwareVersion& version)
{
    char text[48];
    std::snprintf(text, sizeof text, "%d.%02d build %d", version.Major, version.Minor, version.Build);
    return text;
}

LoggedOutcome RunGatewayJob(const GatewayJob& job, const OperationLog& log, DeviceConnection& connection)
{
    const BatchAction action = job.Line.Action;
    if (action == BatchAction::Download && !job.BackupDirectory.empty() &&
        !BackupBeforeDownload(log, job.Line.Port, connection, job.BackupDirectory, job.Line.Name)) {
        LoggedOutcome stopped{false, NewOperationRecord(log.Program, "download", job.Line.Port, job.DevicePath)};
        stopped.Record.File = job.Line.File;
        stopped.Record.Result = kResultFailed;
        stopped.Record.Message = kDownloadNotStarted;
        return stopped;
    }
    return RunLoggedOperation(log, BatchActionName(action), job.Line.Port, connection,
                              [&job, action](DeviceConnection& link, OperationRecord& record) {
                                  switch (action) {
                                  case BatchAction::Download:
                                      return Download(job, link, record);
                                  case BatchAction::Verify:
                                      return Verify(job, link, record);
                                  case BatchAction::Upload:
                                      return Upload(job, link, record);
                                  case BatchAction::Backup:
                                      return Backup(job, link, record);
                                  case BatchAction::Firmware:
                                      return Firmware(link, record);
                                  case BatchAction::Diagnostics:
                                      return Diagnostics(job, link, record);
                                  }
                                  return false;
                              });
}
