#pragma once

#include "ProfileStore.h"
#include "RecentFileList.h"
#include "StartOptions.h"

#include <memory>
#include <string>

class CMainFrame;
class CommunicationLogWindow;
class OperationsLogWindow;
class CQuorvinDoc;
class CQuorvinView;
class QtWindowSystem;

// The application: ties the document, the main frame and the main view
// together, keeps the profile and the recent-file list, and runs the
// commands that belong to no document (New, Open, the recent files, About,
// the port dialog).
class CQuorvinApp {
public:
    // The user's profile, or the one given (tests).
    explicit CQuorvinApp(StartOptions options, std::unique_ptr<ProfileStore> profile = nullptr);
    ~CQuorvinApp();

    CQuorvinApp(const CQuorvinApp&) = delete;
    CQuorvinApp& operator=(const CQuorvinApp&) = delete;

    // Start-up: the "FILECHANGE" event type, the recent files, the
    // document, frame and view, the file of the command line (or a new
    // document), the window shown, and the XRF import the command line asks for.
    void InitInstance();

    void OnFileNew();
    void OnFileOpen();
    void OnOpenRecentFile(int index);
    // A file dropped on the window: asks to save changes first, then opens it.
    void OpenFile(const std::string& path);
    void OnAppAbout();
    // Settings > COM Port > Other Port...: the port dialog, preset with the
    // device in use; OK makes its path the port of every device operation.
    void OnOtherPort();
    // View > Communication Log: the log window, made on first use and kept.
    void OnViewCommunicationLog();
    CommunicationLogWindow* LogWindow() const { return logWindow_; }
    // View > Operations Log: the window, made on first use and kept; the
    // log read again each time it is shown.
    void OnViewOperationsLog();
    OperationsLogWindow* OperationsWindow() const { return operationsLogWindow_; }

    CMainFrame& Frame() { return *frame_; }
    CQuorvinView& View() { return *view_; }
    CQuorvinDoc& Document() { return *document_; }
    QtWindowSystem& Ui() { return *ui_; }
    RecentFileList& RecentFiles() { return recentFiles_; }
    ProfileStore& Profile() { return *profile_; }

private:
    void RegisterCommands();
    // Undo, Redo, Cut, Copy and Paste enabled as they can act now.
    void UpdateEditCommands();

    StartOptions options_;
    std::unique_ptr<ProfileStore> profile_;
    RecentFileList recentFiles_;
    std::unique_ptr<QtWindowSystem> ui_;
    std::unique_ptr<CQuorvinDoc> document_;
    std::unique_ptr<CMainFrame> frame_;
    CQuorvinView* view_ = nullptr;  // owned by the frame
    CommunicationLogWindow* logWindow_ = nullptr;  // owned by the frame
    OperationsLogWindow* operationsLogWindow_ = nullptr;  // owned by the frame
};
