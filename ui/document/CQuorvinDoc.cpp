// The document: lifecycle, the framework's file commands, the slave
// commands, the COM port setting and the guards of the device commands.
#include "CQuorvinDoc.h"

#include "AbsolutePath.h"
#include "ConfigFile.h"
#include "DocumentWatcher.h"
#include "FileAccess.h"
#include "NetworkAddress.h"
#include "PathText.h"
#include "PortName.h"
#include "SerialLink.h"
#include "UserState.h"

#include <algorithm>

namespace {

constexpr const char* kRemoveCaption = "Remove?";
constexpr const char* kRemoveSlaveQuestion = "Do you really want to remove the slave and all of its parameters?";
constexpr const char* kSixteenSlavesNotice = "There are already 16 slaves configured";
constexpr const char* kAddressInUseNotice = "Slave address already in use!";
constexpr const char* kRegionalSettingsWarning = "Warning: Unable to detect regional settings - reverting to default.";
constexpr const char* kUntitled = "Untitled";
constexpr const char* kOverwriteCaption = "Overwrite?";

FileDialogRequest ConfigurationFileDialog(const std::string& initialName, bool forSaving)
{
    FileDialogRequest request;
    request.Filter = std::string(kConfigurationFileFilterName) + "|*" + kConfigurationFileExtension + "||";
    request.DefaultExtension = std::string(kConfigurationFileExtension).substr(1);
    request.InitialName = initialName;
    request.ConfirmOverwrite = forSaving;
    return request;
}

// Applies change(slaveAddress) to the slave address of every point of the five lists.
template <typename Change>
void ForEachSlaveAddress(ConfigTemplate& config, Change change)
{
    auto apply = [&change](auto& list) {
        for (auto& point : list) {
            change(point.SlaveAddress);
        }
    };
    apply(config.AnalogInputs);
    apply(config.DigitalInputs);
    apply(config.AnalogOutputs);
    apply(config.DigitalOutputs);
    apply(config.IndirectMessages);
}

// Removes the address from the table, closing the gap; free entries stay at the end.
void RemoveSlaveAddress(SlaveAddressTable& table, int address)
{
    const auto end = std::remove(table.begin(), table.end(), address);
    std::fill(end, table.end(), -1);
}

bool Contains(const SlaveAddressTable& table, int address)
{
    return address != -1 && std::find(table.begin(), table.end(), address) != table.end();
}

std::string ChangedOnDiskQuestion(const std::string& path)
{
    return "File " + path +
           " has been changed by another application since it was read or saved here.\nDo you want to overwrite it?";
}

}  // namespace

CQuorvinDoc::CQuorvinDoc(DocumentHost& ui, const std::string& commandLine)
    : ui_(ui),
      watcher_(std::make_unique<DocumentWatcher>(ui)),
      link_(std::make_unique<SerialLink>()),
      content_(std::make_unique<DocumentContent>())
{
    comPort_ = ui_.ReadProfileInt(kSettingsSection, kComPortKey, 1);
    portDevice_ = ui_.ReadProfileString(kSettingsSection, kPortDeviceKey).value_or("");
    BackupFolder = ui_.ReadProfileString(kSettingsSection, kBackupFolderKey).value_or("");
    BackupBeforeDownloadOn =
        ui_.ReadProfileInt(kSettingsSection, kBackupBeforeDownloadKey, 0) != 0 && !BackupFolder.empty();
    OperationsLogPath = ::OperationsLogPath();
    extendedMode_ = commandLine.find(kExtendedModeKeyword) != std::string::npos;
    StartHistory(false);
    watcher_->Start();
    ReadRegionalSettings();
}

CQuorvinDoc::~CQuorvinDoc()
{
    watcher_.reset();
    link_.reset();
    content_.reset();
}

void CQuorvinDoc::SetModifiedFlag(bool modified)
{
    // A state number that no state has: no undo leads back to unmodified.
    cleanState_ = modified ? -1 : history_.State();
    ReportModified();
}

void CQuorvinDoc::SetValueBeingTyped(bool typing)
{
    valueBeingTyped_ = typing;
    ReportModified();
}

void CQuorvinDoc::ReportModified()
{
    if (reportedModified_ != IsModified()) {
        reportedModified_ = IsModified();
        ui_.ModifiedChanged(reportedModified_);
    }
}

void CQuorvinDoc::SetTitle(const std::string& title)
{
    title_ = title;
    ui_.TitleChanged(title_);
}

void CQuorvinDoc::ReadRegionalSettings()
{
    const auto listSeparator = ui_.QueryListSeparator();
    const auto decimalSeparator = ui_.QueryDecimalSeparator();
    if (listSeparator) {
        listSeparator_ = *listSeparator;
    }
    if (decimalSeparator) {
        decimalSeparator_ = *decimalSeparator;
    }
    if (!listSeparator || !decimalSeparator) {
        ui_.Notice(kRegionalSettingsWarning);
        listSeparator_ = ",";
        decimalSeparator_ = ".";
    }
}

// --- Changes and their history

bool CQuorvinDoc::Change(const ContentChange& change, ChangeEffect effect)
{
    const int selectedBefore = selectedSlave_;
    const bool applied = change(*content_);
    RebuildSlaveList();
    const bool recorded = history_.Record(*content_, selectedBefore, selectedSlave_);
    if (!applied && !recorded) {
        return false;
    }
    if (!recorded && effect != ChangeEffect::Command) {
        return true;
    }
    if (recorded) {
        ReportModified();
    } else {
        SetModifiedFlag(true);
    }
    if (effect == ChangeEffect::Command) {
        ui_.UpdateAllViews();
    }
    return applied;
}

void CQuorvinDoc::OnEditUndo()
{
    if (!ui_.CommitForm() || !history_.Undo(*content_, selectedSlave_)) {
        return;
    }
    RebuildSlaveList();
    ReportModified();
    ui_.UpdateAllViews();
}

void CQuorvinDoc::OnEditRedo()
{
    if (!ui_.CommitForm() || !history_.Redo(*content_, selectedSlave_)) {
        return;
    }
    RebuildSlaveList();
    ReportModified();
    ui_.UpdateAllViews();
}

void CQuorvinDoc::StartHistory(bool modified)
{
    history_.Reset(*content_);
    SetModifiedFlag(modified);
}

// --- Lifecycle

bool CQuorvinDoc::OnNewDocument()
{
    pathName_.clear();
    SetModifiedFlag(false);
    // The watcher follows the file the document shows; an untitled one shows none.
    watcher_->WatchDocument({});
    content_->Config.Reset();
    content_->AddedSlaves = kNoSlaves;
    RebuildSlaveList();
    StartHistory(false);
    ui_.UpdateAllViews();
    SetTitle(kUntitled);
    return true;
}

// Read into a configuration of its own: a file that cannot be read leaves
// the document as it is, after the error box.
bool CQuorvinDoc::OnOpenDocument(const std::string& path)
{
    // Taken before the read: a change while reading counts as another program's.
    const std::optional<FileIdentity> identity = IdentifyFile(path);
    auto incoming = std::make_unique<ConfigTemplate>();
    if (!ReadConfigFile(*incoming, path, ui_)) {
        const std::string message = LoadFailureMessage(incoming->LoadError, path);
        if (!message.empty()) {
            ui_.ErrorBox(kOpenErrorCaption, message);
        }
        return false;
    }
    content_->Config = *incoming;
    diskIdentity_ = identity;
    content_->AddedSlaves = kNoSlaves;
    watcher_->WatchDocument(path);
    RebuildSlaveList();
    StartHistory(IsModified());
    return true;
}

bool CQuorvinDoc::OnSaveDocument(const std::string& path)
{
    // The program's own write is no external change.
    watcher_->Stop();
    bool saved = ui_.CommitForm() && MayReplace(path);
    if (saved) {
        WarnOfSlavesWithoutPoints();
        saved = SaveConfigFile(content_->Config, path, false, ui_);
    }
    if (saved) {
        diskIdentity_ = IdentifyFile(path);
        SetModifiedFlag(false);
    }
    watcher_->Start();
    return saved;
}

bool CQuorvinDoc::MayReplace(const std::string& path)
{
    if (path != pathName_) {
        return true;
    }
    const std::optional<FileIdentity> onDisk = IdentifyFile(path);
    return !onDisk || onDisk == diskIdentity_ ||
           ui_.AskYesNo(kOverwriteCaption, ChangedOnDiskQuestion(path), MessageIcon::Warning);
}

// The file holds points, not slaves: an added slave without points is not kept.
void CQuorvinDoc::WarnOfSlavesWithoutPoints()
{
    const SlaveAddressTable withPoints = CollectSlaveAddresses(content_->Config);
    for (int address : content_->AddedSlaves) {
        if (address != -1 && !Contains(withPoints, address)) {
            ui_.ShowMessage(kApplicationTitle,
                            "Slave " + std::to_string(address) + " has no points and is not kept in the file",
                            MessageIcon::Warning);
        }
    }
}

bool CQuorvinDoc::LoadFile(const std::string& path, bool addToRecentFiles)
{
    const std::string absolute = AbsolutePath(path);
    if (!OnOpenDocument(absolute)) {
        return false;
    }
    ShowsFile(absolute);
    if (addToRecentFiles) {
        ui_.AddToRecentFiles(absolute);
    }
    return true;
}

void CQuorvinDoc::ShowsFile(const std::string& path)
{
    pathName_ = path;
    SetModifiedFlag(false);
    SetTitle(FileNameOf(path));
}

void CQuorvinDoc::ReloadChangedFile(const std::string& path)
{
    if (OnOpenDocument(path)) {
        ShowsFile(path);
    }
}

bool CQuorvinDoc::DoSave(const std::string& path)
{
    std::string target = path;
    if (target.empty()) {
        const auto chosen = ui_.ChooseFileToSave(ConfigurationFileDialog(pathName_.empty() ? title_ : pathName_, true));
        if (!chosen) {
            return false;
        }
        target = *chosen;
    }
    target = AbsolutePath(target);
    if (!OnSaveDocument(target)) {
        return false;
    }
    if (target != pathName_) {
        pathName_ = target;
        SetTitle(FileNameOf(target));
    }
    // Also for the same path: a file reported gone is watched again once saved.
    watcher_->WatchDocument(target);
    ui_.AddToRecentFiles(target);
    return true;
}

// --- Framework commands

bool CQuorvinDoc::SaveModified()
{
    // A value still being typed is a change too; one out of range stops here.
    if (!ui_.CommitForm()) {
        return false;
    }
    if (!IsModified()) {
        return true;
    }
    switch (ui_.AskSaveChanges(pathName_.empty() ? title_ : pathName_)) {
    case DocumentHost::SaveChangesAnswer::Cancel:
        return false;
    case DocumentHost::SaveChangesAnswer::No:
        return true;
    case DocumentHost::SaveChangesAnswer::Yes:
        break;
    }
    return DoSave(pathName_);
}

bool CQuorvinDoc::FileNew()
{
    if (!SaveModified()) {
        return false;
    }
    return OnNewDocument();
}

bool CQuorvinDoc::FileOpen()
{
    if (!SaveModified()) {
        return false;
    }
    const auto path = ui_.ChooseFileToOpen(ConfigurationFileDialog({}, false));
    if (!path) {
        return false;
    }
    const bool opened = LoadFile(*path);
    ui_.UpdateAllViews();
    return opened;
}

bool CQuorvinDoc::FileOpenPath(const std::string& path) { return OpenPath(path) == OpenOutcome::Opened; }

CQuorvinDoc::OpenOutcome CQuorvinDoc::OpenPath(const std::string& path)
{
    if (!SaveModified()) {
        return OpenOutcome::Cancelled;
    }
    const bool opened = LoadFile(path);
    ui_.UpdateAllViews();
    return opened ? OpenOutcome::Opened : OpenOutcome::Failed;
}

bool CQuorvinDoc::FileSave() { return DoSave(pathName_); }

bool CQuorvinDoc::FileSaveAs() { return DoSave({}); }

// --- Document commands

void CQuorvinDoc::OnSlaveAdd()
{
    // The lowest free address from 1 up: UsedSlaves is ascending.
    int address = 1;
    bool hasFreeEntry = false;
    for (int entry : usedSlaves_) {
        if (entry == -1) {
            hasFreeEntry = true;
            break;
        }
        if (entry == address) {
            ++address;
        }
    }
    if (!hasFreeEntry) {
        ui_.Notice(kSixteenSlavesNotice);
        return;
    }
    Change([this, address](DocumentContent& content) {
        selectedSlave_ = address;
        AddSlaveAddress(content.AddedSlaves, address);
        return true;
    });
}

void CQuorvinDoc::OnSlaveRemove()
{
    if (HasNoSlaves()) {
        ui_.Notice(kNoSlavesNotice);
        return;
    }
    if (!extendedMode_ && !ui_.Question(kRemoveCaption, kRemoveSlaveQuestion)) {
        return;
    }
    const int removed = selectedSlave_;
    Change([removed](DocumentContent& content) {
        auto ofSlave = [removed](const auto& point) { return point.SlaveAddress == removed; };
        ConfigTemplate& config = content.Config;
        config.AnalogInputs.RemoveIf(ofSlave);
        config.DigitalInputs.RemoveIf(ofSlave);
        config.AnalogOutputs.RemoveIf(ofSlave);
        config.DigitalOutputs.RemoveIf(ofSlave);
        config.IndirectMessages.RemoveIf(ofSlave);
        RemoveSlaveAddress(content.AddedSlaves, removed);
        return true;
    });
}

void CQuorvinDoc::OnSlaveSetAddress()
{
    if (HasNoSlaves()) {
        ui_.Notice(kNoSlavesNotice);
        return;
    }
    const auto entered = ui_.EditSlaveAddress(selectedSlave_);
    if (entered && *entered != selectedSlave_ && Contains(usedSlaves_, *entered)) {
        ui_.Notice(kAddressInUseNotice);
        return;
    }
    // After Cancel too the document counts as modified and the views are updated.
    Change([this, entered](DocumentContent& content) {
        if (!entered) {
            return true;
        }
        const int from = selectedSlave_;
        const int to = *entered;
        ForEachSlaveAddress(content.Config, [from, to](int& address) {
            if (address == from) {
                address = to;
            }
        });
        // Free entries (-1) are no addresses, whatever is selected.
        for (int& address : content.AddedSlaves) {
            if (address != -1 && address == from) {
                address = to;
            }
        }
        selectedSlave_ = to;
        return true;
    });
}

void CQuorvinDoc::OnPrioritize(bool on)
{
    if (HasNoSlaves()) {
        ui_.Notice(kNoSlavesNotice);
        return;
    }
    const int slave = selectedSlave_;
    Change([slave, on](DocumentContent& content) {
        auto apply = [slave, on](auto& list) {
            for (auto& point : list) {
                if (point.SlaveAddress == slave) {
                    point.Priority = on;
                }
            }
        };
        apply(content.Config.AnalogInputs);
        apply(content.Config.DigitalInputs);
        apply(content.Config.AnalogOutputs);
        apply(content.Config.DigitalOutputs);
        return true;
    });
}

void CQuorvinDoc::OnSelectComPort(int comPort)
{
    comPort_ = comPort;
    ui_.WriteProfileInt(kSettingsSection, kComPortKey, comPort);
    ui_.SetComPortChecks(comPort);
}

void CQuorvinDoc::OnSelectPortDevice(const std::string& devicePath)
{
    comPort_ = kComPortDevicePath;
    portDevice_ = devicePath;
    ui_.WriteProfileInt(kSettingsSection, kComPortKey, comPort_);
    ui_.WriteProfileString(kSettingsSection, kPortDeviceKey, devicePath);
    if (LooksLikeNetworkAddress(devicePath)) {
        RememberNetworkPort(devicePath, ui_);
    }
    ui_.SetComPortChecks(comPort_);
}

void CQuorvinDoc::OnToggleBackupBeforeDownload()
{
    if (!BackupBeforeDownloadOn) {
        const auto folder = ui_.ChooseFolder("Backup Before Download");
        if (!folder) {
            return;
        }
        BackupFolder = *folder;
        ui_.WriteProfileString(kSettingsSection, kBackupFolderKey, BackupFolder);
    }
    BackupBeforeDownloadOn = !BackupBeforeDownloadOn;
    ui_.WriteProfileInt(kSettingsSection, kBackupBeforeDownloadKey, BackupBeforeDownloadOn ? 1 : 0);
}

void CQuorvinDoc::OnRefresh()
{
    if (!SaveModified()) {
        return;
    }
    if (!pathName_.empty()) {
        LoadFile(pathName_, false);
    }
    ui_.UpdateAllViews();
}

void CQuorvinDoc::OnFileChangeConfirmed()
{
    const ConfirmedFileAction action = watcher_->TakeConfirmedAction();
    const std::string path = watcher_->WatchedPath();
    if (path.empty()) {
        return;
    }
    if (action == ConfirmedFileAction::SaveAgain) {
        DoSave(path);
        return;
    }
    if (action == ConfirmedFileAction::KeepUnsaved) {
        // The configuration is no longer in any file.
        SetModifiedFlag(true);
        return;
    }
    ReloadChangedFile(path);
    ui_.UpdateAllViews();
}

bool CQuorvinDoc::DownloadGuard(bool checkSlaves)
{
    if (!ui_.CommitForm()) {
        return false;
    }
    if (checkSlaves && HasNoSlaves()) {
        ui_.Notice(kNoSlavesNotice);
        return false;
    }
    return true;
}

bool CQuorvinDoc::UploadGuard() { return SaveModified(); }

// --- Slave set

void CQuorvinDoc::RebuildSlaveList()
{
    usedSlaves_ = CollectSlaveAddresses(content_->Config);
    for (int address : content_->AddedSlaves) {
        if (address != -1) {
            AddSlaveAddress(usedSlaves_, address);
        }
    }
    const auto firstFree = std::find(usedSlaves_.begin(), usedSlaves_.end(), -1);
    std::sort(usedSlaves_.begin(), firstFree);
}

bool CQuorvinDoc::HasNoSlaves() const
{
    return SlaveCount(usedSlaves_) == 0 && SlaveCount(content_->AddedSlaves) == 0;
}
