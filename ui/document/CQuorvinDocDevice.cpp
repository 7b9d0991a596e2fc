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

// An upload replaces the document: the new-document step first (the
// document becomes "Untitled"), and afterwards the slave list follows the
// loaded points and the document counts as modified.
class DocumentUploadTarget : public ConfigurationUploadTarget {
public:
    explicit DocumentUploadTarget(CQuorvinDoc& document) : document_(document) {}

    ConfigTemplate& NewConfiguration() override
    {
        document_.OnNewDocument();
        return document_.Config();
    }

    void InUseApplied() override { document_.Ui().UpdateAllViews(); }

    void ConfigurationLoaded() override
    {
        document_.RebuildSlaveList();
        document_.SetModifiedFlag(true);
        document_.Ui().UpdateAllViews();
    }

private:
    CQuorvinDoc& document_;
};

}  // namespace

void CQuorvinDoc::RunOperation(const std::function<void()>& operation) { ui_.RunDeviceOperation(*link_, operation); }

std::string CQuorvinDoc::PortDevicePath()
{
    if (ComPort == kComPortDevicePath && !PortDevice.empty()) {
        return PortDevice;
    }
    return ComPortDevicePath(ComPort, ui_);
}

void CQuorvinDoc::OnDownloadConfiguration()
{
    if (!DownloadGuard(true)) {
        return;
    }
    DeviceConnection connection = ConnectionOf(*this);
    RunOperation([&] { DownloadConfiguration(connection, *config_, kFormatVersion200); });
}

void CQuorvinDoc::OnDownloadConfigurationAs(int formatVersion)
{
    if (!DownloadGuard(false)) {
        return;
    }
    DeviceConnection connection = ConnectionOf(*this);
    RunOperation([&] { DownloadConfiguration(connection, *config_, formatVersion); });
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
    return CheckConfiguration(*config_, AddedSlaves);
}

void CQuorvinDoc::OnVerifyConfiguration()
{
    if (!ui_.CommitForm()) {
        return;
    }
    DeviceConnection connection = ConnectionOf(*this);
    RunOperation([&] {
        if (const auto difference = VerifyConfiguration(connection, *config_)) {
            ReportVerifyResult(ui_, *difference);
        }
    });
}
