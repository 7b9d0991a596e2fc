#pragma once

#include "ConfigTemplate.h"
#include "ConfigurationCheck.h"
#include "DownloadRules.h"
#include "DocumentContent.h"
#include "DocumentHost.h"
#include "FileAccess.h"
#include "LoggedOperation.h"
#include "PointCapacity.h"
#include "PointClipboard.h"
#include "PointList.h"
#include "SlaveSet.h"
#include "UndoHistory.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class SerialLink;

// Shows a new point for editing before it is added: true when the user
// confirmed it (the point then holds the entered values), false to add nothing.
template <typename Point>
using PointEditor = std::function<bool(Point&)>;
class DocumentWatcher;

// A change of the document's content; false when it was refused and changed
// nothing.
using ContentChange = std::function<bool(DocumentContent&)>;

// What follows a change that was not refused. Command: a menu command, which
// marks the document modified and updates every view even when nothing
// differs. Edit: an edit in the main view (a point, the form), which marks
// the document modified only when something differs and shows the change
// itself, so that no view is rebuilt under it.
enum class ChangeEffect { Command, Edit };

// The keyword that, anywhere in the command line, switches on extended mode:
// the removal confirmations are skipped.
inline constexpr const char* kExtendedModeKeyword = "vorlanqix";

// The profile values that keep the COM port, and the device path used
// instead of COM1..COM4 when the COM port is kComPortDevicePath.
inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kComPortKey = "COMPort";
inline constexpr const char* kPortDeviceKey = "PortDevice";
inline constexpr int kComPortDevicePath = 0;
// Settings > Backup Before Download: on or off, and the folder of the backups.
inline constexpr const char* kBackupBeforeDownloadKey = "BackupBeforeDownload";
inline constexpr const char* kBackupFolderKey = "BackupFolder";

// The file dialogs' filter name and extension of configuration files.
inline constexpr const char* kConfigurationFileFilterName = "Halvex Configuration File (*.hxc) ";
inline constexpr const char* kConfigurationFileExtension = ".hxc";


// The single open gateway configuration of the application: the
// ConfigTemplate, the slave set derived from its points, the user settings
// (COM port, regional separators, extended mode), the serial link of the
// device operations and the watcher of the open file.
//
// It reaches the window system only through its host interface, DocumentHost. It is created once
// and reused for every New and Open.
class CQuorvinDoc {
public:
    // Construction, in this order: separators, watcher, serial link and
    // configuration; ComPort from the profile ("Settings"/"COMPort", default
    // 1) and PortDevice ("Settings"/"PortDevice"); ExtendedMode from the command line; the watcher started with nothing
    // to watch; the regional separators (with the warning when unreadable).
    CQuorvinDoc(DocumentHost& ui, const std::string& commandLine);
    // Stops the watcher; the serial link closes its port.
    ~CQuorvinDoc();

    CQuorvinDoc(const CQuorvinDoc&) = delete;
    CQuorvinDoc& operator=(const CQuorvinDoc&) = delete;

    // --- The framework's document state.
    const std::string& PathName() const { return pathName_; }
    const std::string& Title() const { return title_; }
    // Modified unless the undo history stands where the file was last read
    // or written.
    bool IsModified() const { return history_.State() != cleanState_ || valueBeingTyped_; }
    // A form value being typed differs from the configuration: a change not
    // yet committed, which counts as one until the form is committed or reloaded.
    void SetValueBeingTyped(bool typing);
    // Unmodified: the current state is the one of the file. Modified: no undo
    // leads back to an unmodified state. The host hears of every change of
    // the mark, also by undo and redo.
    void SetModifiedFlag(bool modified = true);
    void SetTitle(const std::string& title);

    // --- The one way a change reaches the content: runs the change, then
    // (unless it was refused) rebuilds the slave list, keeps the difference as
    // an undo step, marks the document modified and updates the views as the
    // effect says. True when the change was not refused.
    bool Change(const ContentChange& change, ChangeEffect effect = ChangeEffect::Command);

    // Edit > Undo and Redo: the form committed first (a typed value is a
    // change of its own), then one step back or forward; the views follow.
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    void OnEditUndo();
    void OnEditRedo();
    const UndoHistory& History() const { return history_; }

    // --- Lifecycle operations.
    bool OnNewDocument();
    bool OnOpenDocument(const std::string& path);
    bool OnSaveDocument(const std::string& path);

    // --- Framework commands (File menu, toolbar, shortcuts).
    // Save-modified step: asks when modified; Yes saves (asking for a name
    // when untitled). False when the user cancels or the save fails.
    bool SaveModified();
    bool FileNew();                                // Ctrl+N, toolbar
    bool FileOpen();                               // file dialog, then open
    bool FileOpenPath(const std::string& path);    // command line, recent files
    enum class OpenOutcome { Opened, Cancelled, Failed };
    // FileOpenPath, telling a cancelled save-changes step from a failed read.
    OpenOutcome OpenPath(const std::string& path);
    bool FileSave();                               // Ctrl+S
    bool FileSaveAs();

    // --- Document commands.
    void OnSlaveAdd();
    void OnSlaveRemove();
    void OnSlaveSetAddress();
    void OnPrioritize(bool on);
    void OnSelectComPort(int comPort);  // 1..4
    // Settings > COM Port > Other Port: every device operation from now on
    // uses the device path or network address; kept in the profile with
    // ComPort 0, an address also among the recent ones.
    void OnSelectPortDevice(const std::string& devicePath);
    // The device the operations open: PortDevice when ComPort is 0 and a
    // device path is kept, else COMn mapped as the profile says.
    std::string PortDevicePath();
    // Settings > Backup Before Download: turning it on asks for the folder
    // (no folder chosen: it stays off); both are kept in the profile.
    void OnToggleBackupBeforeDownload();
    // The port as the user chose it: COM1..COM4, or the device path.
    std::string PortName() const;
    void OnRefresh();                   // F5
    // What the user agreed to when the watcher asked ("FILECHANGE"), on the
    // UI thread: reload the changed file, or save to a file that is gone.
    void OnFileChangeConfirmed();

    // Guards of the device commands: commit the form (and for the plain
    // download check for slaves; for the upload run the save-modified step).
    // True when the operation may run.
    bool DownloadGuard(bool checkSlaves);
    bool UploadGuard();

    // Device commands (Device menu): the guards above, then the operation.
    void OnDownloadConfiguration();     // plain item: 2.00 layout, slave check
    void OnDownloadConfigurationAs(int formatVersion);  // "v2.00" (1), "v1.02" (0)
    void OnUploadConfiguration();
    void OnDownloadArchive();
    void OnUploadArchive();
    void OnUploadDiagnostics();
    void OnClearDiagnostics();
    void OnGetFirmwareVersion();
    // Device > "Check Configuration": the form committed, then what the
    // configuration check finds (the added slaves included); none when the
    // form refused. The window program lists the findings.
    std::optional<ConfigurationCheck> OnCheckConfiguration();
    // Device > "Verify Configuration": the form committed, then the gateway's
    // configuration compared with the document's, the result in a message box.
    void OnVerifyConfiguration();
    // Device > "Compare with Gateway...": the form committed, what the
    // gateway holds uploaded, its differences with the document listed by
    // the host; the plain download follows when the user chooses it there.
    void OnCompareWithGateway();

    // Exchange commands.
    void OnExportCsv();
    void OnSlaveImport();
    void OnImportXrf();
    // The XRF import of a named file (the window program's start option).
    void ImportXrfFile(const std::string& path);

    // --- Point commands of the selected slave. An add presets a new point
    // of its kind for the selected slave, has the editor show it and, when
    // the user confirms, appends it. A duplicate appends a copy of the point
    // at the index of its list. Each marks the document modified and returns
    // the new point's index; none after a notice (no slaves, a full list),
    // a cancel, or when no slave is selected.
    std::optional<int> AddAnalogInput(const PointEditor<AnalogInputPoint>& edit);
    std::optional<int> AddDigitalInput(const PointEditor<DigitalInputPoint>& edit);
    std::optional<int> AddAnalogOutput(const PointEditor<AnalogOutputPoint>& edit);
    std::optional<int> AddDigitalOutput(const PointEditor<DigitalOutputPoint>& edit);
    std::optional<int> DuplicatePoint(LineKind kind, int index);
    // A new indirect SPA message of the selected slave, as the view's button
    // adds it; none after the no-slaves or the 127-messages notice.
    std::optional<int> AddIndirectMessage();

    // --- Edit > Cut, Copy and Paste of points as clipboard text
    // (PointClipboard.h). Copy takes the point at the position, or with none
    // every point of the selected slave; empty when there is nothing to copy.
    std::string CopyPoints(const std::optional<PointPosition>& point) const;
    // The copy, then the copied points removed as one change.
    std::string CutPoints(const std::optional<PointPosition>& point);
    // The points of the text appended for the selected slave as one change;
    // the first of them, or none after a notice (no slaves, a list's
    // capacity: then nothing is pasted) or when the text holds no point.
    std::optional<PointPosition> PastePoints(const std::string& text);
    bool CanPaste(const std::string& text) const;

    // --- Slave set.
    bool HasNoSlaves() const;

    // --- State, read and written directly by the view and the commands.
    // --- State the views read; every change goes through Change.
    const ConfigTemplate& Config() const { return content_->Config; }
    const DocumentContent& Content() const { return *content_; }
    // The slaves that exist (ascending, free entries -1 at the end) and those
    // added with Slave > Add that have no points yet.
    const SlaveAddressTable& UsedSlaves() const { return usedSlaves_; }
    const SlaveAddressTable& AddedSlaves() const { return content_->AddedSlaves; }
    // The address of the slave whose tab is selected; -1 for none. Selecting
    // is no change of the configuration.
    int SelectedSlave() const { return selectedSlave_; }
    void SelectSlave(int address) { selectedSlave_ = address; }

    const std::string& ListSeparator() const { return listSeparator_; }
    const std::string& DecimalSeparator() const { return decimalSeparator_; }
    int ComPort() const { return comPort_; }
    const std::string& PortDevice() const { return portDevice_; }
    bool ExtendedMode() const { return extendedMode_; }

    DocumentHost& Ui() { return ui_; }
    SerialLink& Link() { return *link_; }
    DocumentWatcher& Watcher() { return *watcher_; }

    // Before each download the gateway's configuration is backed up into
    // BackupFolder (profile "Settings"/"BackupBeforeDownload", "BackupFolder").
    bool BackupBeforeDownloadOn = false;
    std::string BackupFolder;
    // Every device operation appends its record here (the user's operations
    // log); a log that cannot be written is a warning on the status line.
    std::string OperationsLogPath;

private:
    friend class DocumentUploadTarget;
    friend void ImportXrfInto(CQuorvinDoc& document, const std::optional<std::string>& path);

    // The configuration changed as a whole (new, opened, reloaded, uploaded,
    // imported): an empty undo history starts here.
    void StartHistory(bool modified);
    // Tells the host when IsModified has changed since it was last told.
    void ReportModified();
    template <typename Point>
    std::optional<int> AddPoint(Point point, const PointEditor<Point>& edit);
    // A device operation on the document's link, run by the host and
    // appended to the operations log under the action's name.
    // The operations log of the window program; a warning goes to the status line.
    OperationLog Log();
    // The download in the layout, after the backup when that is on.
    void Download(int formatVersion);
    void RunOperation(const std::string& action,
                      const std::function<bool(DeviceConnection&, OperationRecord&)>& operation);
    // Open document, then on success the framework's part: path (absolute),
    // title, modified flag cleared (the document now shows the file), and the
    // recent-file list unless the file is read again.
    bool LoadFile(const std::string& path, bool addToRecentFiles = true);
    // The reload after "Reload?": read into a configuration of its own, so
    // that a file that cannot be read (gone by now, or not a configuration)
    // leaves the document as it is, after the error box.
    void ReloadChangedFile(const std::string& path);
    // The document now shows the file at the absolute path.
    void ShowsFile(const std::string& path);
    // Saves to the path, or to a name asked for when it is empty; the
    // document then shows (and the watcher watches) the saved file.
    bool DoSave(const std::string& path);
    // A save to the document's own file replaces it only when it is still
    // the one last read or written, or the user agrees.
    bool MayReplace(const std::string& path);
    void WarnOfSlavesWithoutPoints();
    void ReadRegionalSettings();
    // UsedSlaves from the points and the added slaves.
    void RebuildSlaveList();

    DocumentHost& ui_;
    std::unique_ptr<DocumentWatcher> watcher_;
    std::unique_ptr<SerialLink> link_;
    std::unique_ptr<DocumentContent> content_;
    std::string pathName_;
    std::string title_ = "Untitled";
    UndoHistory history_;
    long long cleanState_ = 0;
    bool reportedModified_ = false;
    bool valueBeingTyped_ = false;

    std::string listSeparator_ = ",";
    std::string decimalSeparator_ = ".";
    int comPort_ = 1;
    std::string portDevice_;  // profile "Settings"/"PortDevice"
    bool extendedMode_ = false;
    int selectedSlave_ = -1;
    SlaveAddressTable usedSlaves_ = kNoSlaves;
    // The document's file as it was when last read or written.
    std::optional<FileIdentity> diskIdentity_;
};
