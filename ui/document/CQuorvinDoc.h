#pragma once

#include "ConfigTemplate.h"
#include "ConfigurationCheck.h"
#include "DownloadRules.h"
#include "PointList.h"
#include "SlaveSet.h"
#include "DocumentHost.h"
#include "FileAccess.h"

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

// The keyword that, anywhere in the command line, switches on extended mode:
// the removal confirmations are skipped.
inline constexpr const char* kExtendedModeKeyword = "vorlanqix";

// The profile values that keep the COM port, and the device path used
// instead of COM1..COM4 when the COM port is kComPortDevicePath.
inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kComPortKey = "COMPort";
inline constexpr const char* kPortDeviceKey = "PortDevice";
inline constexpr int kComPortDevicePath = 0;

// The file dialogs' filter name and extension of configuration files.
inline constexpr const char* kConfigurationFileFilterName = "Halvex Configuration File (*.hxc) ";
inline constexpr const char* kConfigurationFileExtension = ".hxc";

inline constexpr const char* kIndirectMessagesFullNotice = "There can be max 127 indirect SPA commands";

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
    bool IsModified() const { return modified_; }
    // Tells the host when the flag changes.
    void SetModifiedFlag(bool modified = true);
    void SetTitle(const std::string& title);

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

    // --- Slave set.
    void RebuildSlaveList();
    bool HasNoSlaves() const;

    // --- State, read and written directly by the view and the commands.
    ConfigTemplate& Config() { return *config_; }
    const ConfigTemplate& Config() const { return *config_; }
    DocumentHost& Ui() { return ui_; }
    SerialLink& Link() { return *link_; }
    DocumentWatcher& Watcher() { return *watcher_; }

    std::string ListSeparator = ",";
    std::string DecimalSeparator = ".";
    int ComPort = 1;
    std::string PortDevice;  // profile "Settings"/"PortDevice"
    bool ExtendedMode = false;
    int SelectedSlave = -1;
    SlaveAddressTable UsedSlaves = kNoSlaves;
    SlaveAddressTable AddedSlaves = kNoSlaves;

private:
    // A device operation on the document's link, run by the host.
    void RunOperation(const std::function<void()>& operation);
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

    DocumentHost& ui_;
    std::unique_ptr<DocumentWatcher> watcher_;
    std::unique_ptr<SerialLink> link_;
    std::unique_ptr<ConfigTemplate> config_;
    std::string pathName_;
    std::string title_ = "Untitled";
    bool modified_ = false;
    // The document's file as it was when last read or written.
    std::optional<FileIdentity> diskIdentity_;
};
