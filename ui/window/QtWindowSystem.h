#pragma once

#include "CommunicationLog.h"
#include "DocumentHost.h"

#include <QFileDialog>
#include <QObject>
#include <QPointer>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

class CMainFrame;
class CQuorvinView;
class DeviceOperationRunner;
class ProfileStore;
class RecentFileList;
class QWidget;

// The window system of the window program: message boxes, file dialogs, the
// status line and the progress bar, the main form and view, the profile and
// the user's regional settings.
//
// Device operations run on a worker thread (RunDeviceOperation), and every
// method may be called from any thread: a call from another thread is run
// on the user-interface thread while the caller waits. The file watcher asks
// its questions from its own thread too; after Detach() such questions are
// answered No at once.
class QtWindowSystem : public DocumentHost {
public:
    QtWindowSystem(ProfileStore& profile, RecentFileList& recentFiles);
    ~QtWindowSystem() override;

    void Attach(CMainFrame* frame, CQuorvinView* view);
    // Before the windows go: forgets them and answers every waiting question No.
    void Detach();

    void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) override;
    bool AskYesNo(const std::string& caption, const std::string& text, MessageIcon icon) override;
    std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) override;
    std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) override;
    std::optional<std::string> ChooseFolder(const std::string& title) override;
    void SetStatusText(const std::string& text) override;
    void SetProgress(int percent) override;

    SaveChangesAnswer AskSaveChanges(const std::string& documentTitle) override;
    bool CommitForm() override;
    void UpdateAllViews() override;
    void ModifiedChanged(bool modified) override;
    void TitleChanged(const std::string& title) override;
    void AddToRecentFiles(const std::string& path) override;
    void SetComPortChecks(int comPort) override;

    int ReadProfileInt(const std::string& section, const std::string& key, int defaultValue) override;
    void WriteProfileInt(const std::string& section, const std::string& key, int value) override;
    std::optional<std::string> ReadProfileString(const std::string& section, const std::string& key) override;
    void WriteProfileString(const std::string& section, const std::string& key, const std::string& value) override;

    std::optional<std::string> QueryListSeparator() override;
    std::optional<std::string> QueryDecimalSeparator() override;

    std::optional<int> EditSlaveAddress(int preset) override;
    void ShowDiagnostics(const DiagnosticsRecord& record) override;
    bool ShowGatewayDifferences(const std::vector<std::string>& lines) override;

    bool AskAboutFileChange(const std::string& caption, const std::string& text) override;
    void PostFileChange() override;

    // On a worker thread, the window kept alive and Cancel offered meanwhile;
    // every frame goes to the communication log.
    void RunDeviceOperation(SerialLink& link, const std::function<void()>& operation) override;
    bool DeviceOperationRunning() const;
    void CancelDeviceOperation();
    // The main window is to close: false when no operation runs. Otherwise
    // asks whether to cancel it; Yes cancels and closes the window once the
    // operation has ended. True then: the window stays for now.
    bool HoldCloseForOperation();
    CommunicationLog& Log() { return log_; }

private:
    std::optional<std::string> RunFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode);
    struct PendingQuestion;

    template <typename Function>
    auto OnUiThread(Function function) -> decltype(function());
    template <typename Function>
    void OnUiThreadWithoutWaiting(Function function);
    QWidget* Owner() const;
    bool AskOnThisThread(const std::string& caption, const std::string& text, MessageIcon icon);
    bool AskFromOtherThread(const std::string& caption, const std::string& text, MessageIcon icon,
                            bool afterModalDialogs = false);

    ProfileStore& profile_;
    RecentFileList& recentFiles_;
    // Lives on the user-interface thread; questions from other threads are
    // queued to it.
    std::unique_ptr<QObject> uiThreadContext_;
    QPointer<CMainFrame> frame_;
    QPointer<CQuorvinView> view_;
    CommunicationLog log_;
    DeviceOperationRunner* runner_ = nullptr;  // owned by the frame
    bool closeAfterOperation_ = false;
    std::atomic<int> workerProgress_{-1};  // the bar's position last sent by a worker

    std::mutex crossThreadLock_;  // guards the three below
    bool detached_ = false;
    CQuorvinView* postTarget_ = nullptr;
    std::vector<std::weak_ptr<PendingQuestion>> pendingQuestions_;
};
