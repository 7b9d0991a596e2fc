#pragma once

#include <QKeySequence>

#include <string>
#include <vector>

// The identifiers of the window program's commands.
namespace CommandId {
inline constexpr int FileNew = 57600;
inline constexpr int FileOpen = 57601;
inline constexpr int FileSave = 57603;
inline constexpr int FileSaveAs = 57604;
inline constexpr int FilePrintSetup = 57606;  // no menu item, button or key carries it
inline constexpr int FilePrint = 57607;
inline constexpr int FileRecent1 = 57616;  // the recent files use 57616..57619
inline constexpr int EditCopy = 57634;
inline constexpr int EditCut = 57635;
inline constexpr int EditFind = 57636;
inline constexpr int EditPaste = 57637;
inline constexpr int EditUndo = 57643;
inline constexpr int EditRedo = 57644;
inline constexpr int AppAbout = 57664;
inline constexpr int AppExit = 57665;
inline constexpr int NextPane = 57680;
inline constexpr int PreviousPane = 57681;
inline constexpr int ViewToolbar = 59392;
inline constexpr int ViewStatusBar = 59393;

inline constexpr int FileExportCsv = 32794;
inline constexpr int DeviceDownload = 32779;
inline constexpr int DeviceDownloadV200 = 32798;
inline constexpr int DeviceDownloadV102 = 32799;
inline constexpr int DeviceUpload = 32780;
inline constexpr int DeviceDownloadArchive = 32782;
inline constexpr int DeviceUploadArchive = 32781;
inline constexpr int DeviceUploadDiagnostics = 32775;
inline constexpr int DeviceClearDiagnostics = 32776;
inline constexpr int DeviceFirmwareVersion = 32786;
inline constexpr int DeviceCheckConfiguration = 32800;
inline constexpr int DeviceVerifyConfiguration = 32801;
inline constexpr int DeviceCompareWithGateway = 32802;
inline constexpr int ComPort1 = 32771;  // COM1..COM4 are 32771..32774
// Settings > COM Port > Other Port...: any serial device; numbered apart.
inline constexpr int ComPortOther = 32910;
// View > Communication Log: the frames of the device operations.
inline constexpr int ViewCommunicationLog = 32911;
// View > Operations Log: the log of the device operations.
inline constexpr int ViewOperationsLog = 32912;
// Settings > Backup Before Download: checkable.
inline constexpr int SettingsBackupBeforeDownload = 32913;
inline constexpr int SlaveAdd = 32792;
inline constexpr int SlaveRemove = 32797;
inline constexpr int SlaveSetAddress = 32784;
inline constexpr int SlavePrioritizeOn = 32795;
inline constexpr int SlavePrioritizeOff = 32796;
inline constexpr int SlaveImport = 32793;
inline constexpr int ViewRefresh = 32783;
inline constexpr int ImportXrf = 32778;

// The point commands of the Slave menu and the point list's menu, numbered
// apart from the commands above.
inline constexpr int PointAddAnalogInput = 32900;
inline constexpr int PointAddDigitalInput = 32901;
inline constexpr int PointAddAnalogOutput = 32902;
inline constexpr int PointAddDigitalOutput = 32903;
inline constexpr int PointAddIndirectMessage = 32904;
inline constexpr int PointDuplicate = 32905;
}  // namespace CommandId

inline constexpr int kRecentFileCount = 4;

// One entry of a menu: a command, a separator or a submenu.
struct MenuEntry {
    enum class Kind { Command, Separator, Submenu };
    Kind Type = Kind::Command;
    std::string Text;  // with '&' before the mnemonic and "\t" before a shown shortcut
    int Id = 0;
    std::vector<MenuEntry> Items;
};

// The menu bar, left to right, with every item, separator and submenu.
const std::vector<MenuEntry>& MenuBarLayout();

// The point commands as the Slave menu ends with them: the five adds and
// Duplicate.
const std::vector<MenuEntry>& PointCommandEntries();

// The status line prompt of a command; the text after "\n" is its tool tip.
// Empty for a command without a prompt.
std::string CommandPrompt(int commandId);
std::string PromptStatusText(const std::string& prompt);
std::string PromptToolTip(const std::string& prompt);

// The shortcut table. Keys of commands without a handler do nothing at the
// frame; the focused control keeps them (the clipboard keys in the edits).
struct ShortcutEntry {
    QKeySequence Keys;
    int Id = 0;
};
const std::vector<ShortcutEntry>& ShortcutTable();

// The toolbar, left to right; 0 stands for a separator.
const std::vector<int>& ToolbarLayout();
