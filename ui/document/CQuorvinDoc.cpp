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
      config_(std::make_unique<ConfigTemplate>())
{
    ComPort = ui_.ReadProfileInt(kSettingsSection, kComPortKey, 1);
    PortDevice = ui_.ReadProfileString(kSettingsSection, kPortDeviceKey).value_or("");
    BackupFolder = ui_.ReadProfileString(kSettingsSection, kBackupFolderKey).value_or("");
    BackupBeforeDownloadOn =
        ui_.ReadProfileInt(kSettingsSection, kBackupBeforeDownloadKey, 0) != 0 && !BackupFolder.empty();
    OperationsLogPath = ::OperationsLogPath();
    ExtendedMode = commandLine.find(kExtendedModeKeyword) != std::string::npos;
    watcher_->Start();
    ReadRegionalSettings();
}

CQuorvinDoc::~CQuorvinDoc()
{
    watcher_.reset();
    link_.reset();
    config_.reset();
}

void CQuorvinDoc::SetModifiedFlag(bool modified)
{
    if (modified_ != modified) {
        modified_ = modified;
        ui_.ModifiedChanged(modified);
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
        ListSeparator = *listSeparator;
    }
    if (decimalSeparator) {
        DecimalSeparator = *decimalSeparator;
    }
    if (!listSeparator || !decimalSeparator) {
        ui_.Notice(kRegionalSettingsWarning);
        ListSeparator = ",";
        DecimalSeparator = ".";
    }
}

// --- Lifecycle

bool CQuorvinDoc::OnNewDocument()
{
    pathName_.clear();
    SetModifiedFlag(false);
    // The watcher follows the file the document shows; an untitled one shows none.
    watcher_->WatchDocument({});
    config_->Reset();
    AddedSlaves = kNoSlaves;
    RebuildSlaveList();
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
    *config_ = *incoming;
    diskIdentity_ = identity;
    AddedSlaves = kNoSlaves;
    watcher_->WatchDocument(path);
    RebuildSlaveList();
    return true;
}

bool CQuorvinDoc::OnSaveDocument(const std::string& path)
{
    // The program's own write is no external change.
    watcher_->Stop();
    bool saved = ui_.CommitForm() && MayReplace(path);
    if (saved) {
        WarnOfSlavesWithoutPoints();
        saved = SaveConfigFile(*config_, path, false, ui_);
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
    const SlaveAddressTable withPoints = CollectSlaveAddresses(*config_);
    for (int address : AddedSlaves) {
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
    if (!modified_) {
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
    for (int entry : UsedSlaves) {
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
    SelectedSlave = address;
    AddSlaveAddress(AddedSlaves, address);
    RebuildSlaveList();
    SetModifiedFlag();
    ui_.UpdateAllViews();
}

void CQuorvinDoc::OnSlaveRemove()
{
    if (HasNoSlaves()) {
        ui_.Notice(kNoSlavesNotice);
        return;
    }
    if (!ExtendedMode && !ui_.Question(kRemoveCaption, kRemoveSlaveQuestion)) {
        return;
    }
    const int removed = SelectedSlave;
    auto ofSlave = [removed](const auto& point) { return point.SlaveAddress == removed; };
    config_->AnalogInputs.RemoveIf(ofSlave);
    config_->DigitalInputs.RemoveIf(ofSlave);
    config_->AnalogOutputs.RemoveIf(ofSlave);
    config_->DigitalOutputs.RemoveIf(ofSlave);
    config_->IndirectMessages.RemoveIf(ofSlave);
    RemoveSlaveAddress(AddedSlaves, removed);
    RebuildSlaveList();
    SetModifiedFlag();
    ui_.UpdateAllViews();
}

void CQuorvinDoc::OnSlaveSetAddress()
{
    if (HasNoSlaves()) {
        ui_.Notice(kNoSlavesNotice);
        return;
    }
    const auto entered = ui_.EditSlaveAddress(SelectedSlave);
    if (entered && *entered != SelectedSlave && Contains(UsedSlaves, *entered)) {
        ui_.Notice(kAddressInUseNotice);
        return;
    }
    if (entered) {
        const int from = SelectedSlave;
        const int to = *entered;
        ForEachSlaveAddress(*config_, [from, to](int& address) {
            if (address == from) {
                address = to;
            }
        });
        // Free entries (-1) are no addresses, whatever is selected.
        for (int& address : AddedSlaves) {
            if (address != -1 && address == from) {
                address = to;
            }
        }
        SelectedSlave = to;
    }
    RebuildSlaveList();
    SetModifiedFlag();
    ui_.UpdateAllViews();
}

void CQuorvinDoc::OnPrioritize(bool on)
{
    if (HasNoSlaves()) {
        ui_.Notice(kNoSlavesNotice);
        return;
    }
    auto apply = [this, on](auto& list) {
        for (auto& point : list) {
            if (point.SlaveAddress == SelectedSlave) {
                point.Priority = on;
            }
        }
    };
    apply(config_->AnalogInputs);
    apply(config_->DigitalInputs);
    apply(config_->AnalogOutputs);
    apply(config_->DigitalOutputs);
    SetModifiedFlag();
    ui_.UpdateAllViews();
}

void CQuorvinDoc::OnSelectComPort(int comPort)
{
    ComPort = comPort;
    ui_.WriteProfileInt(kSettingsSection, kComPortKey, comPort);
    ui_.SetComPortChecks(comPort);
}

void CQuorvinDoc::OnSelectPortDevice(const std::string& devicePath)
{
    ComPort = kComPortDevicePath;
    PortDevice = devicePath;
    ui_.WriteProfileInt(kSettingsSection, kComPortKey, ComPort);
    ui_.WriteProfileString(kSettingsSection, kPortDeviceKey, devicePath);
    if (LooksLikeNetworkAddress(devicePath)) {
        RememberNetworkPort(devicePath, ui_);
    }
    ui_.SetComPortChecks(ComPort);
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
    UsedSlaves = CollectSlaveAddresses(*config_);
    for (int address : AddedSlaves) {
        if (address != -1) {
            AddSlaveAddress(UsedSlaves, address);
        }
    }
    const auto firstFree = std::find(UsedSlaves.begin(), UsedSlaves.end(), -1);
    std::sort(UsedSlaves.begin(), firstFree);
}

bool CQuorvinDoc::HasNoSlaves() const { return SlaveCount(UsedSlaves) == 0 && SlaveCount(AddedSlaves) == 0; }
