// The document's Device menu commands: the guards, then the device
// operations on the document's serial link and COM port.
#include "CQuorvinDoc.h"

#include "ArchiveTransfer.h"
#include "ConfigurationDownload.h"
#include "ConfigurationUpload.h"
#include "ConfigurationVerify.h"
#include "DeviceImage.h"
#include "DiagnosticsTransfer.h"
#include "FirmwareVersion.h"
#include "PortName.h"
#include "SerialLink.h"

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

    void InUseApplied() override { document_.Ui().UpdateAllViews(); }

    void ConfigurationLoaded() override
    {
        document_.RebuildSlaveList();
        document_.StartHistory(true);
        document_.Ui().UpdateAllViews();
    }

private:
    CQuorvinDoc& document_;
};

void CQuorvinDoc::RunOperation(const std::function<void()>& operation) { ui_.RunDeviceOperation(*link_, operation); }

std::string CQuorvinDoc::PortDevicePath()
{
    if (comPort_ == kComPortDevicePath && !portDevice_.empty()) {
        return portDevice_;
    }
    return ComPortDevicePath(comPort_, ui_);
}

void CQuorvinDoc::OnDownloadConfiguration()
{
    if (!DownloadGuard(true)) {
        return;
    }
    DeviceConnection connection = ConnectionOf(*this);
    RunOperation([&] { DownloadConfiguration(connection, content_->Config, kFormatVersion200); });
}

void CQuorvinDoc::OnDownloadConfigurationAs(int formatVersion)
{
    if (!DownloadGuard(false)) {
        return;
    }
    DeviceConnection connection = ConnectionOf(*this);
    RunOperation([&] { DownloadConfiguration(connection, content_->Config, formatVersion); });
}

void CQuorvinDoc::OnUploadConfiguration()
{
    if (!UploadGuard()) {
        return;
    }
    DeviceConnection connection = ConnectionOf(*this);
    DocumentUploadTarget target(*this);
    RunOperation([&] { UploadConfiguration(connection, target); });
}

void CQuorvinDoc::OnDownloadArchive()
{
    DeviceConnection connection = ConnectionOf(*this);
    RunOperation([&] { DownloadArchive(connection); });
}

void CQuorvinDoc::OnUploadArchive()
{
    DeviceConnection connection = ConnectionOf(*this);
    RunOperation([&] { UploadArchive(connection); });
}

void CQuorvinDoc::OnUploadDiagnostics()
{
    DeviceConnection connection = ConnectionOf(*this);
    RunOperation([&] { UploadDiagnostics(connection); });
}

void CQuorvinDoc::OnClearDiagnostics()
{
    DeviceConnection connection = ConnectionOf(*this);
    RunOperation([&] { ClearDiagnostics(connection); });
}

void CQuorvinDoc::OnGetFirmwareVersion()
{
    DeviceConnection connection = ConnectionOf(*this);
    RunOperation([&] { GetFirmwareVersion(connection); });
}

std::optional<ConfigurationCheck> CQuorvinDoc::OnCheckConfiguration()
{
    if (!ui_.CommitForm()) {
        return std::nullopt;
    }
    return CheckConfiguration(content_->Config, content_->AddedSlaves);
}

void CQuorvinDoc::OnVerifyConfiguration()
{
    if (!ui_.CommitForm()) {
        return;
    }
    DeviceConnection connection = ConnectionOf(*this);
    RunOperation([&] {
        if (const auto difference = VerifyConfiguration(connection, content_->Config)) {
            ReportVerifyResult(ui_, *difference);
        }
    });
}
