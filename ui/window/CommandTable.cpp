#include "CommandTable.h"

#include <map>

namespace {

MenuEntry Command(const char* text, int id) { return {MenuEntry::Kind::Command, text, id, {}}; }

MenuEntry Separator() { return {MenuEntry::Kind::Separator, "", 0, {}}; }

MenuEntry Submenu(const char* text, std::vector<MenuEntry> items)
{
    return {MenuEntry::Kind::Submenu, text, 0, std::move(items)};
}

std::vector<MenuEntry> Concatenated(std::vector<MenuEntry> entries, const std::vector<MenuEntry>& more)
{
    entries.insert(entries.end(), more.begin(), more.end());
    return entries;
}

}  // namespace

const std::vector<MenuEntry>& PointCommandEntries()
{
    using namespace CommandId;
    static const std::vector<MenuEntry> entries{
        Command("Add A&nalog Input...\tCtrl+1", PointAddAnalogInput),
        Command("Add Di&gital Input...\tCtrl+2", PointAddDigitalInput),
        Command("Add Analog &Output...\tCtrl+3", PointAddAnalogOutput),
        Command("Add Digital Ou&tput...\tCtrl+4", PointAddDigitalOutput),
        Command("Add New Indirect SPA &Message\tCtrl+5", PointAddIndirectMessage),
        Command("&Duplicate Point\tCtrl+D", PointDuplicate),
    };
    return entries;
}

const std::vector<MenuEntry>& MenuBarLayout()
{
    using namespace CommandId;
    static const std::vector<MenuEntry> layout{
        Submenu("&File",
                {
                    Command("&Open...\tCtrl+O", FileOpen),
                    Command("&Save\tCtrl+S", FileSave),
                    Command("Save &As...", FileSaveAs),
                    Command("&Export CSV", FileExportCsv),
                    Command("&Import XRF...", ImportXrf),
                    Separator(),
                    Command("&Print\tCtrl+P", FilePrint),
                    Separator(),
                    Command("Recent File", FileRecent1),
                    Separator(),
                    Command("E&xit", AppExit),
                }),
        Submenu("&Edit",
                {
                    Command("&Undo\tCtrl+Z", EditUndo),
                    Command("&Redo\tCtrl+Y", EditRedo),
                    Separator(),
                    Command("Cu&t\tCtrl+X", EditCut),
                    Command("&Copy\tCtrl+C", EditCopy),
                    Command("&Paste\tCtrl+V", EditPaste),
                    Separator(),
                    Command("&Find...\tCtrl+F", EditFind),
                }),
        Submenu("&Device",
                {
                    Command("&Download Configuration to device", DeviceDownload),
                    Submenu("Download Configuration to device a&s...",
                            {
                                Command("v&2.00", DeviceDownloadV200),
                                Command("v&1.02", DeviceDownloadV102),
                            }),
                    Command("&Upload Configuration from device", DeviceUpload),
                    Separator(),
                    Command("Download &Archive to device", DeviceDownloadArchive),
                    Command("Upload A&rchive from device", DeviceUploadArchive),
                    Separator(),
                    Command("Upload &Diagnostics from device", DeviceUploadDiagnostics),
                    Command("&Clear Diagnostics", DeviceClearDiagnostics),
                    Separator(),
                    Command("Get &Firmware Version from device", DeviceFirmwareVersion),
                    Separator(),
                    Command("Chec&k Configuration", DeviceCheckConfiguration),
                    Command("&Verify Configuration", DeviceVerifyConfiguration),
                    Command("Co&mpare with Gateway...", DeviceCompareWithGateway),
                }),
        Submenu("&Settings",
                {
                    Submenu("&COM Port",
                            {
                                Command("COM&1", ComPort1),
                                Command("COM&2", ComPort1 + 1),
                                Command("COM&3", ComPort1 + 2),
                                Command("COM&4", ComPort1 + 3),
                                Separator(),
                                Command("&Other Port...", ComPortOther),
                            }),
                    Command("&Backup Before Download", SettingsBackupBeforeDownload),
                }),
        Submenu("S&lave", Concatenated(
                              {
                                  Command("&Add", SlaveAdd),
                                  Command("&Remove", SlaveRemove),
                                  Command("&Set Address", SlaveSetAddress),
                                  Submenu("&Prioritize",
                                          {
                                              Command("&On", SlavePrioritizeOn),
                                              Command("O&ff", SlavePrioritizeOff),
                                          }),
                                  Command("&Import", SlaveImport),
                                  Separator(),
                              },
                              PointCommandEntries())),
        Submenu("&View",
                {
                    Command("&Toolbar", ViewToolbar),
                    Command("&Status Bar", ViewStatusBar),
                    Command("Refresh", ViewRefresh),
                    Separator(),
                    Command("&Communication Log", ViewCommunicationLog),
                    Command("&Operations Log", ViewOperationsLog),
                }),
        Submenu("&Help",
                {
                    Command("&About Halvex Configuration Tool...", AppAbout),
                }),
    };
    return layout;
}

std::string CommandPrompt(int commandId)
{
    using namespace CommandId;
    static const std::map<int, std::string> prompts{
        {FileNew, "Create a new document\nNew"},
        {FileOpen, "Open an existing document\nOpen"},
        {FileSave, "Save the active document\nSave"},
        {FileSaveAs, "Save the active document with a new name\nSave As"},
        {FilePrint, "Print the active document\nPrint"},
        {FilePrintSetup, "Change the printer and printing options\nPrint Setup"},
        {FileRecent1, "Open this document"},
        {FileRecent1 + 1, "Open this document"},
        {FileRecent1 + 2, "Open this document"},
        {FileRecent1 + 3, "Open this document"},
        {EditCut, "Cut the selection and put it on the Clipboard\nCut"},
        {EditCopy, "Copy the selection and put it on the Clipboard\nCopy"},
        {EditPaste, "Insert Clipboard contents\nPaste"},
        {EditUndo, "Undo the last change\nUndo"},
        {EditRedo, "Redo the change undone last\nRedo"},
        {EditFind, "Show the points whose description or Ch/Cat/Dno holds a text\nFind"},
        {AppExit, "Quit the application; prompts to save documents\nExit"},
        {ViewToolbar, "Show or hide the toolbar\nToggle ToolBar"},
        {ViewStatusBar, "Show or hide the status bar\nToggle StatusBar"},
        {AppAbout, "Display program information and version number\nAbout"},
        {ViewCommunicationLog, "Show the frames sent to and received from the gateway\nCommunication Log"},
        {ViewOperationsLog, "Show which configuration went to which gateway, when and by whom\nOperations Log"},
        {SettingsBackupBeforeDownload,
         "Keep a copy of the gateway's configuration before each download\nBackup Before Download"},
    };
    const auto found = prompts.find(commandId);
    return found == prompts.end() ? std::string() : found->second;
}

std::string PromptStatusText(const std::string& prompt) { return prompt.substr(0, prompt.find('\n')); }

std::string PromptToolTip(const std::string& prompt)
{
    const std::size_t lineBreak = prompt.find('\n');
    return lineBreak == std::string::npos ? std::string() : prompt.substr(lineBreak + 1);
}

const std::vector<ShortcutEntry>& ShortcutTable()
{
    using namespace CommandId;
    static const std::vector<ShortcutEntry> table{
        {QKeySequence(Qt::CTRL | Qt::Key_N), FileNew},
        {QKeySequence(Qt::CTRL | Qt::Key_O), FileOpen},
        {QKeySequence(Qt::CTRL | Qt::Key_S), FileSave},
        {QKeySequence(Qt::CTRL | Qt::Key_P), FilePrint},
        {QKeySequence(Qt::Key_F5), ViewRefresh},
        {QKeySequence(Qt::Key_F6), NextPane},
        {QKeySequence(Qt::SHIFT | Qt::Key_F6), PreviousPane},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), EditUndo},
        {QKeySequence(Qt::CTRL | Qt::Key_X), EditCut},
        {QKeySequence(Qt::CTRL | Qt::Key_C), EditCopy},
        {QKeySequence(Qt::CTRL | Qt::Key_V), EditPaste},
        {QKeySequence(Qt::ALT | Qt::Key_Backspace), EditUndo},
        {QKeySequence(Qt::SHIFT | Qt::Key_Delete), EditCut},
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), EditCopy},
        {QKeySequence(Qt::SHIFT | Qt::Key_Insert), EditPaste},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), EditRedo},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), EditRedo},
        {QKeySequence(Qt::CTRL | Qt::Key_F), EditFind},
        {QKeySequence(Qt::CTRL | Qt::Key_1), PointAddAnalogInput},
        {QKeySequence(Qt::CTRL | Qt::Key_2), PointAddDigitalInput},
        {QKeySequence(Qt::CTRL | Qt::Key_3), PointAddAnalogOutput},
        {QKeySequence(Qt::CTRL | Qt::Key_4), PointAddDigitalOutput},
        {QKeySequence(Qt::CTRL | Qt::Key_5), PointAddIndirectMessage},
        {QKeySequence(Qt::CTRL | Qt::Key_D), PointDuplicate},
    };
    return table;
}

const std::vector<int>& ToolbarLayout()
{
    using namespace CommandId;
    static const std::vector<int> layout{FileNew, FileOpen, FileSave, 0, EditCut, EditCopy, EditPaste, 0,
                                         FilePrint, 0, AppAbout};
    return layout;
}
