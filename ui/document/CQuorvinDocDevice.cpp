// The document's Device menu commands: the guards, then the device
// operations on the document's serial link and COM port.
#include "CQuorvinDoc.h"

#include "ArchiveTransfer.h"
#include "ConfigFile.h"
#include "ConfigurationBackup.h"
#include "ConfigurationDiff.h"
#include "ConfigurationDownload.h"
#include "ConfigurationUpload.h"
#include "ConfigurationVerify.h"
#include "DeviceImage.h"
#include "DiagnosticsTransfer.h"
#include "FirmwareVersion.h"
#include "GatewayJob.h"
#include "PortName.h"
#include "SerialLink.h"
#include "Sha256.h"

namespace {

DeviceConnection ConnectionOf(CQuorvinDoc& document)
{
    DocumentHost& host = document.Ui();
    return {document.Link(), document.PortDevicePath(), host,
            [&host](const DiagnosticsRecord& record) { host.ShowDiagnostics(record); }};
}

}  // namespace

// An upload replaces the document: the new-document step first (the
// document becomes "Untitled"), and afterwards the slave list follows the
// loaded points and the document counts as modified, with a history of its own.
class DocumentUploadTarget : public ConfigurationUploadTarget {
public:
    explicit DocumentUploadTarget(CQuorvinDoc& document) : document_(document) {}

    ConfigTemplate& NewConfiguration() override
    {
        document_.OnNewDocument();
        return document_.content_->Config;
    }

    void TextReceived(const std::string& text) override { digest_ = Sha256Hex(text); }
    const std::string& Digest() const { return digest_; }

    void InUseApplied() override { document_.Ui().UpdateAllViews(); }

    void ConfigurationLoaded() override
    {
        document_.RebuildSlaveList();
        document_.StartHistory(true);
        document_.Ui().UpdateAllViews();
    }

private:
    CQuorvinDoc& document_;
    std::string digest_;
};

void CQuorvinDoc::RunOperation(const std::string& action,
                               const std::function<bool(DeviceConnection&, OperationRecord&)>& operation)
{
    DeviceConnection connection = ConnectionOf(*this);
    const OperationLog log = Log();
    const std::string port = PortName();
    ui_.RunDeviceOperation(*link_, [&] { RunLoggedOperation(log, action, port, connection, operation); });
}

OperationLog CQuorvinDoc::Log()
{
    DocumentHost& host = ui_;
    return {"halvex", OperationsLogPath, [&host](const std::string& warning) { host.SetStatusText(warning); }};
}

std::string CQuorvinDoc::PortName() const
{
    if (comPort_ == kComPortDevicePath && !portDevice_.empty()) {
        return portDevice_;
    }
    return "COM" + std::to_string(comPort_);
}

std::string CQuorvinDoc::PortDevicePath()
{
    if (comPort_ == kComPortDevicePath && !portDevice_.empty()) {
        return portDevice_;
    }
    return ComPortDevicePath(comPort_, ui_);
}

void CQuorvinDoc::OnDownloadConfiguration()
{
    if (DownloadGuard(true)) {
        Download(kFormatVersion200);
    }
}

void CQuorvinDoc::OnDownloadConfigurationAs(int formatVersion)
{
    if (DownloadGuard(false)) {
        Download(formatVersion);
    }
}

void CQuorvinDoc::Download(int formatVersion)
{
    RunOperation("download", [&](DeviceConnection& connection, OperationRecord& record) {
        record.File = pathName_;
        record.Sha256 = Sha256Hex(ConfigFileText(content_->Config, false));
        if (BackupBeforeDownloadOn &&
            !BackupBeforeDownload(Log(), PortName(), connection, BackupFolder, BackupNameOf(pathName_))) {
            return false;
        }
        return DownloadConfiguration(connection, content_->Config, formatVersion) == DownloadOutcome::Succeeded;
    });
}

void CQuorvinDoc::OnUploadConfiguration()
{
    if (!UploadGuard()) {
        return;
    }
    DocumentUploadTarget target(*this);
    RunOperation("upload", [&](DeviceConnection& connection, OperationRecord& record) {
        const bool loaded = UploadConfiguration(connection, target) == UploadOutcome::Loaded;
        record.Sha256 = target.Digest();
        return loaded;
    });
}

void CQuorvinDoc::OnDownloadArchive()
{
    RunOperation("archive-download", [](DeviceConnection& connection, OperationRecord&) {
        return DownloadArchive(connection);
    });
}

void CQuorvinDoc::OnUploadArchive()
{
    RunOperation("archive-upload", [](DeviceConnection& connection, OperationRecord&) {
        return UploadArchive(connection);
    });
}

void CQuorvinDoc::OnUploadDiagnostics()
{
    RunOperation("diagnostics", [](DeviceConnection& connection, OperationRecord&) {
        return UploadDiagnostics(connection).has_value();
    });
}

void CQuorvinDoc::OnClearDiagnostics()
{
    RunOperation("clear-diagnostics", [](DeviceConnection& connection, OperationRecord&) {
        return ClearDiagnostics(connection);
    });
}

void CQuorvinDoc::OnGetFirmwareVersion()
{
    RunOperation("firmware", [](DeviceConnection& connection, OperationRecord& record) {
        const auto version = QueryFirmwareVersion(connection);
        if (version) {
            record.Firmware = FirmwareRecordText(*version);
        }
        return version.has_value();
    });
}

std::optional<ConfigurationCheck> CQuorvinDoc::OnCheckConfiguration()
{
    if (!ui_.CommitForm()) {
        return std::nullopt;
    }
    return CheckConfiguration(content_->Config, content_->AddedSlaves);
}

void CQuorvinDoc::OnCompareWithGateway()
{
    if (!ui_.CommitForm()) {
        return;
    }
    std::optional<std::vector<std::string>> differences;
    RunOperation("compare", [&](DeviceConnection& connection, OperationRecord& record) {
        record.File = pathName_;
        if (const auto gateway = UploadForComparison(connection)) {
            // What a download of the document would change on the gateway.
            differences = DiffConfigurations(*gateway, content_->Config);
        }
        return differences.has_value();
    });
    if (differences && ui_.ShowGatewayDifferences(*differences)) {
        OnDownloadConfiguration();
    }
}

void CQuorvinDoc::OnVerifyConfiguration()
{
    if (!ui_.CommitForm()) {
        return;
    }
    RunOperation("verify", [&](DeviceConnection& connection, OperationRecord& record) {
        record.File = pathName_;
        record.Sha256 = Sha256Hex(ConfigFileText(content_->Config, false));
        const auto difference = VerifyConfiguration(connection, content_->Config);
        if (!difference) {
            return false;
        }
        ReportVerifyResult(connection.Ui, *difference);
        record.Verify = difference->Equal() ? "equal" : "different";
        return difference->Equal();
    });
}
