#pragma once

#include "CommandTable.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QToolBar;

// The main window: the menu bar, the toolbar, the status bar with its
// message pane, the device of the COM port and the CAP, NUM and SCRL
// indicators, and the main view in
// the middle. A command runs what was registered for it with
// SetCommandHandler; until then its menu item, toolbar button and shortcut
// keys are disabled.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Once per command: enables its menu item, toolbar button and shortcut keys.
    void SetCommandHandler(int commandId, std::function<void()> handler);
    // Enables or disables a command's menu item and toolbar button, for
    // commands that can act only at times; its shortcut keys stay, and its
    // handler does nothing when it cannot act.
    void EnableCommand(int commandId, bool enabled);
    // The action of a command as the menu and the toolbar show it; nullptr for
    // an unknown command.
    QAction* CommandAction(int commandId) const;

    // The recent-file entries of the File menu, most recent first.
    void SetRecentFiles(const std::vector<std::string>& paths);
    void SetRecentFileHandler(std::function<void(int index)> handler);
    QAction* RecentFileAction(int index) const;

    // Asked before the window closes; false keeps it open.
    void SetCloseGuard(std::function<bool()> guard);
    // Gets the path of a configuration file dropped on the window.
    void SetFileDropHandler(std::function<void(const std::string& path)> handler);
    // The title marks a modified document ("*" after the document's title).
    void SetDocumentModified(bool modified);
    // Enables or disables the commands' menu items, buttons and shortcut keys.
    void SetCommandsEnabled(const std::vector<int>& commandIds, bool enabled);

    // "<document title> - Halvex Configuration Tool", with the mark of a
    // modified document after the document's title.
    void SetDocumentTitle(const std::string& documentTitle);
    // The title as the desktop shows it: "*" after a modified document's title.
    QString ShownTitle() const;
    // The message pane; painted at once, as device operations set it while
    // they keep the user-interface thread busy.
    void SetStatusText(const std::string& text);
    QString StatusText() const;
    // Checks item comPort-1 of the "&COM Port" submenu and unchecks the
    // others; 0 checks "&Other Port...".
    void SetComPortChecks(int comPort);
    // The check mark of a checkable menu item.
    void SetCommandChecked(int commandId, bool checked);
    // The device the device operations would open, shown on the status bar;
    // asked again when the COM port checks change and when the window is
    // activated (the profile may have changed meanwhile).
    void SetPortSource(std::function<std::string()> devicePath);
    void UpdatePortPane();
    QString PortPaneText() const;

    QToolBar* ToolBar() const { return toolBar_; }
    void UpdateKeyLockIndicators();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* MakeAction(int commandId, const std::string& text);
    void FillMenu(QMenu* menu, const std::vector<MenuEntry>& entries);
    void CreateMenuBar();
    void CreateToolBar();
    void CreateStatusBar();
    void RegisterFrameCommands();
    // A drag or drop of a configuration file onto any part of the window;
    // true when it was one and has been handled.
    bool HandleFileDrop(QObject* watched, QEvent* event);

    std::map<int, QAction*> actions_;
    std::vector<QAction*> recentFileActions_;
    std::vector<QAction*> shortcutActions_;
    std::function<void(int)> recentFileHandler_;
    std::function<bool()> closeGuard_;
    std::function<void(const std::string&)> fileDropHandler_;
    std::function<std::string()> portSource_;
    QToolBar* toolBar_ = nullptr;
    QLabel* message_ = nullptr;
    QLabel* port_ = nullptr;
    std::vector<QLabel*> indicators_;
};
