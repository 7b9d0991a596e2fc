#include "CQuorvinApp.h"

#include "AboutBox.h"
#include "CMainFrame.h"
#include "CQuorvinDoc.h"
#include "CQuorvinView.h"
#include "CommandTable.h"
#include "CommunicationLogWindow.h"
#include "ConfigurationCheckCommand.h"
#include "DeviceImage.h"
#include "FileChangeEvent.h"
#include "OperationsLogWindow.h"
#include "PortDialog.h"
#include "PortName.h"
#include "QtWindowSystem.h"

#include <QClipboard>
#include <QGuiApplication>

#include <functional>
#include <utility>

CQuorvinApp::CQuorvinApp(StartOptions options, std::unique_ptr<ProfileStore> profile)
    : options_(std::move(options)),
      profile_(profile ? std::move(profile) : std::make_unique<ProfileStore>()),
      recentFiles_(*profile_, kRecentFileCount)
{
}

CQuorvinApp::~CQuorvinApp()
{
    if (ui_) {
        ui_->Detach();
    }
    frame_.reset();
    document_.reset();
    ui_.reset();
}

void CQuorvinApp::InitInstance()
{
    FileChangeEventType();
    recentFiles_.Load();

    ui_ = std::make_unique<QtWindowSystem>(*profile_, recentFiles_);
    document_ = std::make_unique<CQuorvinDoc>(*ui_, options_.CommandLine);
    frame_ = std::make_unique<CMainFrame>();
    view_ = new CQuorvinView(*document_);
    frame_->setCentralWidget(view_);
    ui_->Attach(frame_.get(), view_);
    frame_->SetRecentFiles(recentFiles_.Paths());
    RegisterCommands();
    frame_->SetCommandChecked(CommandId::SettingsBackupBeforeDownload, document_->BackupBeforeDownloadOn);

    // A file that cannot be opened leaves the new untitled configuration;
    // the program goes on with it.
    document_->FileNew();
    if (!options_.File.empty()) {
        document_->FileOpenPath(options_.File);
    }
    view_->OnInitialUpdate();
    frame_->show();
    if (!options_.ImportXrf.empty()) {
        document_->ImportXrfFile(options_.ImportXrf);
    }
}

void CQuorvinApp::RegisterCommands()
{
    using namespace CommandId;
    CQuorvinDoc& document = *document_;
    CQuorvinView& view = *view_;
    // A command without a line here has no operation and stays disabled.
    const std::pair<int, std::function<void()>> handlers[] = {
        {FileNew, [this] { OnFileNew(); }},
        {FileOpen, [this] { OnFileOpen(); }},
        {FileSave, [&document] { document.FileSave(); }},
        {FileSaveAs, [&document] { document.FileSaveAs(); }},
        {FileExportCsv, [&document] { document.OnExportCsv(); }},
        {ImportXrf, [&document] { document.OnImportXrf(); }},
        {FilePrint, [&view] { view.OnFilePrint(); }},
        {AppAbout, [this] { OnAppAbout(); }},
        {DeviceDownload, [&document] { document.OnDownloadConfiguration(); }},
        {DeviceDownloadV200, [&document] { document.OnDownloadConfigurationAs(kFormatVersion200); }},
        {DeviceDownloadV102, [&document] { document.OnDownloadConfigurationAs(kFormatVersion102); }},
        {DeviceUpload, [&document] { document.OnUploadConfiguration(); }},
        {DeviceDownloadArchive, [&document] { document.OnDownloadArchive(); }},
        {DeviceUploadArchive, [&document] { document.OnUploadArchive(); }},
        {DeviceUploadDiagnostics, [&document] { document.OnUploadDiagnostics(); }},
        {DeviceClearDiagnostics, [&document] { document.OnClearDiagnostics(); }},
        {DeviceFirmwareVersion, [&document] { document.OnGetFirmwareVersion(); }},
        {DeviceCheckConfiguration, [&document, &view] { RunConfigurationCheck(document, view); }},
        {DeviceVerifyConfiguration, [&document] { document.OnVerifyConfiguration(); }},
        {DeviceCompareWithGateway, [&document] { document.OnCompareWithGateway(); }},
        {EditUndo, [&document] { document.OnEditUndo(); }},
        {EditRedo, [&document] { document.OnEditRedo(); }},
        {EditCut, [&view] { view.CutPoints(); }},
        {EditCopy, [&view] { view.CopyPoints(); }},
        {EditPaste, [&view] { view.PastePoints(); }},
        {EditFind, [&view] { view.ShowFind(); }},
        {ComPort1, [&document] { document.OnSelectComPort(1); }},
        {ComPort1 + 1, [&document] { document.OnSelectComPort(2); }},
        {ComPort1 + 2, [&document] { document.OnSelectComPort(3); }},
        {ComPort1 + 3, [&document] { document.OnSelectComPort(4); }},
        {ComPortOther, [this] { OnOtherPort(); }},
        {ViewCommunicationLog, [this] { OnViewCommunicationLog(); }},
        {ViewOperationsLog, [this] { OnViewOperationsLog(); }},
        {SettingsBackupBeforeDownload,
         [this, &document] {
             document.OnToggleBackupBeforeDownload();
             frame_->SetCommandChecked(SettingsBackupBeforeDownload, document.BackupBeforeDownloadOn);
         }},
        {SlaveAdd, [&document] { document.OnSlaveAdd(); }},
        {SlaveRemove, [&document] { document.OnSlaveRemove(); }},
        {SlaveSetAddress, [&document] { document.OnSlaveSetAddress(); }},
        {SlavePrioritizeOn, [&document] { document.OnPrioritize(true); }},
        {SlavePrioritizeOff, [&document] { document.OnPrioritize(false); }},
        {SlaveImport, [&document] { document.OnSlaveImport(); }},
        {ViewRefresh, [&document] { document.OnRefresh(); }},
        {PointAddAnalogInput, [&view] { view.AddPoint(LineKind::AnalogInput); }},
        {PointAddDigitalInput, [&view] { view.AddPoint(LineKind::DigitalInput); }},
        {PointAddAnalogOutput, [&view] { view.AddPoint(LineKind::AnalogOutput); }},
        {PointAddDigitalOutput, [&view] { view.AddPoint(LineKind::DigitalOutput); }},
        {PointAddIndirectMessage, [&view] { view.AddPoint(LineKind::IndirectMessage); }},
        {PointDuplicate, [&view] { view.DuplicateSelectedLine(); }},
    };
    for (const auto& [commandId, handler] : handlers) {
        frame_->SetCommandHandler(commandId, handler);
    }
    frame_->SetRecentFileHandler([this](int index) { OnOpenRecentFile(index); });
    frame_->SetCloseGuard([this, &document] { return !ui_->HoldCloseForOperation() && document.SaveModified(); });
    frame_->SetFileDropHandler([this](const std::string& path) { OpenFile(path); });
    frame_->SetDocumentModified(document.IsModified());
    frame_->SetPortSource([&document] { return document.PortDevicePath(); });
    // What works on a slave is off while there is none.
    QObject::connect(view_, &CQuorvinView::SlavesAvailable, frame_.get(), [this](bool available) {
        frame_->SetCommandsEnabled({SlaveSetAddress, SlavePrioritizeOn, SlavePrioritizeOff, PointAddAnalogInput,
                                    PointAddDigitalInput, PointAddAnalogOutput, PointAddDigitalOutput,
                                    PointAddIndirectMessage, PointDuplicate},
                                   available);
    });
    QObject::connect(view_, &CQuorvinView::EditCommandsChanged, frame_.get(), [this] { UpdateEditCommands(); });
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, frame_.get(),
                     [this] { UpdateEditCommands(); });
    UpdateEditCommands();
}

void CQuorvinApp::UpdateEditCommands()
{
    using namespace CommandId;
    frame_->EnableCommand(EditUndo, document_->CanUndo());
    frame_->EnableCommand(EditRedo, document_->CanRedo());
    const bool canCopy = view_->CanCopyPoints();
    frame_->EnableCommand(EditCut, canCopy);
    frame_->EnableCommand(EditCopy, canCopy);
    frame_->EnableCommand(EditPaste, view_->CanPastePoints());
}

void CQuorvinApp::OnFileNew()
{
    if (document_->FileNew()) {
        view_->OnInitialUpdate();
    }
}

void CQuorvinApp::OnFileOpen()
{
    if (document_->FileOpen()) {
        view_->OnInitialUpdate();
    }
}

void CQuorvinApp::OpenFile(const std::string& path)
{
    if (document_->FileOpenPath(path)) {
        view_->OnInitialUpdate();
    }
}

void CQuorvinApp::OnOpenRecentFile(int index)
{
    if (index < 0 || index >= static_cast<int>(recentFiles_.Paths().size())) {
        return;
    }
    const std::string path = recentFiles_.Paths()[static_cast<std::size_t>(index)];
    switch (document_->OpenPath(path)) {
    case CQuorvinDoc::OpenOutcome::Opened:
        view_->OnInitialUpdate();
        break;
    case CQuorvinDoc::OpenOutcome::Failed:
        // A file that cannot be read is dropped from the list.
        recentFiles_.Remove(index);
        frame_->SetRecentFiles(recentFiles_.Paths());
        break;
    case CQuorvinDoc::OpenOutcome::Cancelled:
        break;
    }
}

void CQuorvinApp::OnOtherPort()
{
    PortDialog dialog(document_->PortDevicePath(), frame_.get(), "/", RecentNetworkPorts(*ui_));
    if (dialog.exec() == QDialog::Accepted) {
        document_->OnSelectPortDevice(dialog.DevicePath());
    }
}

void CQuorvinApp::OnAppAbout()
{
    AboutBox about(frame_.get());
    about.exec();
}

void CQuorvinApp::OnViewCommunicationLog()
{
    if (logWindow_ == nullptr) {
        logWindow_ = new CommunicationLogWindow(ui_->Log(), *ui_, frame_.get());
    }
    logWindow_->show();
    logWindow_->raise();
    logWindow_->activateWindow();
}

void CQuorvinApp::OnViewOperationsLog()
{
    if (operationsLogWindow_ == nullptr) {
        operationsLogWindow_ = new OperationsLogWindow(document_->OperationsLogPath, frame_.get());
    }
    operationsLogWindow_->show();
    operationsLogWindow_->raise();
    operationsLogWindow_->activateWindow();
    operationsLogWindow_->Reload();
}
