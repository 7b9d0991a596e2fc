#include "QtWindowSystem.h"

#include "AfterModalDialogs.h"
#include "CMainFrame.h"
#include "CQuorvinView.h"
#include "DeviceOperationRunner.h"
#include "DiagnosticsDialog.h"
#include "GatewayDifferencesDialog.h"
#include "FileChangeEvent.h"
#include "FileDialogFilter.h"
#include "ProfileStore.h"
#include "RecentFileList.h"
#include "RegionalSeparators.h"
#include "RegionalSettings.h"
#include "SerialLink.h"
#include "SlaveAddressDialog.h"
#include "TextConversion.h"

#include <QApplication>
#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

#include <type_traits>


namespace {

// The regional separators are texts of up to 32 characters.
constexpr std::size_t kSeparatorLength = 32;

QMessageBox::Icon ToQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton RunMessageBox(QWidget* owner, const std::string& caption, const std::string& text,
                                          MessageIcon icon, QMessageBox::StandardButtons buttons,
                                          QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(ToQtIcon(icon), MessageToQString(caption), MessageToQString(text), buttons, owner);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

std::optional<std::string> ProfileSeparator(ProfileStore& profile, const char* key)
{
    auto value = profile.ReadString("Settings", key);
    if (value && value->size() > kSeparatorLength) {
        value->resize(kSeparatorLength);
    }
    return value;
}

std::string LocaleDecimalSeparator() { return ToLatin1(QLocale::system().decimalPoint()); }

}  // namespace

struct QtWindowSystem::PendingQuestion {
    std::mutex Lock;
    std::condition_variable Changed;
    std::optional<bool> Answer;

    void Give(bool answer)
    {
        {
            std::lock_guard guard(Lock);
            if (Answer) {
                return;
            }
            Answer = answer;
        }
        Changed.notify_all();
    }

    bool IsAnswered()
    {
        std::lock_guard guard(Lock);
        return Answer.has_value();
    }

    bool Wait()
    {
        std::unique_lock guard(Lock);
        Changed.wait(guard, [this] { return Answer.has_value(); });
        return *Answer;
    }
};

QtWindowSystem::QtWindowSystem(ProfileStore& profile, RecentFileList& recentFiles)
    : profile_(profile), recentFiles_(recentFiles), uiThreadContext_(std::make_unique<QObject>())
{
}

QtWindowSystem::~QtWindowSystem() { Detach(); }

void QtWindowSystem::Attach(CMainFrame* frame, CQuorvinView* view)
{
    frame_ = frame;
    view_ = view;
    runner_ = new DeviceOperationRunner(frame, view->CancelButton());
    QObject::connect(view->CancelButton(), &QPushButton::clicked, runner_, [this] { CancelDeviceOperation(); });
    std::lock_guard guard(crossThreadLock_);
    postTarget_ = view;
    detached_ = false;
}

void QtWindowSystem::Detach()
{
    std::vector<std::weak_ptr<PendingQuestion>> pending;
    {
        std::lock_guard guard(crossThreadLock_);
        detached_ = true;
        postTarget_ = nullptr;
        pending.swap(pendingQuestions_);
    }
    for (const auto& waiting : pending) {
        if (const auto question = waiting.lock()) {
            question->Give(false);
        }
    }
    frame_ = nullptr;
    view_ = nullptr;
}

// A call from a worker thread is run on the user-interface thread, the
// worker waiting for it: widgets and the profile belong to that thread.
template <typename Function>
auto QtWindowSystem::OnUiThread(Function function) -> decltype(function())
{
    if (QThread::currentThread() == uiThreadContext_->thread()) {
        return function();
    }
    using Result = decltype(function());
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(uiThreadContext_.get(), function, Qt::BlockingQueuedConnection);
    } else {
        std::optional<Result> result;
        QMetaObject::invokeMethod(
            uiThreadContext_.get(), [&result, &function] { result.emplace(function()); },
            Qt::BlockingQueuedConnection);
        return std::move(*result);
    }
}

// The status line and the bar need no answer: a worker goes on at once. Calls
// queued to the user-interface thread run in the order they were made, so
// the bar and the status line are up to date before a later message box.
template <typename Function>
void QtWindowSystem::OnUiThreadWithoutWaiting(Function function)
{
    if (QThread::currentThread() == uiThreadContext_->thread()) {
        function();
    } else {
        QMetaObject::invokeMethod(uiThreadContext_.get(), std::move(function), Qt::QueuedConnection);
    }
}

QWidget* QtWindowSystem::Owner() const { return frame_.data(); }

void QtWindowSystem::ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon)
{
    OnUiThread([&] { RunMessageBox(Owner(), caption, text, icon, QMessageBox::Ok, QMessageBox::Ok); });
}

bool QtWindowSystem::AskYesNo(const std::string& caption, const std::string& text, MessageIcon icon)
{
    if (QThread::currentThread() == uiThreadContext_->thread()) {
        return AskOnThisThread(caption, text, icon);
    }
    return AskFromOtherThread(caption, text, icon);
}

bool QtWindowSystem::AskOnThisThread(const std::string& caption, const std::string& text, MessageIcon icon)
{
    return RunMessageBox(Owner(), caption, text, icon, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

bool QtWindowSystem::AskAboutFileChange(const std::string& caption, const std::string& text)
{
    if (QThread::currentThread() == uiThreadContext_->thread()) {
        return AskOnThisThread(caption, text, MessageIcon::Warning);
    }
    return AskFromOtherThread(caption, text, MessageIcon::Warning, true);
}

// The question is queued to the user-interface thread, where, when asked to,
// it waits until no modal dialog is open; the caller waits for the answer.
bool QtWindowSystem::AskFromOtherThread(const std::string& caption, const std::string& text, MessageIcon icon,
                                        bool afterModalDialogs)
{
    const auto question = std::make_shared<PendingQuestion>();
    {
        std::lock_guard guard(crossThreadLock_);
        if (detached_) {
            return false;
        }
        std::erase_if(pendingQuestions_, [](const std::weak_ptr<PendingQuestion>& entry) { return entry.expired(); });
        pendingQuestions_.push_back(question);
        auto ask = [this, question, caption, text, icon] {
            if (!question->IsAnswered()) {
                question->Give(AskOnThisThread(caption, text, icon));
            }
        };
        QMetaObject::invokeMethod(
            uiThreadContext_.get(),
            [this, ask, afterModalDialogs] {
                if (afterModalDialogs) {
                    AfterModalDialogs::RunOnce(ask, uiThreadContext_.get());
                } else {
                    ask();
                }
            },
            Qt::QueuedConnection);
    }
    return question->Wait();
}

std::optional<std::string> QtWindowSystem::ChooseFileToOpen(const FileDialogRequest& request)
{
    return OnUiThread([&] { return RunFileDialog(request, QFileDialog::AcceptOpen); });
}

std::optional<std::string> QtWindowSystem::ChooseFileToSave(const FileDialogRequest& request)
{
    return OnUiThread([&] { return RunFileDialog(request, QFileDialog::AcceptSave); });
}

std::optional<std::string> QtWindowSystem::ChooseFolder(const std::string& title)
{
    return OnUiThread([&]() -> std::optional<std::string> {
        const QString folder = QFileDialog::getExistingDirectory(Owner(), QString::fromStdString(title));
        if (folder.isEmpty()) {
            return std::nullopt;
        }
        return folder.toStdString();
    });
}

// The open dialog takes only a file that exists; the save dialog any name,
// asking before it replaces a file only where the request says so.
std::optional<std::string> QtWindowSystem::RunFileDialog(const FileDialogRequest& request,
                                                         QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(Owner());
    dialog.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptOpen) {
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.ConfirmOverwrite);
    }
    dialog.setNameFilters(NameFiltersFromFilterText(request.Filter));
    dialog.setDefaultSuffix(DefaultSuffix(request.DefaultExtension));
    if (!request.InitialName.empty()) {
        dialog.selectFile(PathToQString(request.InitialName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return PathFromQString(dialog.selectedFiles().front());
}

void QtWindowSystem::SetStatusText(const std::string& text)
{
    OnUiThreadWithoutWaiting([this, text] {
        if (frame_) {
            frame_->SetStatusText(text);
        }
    });
}

void QtWindowSystem::SetProgress(int percent)
{
    // A worker moves the bar once per frame; only a new position is sent on.
    if (QThread::currentThread() != uiThreadContext_->thread() && workerProgress_.exchange(percent) == percent) {
        return;
    }
    OnUiThreadWithoutWaiting([this, percent] {
        if (view_) {
            view_->SetProgress(percent);
        }
    });
}

DocumentHost::SaveChangesAnswer QtWindowSystem::AskSaveChanges(const std::string& documentTitle)
{
    const auto answer = OnUiThread([&] {
        return RunMessageBox(Owner(), kApplicationTitle, "Save changes to " + documentTitle + "?",
                             MessageIcon::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                             QMessageBox::Yes);
    });
    if (answer == QMessageBox::Yes) {
        return SaveChangesAnswer::Yes;
    }
    return answer == QMessageBox::No ? SaveChangesAnswer::No : SaveChangesAnswer::Cancel;
}

bool QtWindowSystem::CommitForm()
{
    return OnUiThread([&] { return view_ ? view_->CommitForm() : true; });
}

void QtWindowSystem::UpdateAllViews()
{
    OnUiThread([&] {
        if (view_) {
            view_->OnUpdate();
        }
    });
}

void QtWindowSystem::ModifiedChanged(bool modified)
{
    OnUiThread([&] {
        if (frame_) {
            frame_->SetDocumentModified(modified);
        }
    });
}

void QtWindowSystem::TitleChanged(const std::string& title)
{
    OnUiThread([&] {
        if (frame_) {
            frame_->SetDocumentTitle(title);
        }
    });
}

void QtWindowSystem::AddToRecentFiles(const std::string& path)
{
    OnUiThread([&] {
        recentFiles_.Add(path);
        if (frame_) {
            frame_->SetRecentFiles(recentFiles_.Paths());
        }
    });
}

void QtWindowSystem::SetComPortChecks(int comPort)
{
    OnUiThread([&] {
        if (frame_) {
            frame_->SetComPortChecks(comPort);
        }
    });
}

int QtWindowSystem::ReadProfileInt(const std::string& section, const std::string& key, int defaultValue)
{
    return OnUiThread([&] { return profile_.ReadInt(section, key, defaultValue); });
}

void QtWindowSystem::WriteProfileInt(const std::string& section, const std::string& key, int value)
{
    OnUiThread([&] { profile_.WriteInt(section, key, value); });
}

std::optional<std::string> QtWindowSystem::ReadProfileString(const std::string& section, const std::string& key)
{
    return OnUiThread([&] { return profile_.ReadString(section, key); });
}

void QtWindowSystem::WriteProfileString(const std::string& section, const std::string& key, const std::string& value)
{
    OnUiThread([&] { profile_.WriteString(section, key, value); });
}

std::optional<std::string> QtWindowSystem::QueryListSeparator()
{
    return OnUiThread([&]() -> std::optional<std::string> {
        if (auto configured = ProfileSeparator(profile_, "ListSeparator")) {
            return configured;
        }
        if (auto system = SystemListSeparator(); system && !system->empty()) {
            return system->substr(0, kSeparatorLength);
        }
        const std::string decimal = QueryDecimalSeparator().value_or(".");
        return ListSeparatorFor(decimal);
    });
}

std::optional<std::string> QtWindowSystem::QueryDecimalSeparator()
{
    return OnUiThread([&]() -> std::optional<std::string> {
        if (auto configured = ProfileSeparator(profile_, "DecimalSeparator")) {
            return configured;
        }
        std::string decimal = SystemDecimalSeparator().value_or(LocaleDecimalSeparator());
        if (decimal.empty()) {
            return std::nullopt;
        }
        return decimal.substr(0, kSeparatorLength);
    });
}

std::optional<int> QtWindowSystem::EditSlaveAddress(int preset)
{
    return OnUiThread([&]() -> std::optional<int> {
        SlaveAddressDialog dialog(Owner());
        dialog.Address = preset;
        if (!dialog.Run()) {
            return std::nullopt;
        }
        return dialog.Address;
    });
}

bool QtWindowSystem::ShowGatewayDifferences(const std::vector<std::string>& lines)
{
    return OnUiThread([&] {
        GatewayDifferencesDialog dialog(lines, Owner());
        return dialog.exec() == QDialog::Accepted;
    });
}

void QtWindowSystem::ShowDiagnostics(const DiagnosticsRecord& record)
{
    OnUiThread([&] {
        DiagnosticsDialog dialog(Owner());
        dialog.Record = record;
        dialog.Run();
    });
}

void QtWindowSystem::PostFileChange()
{
    std::lock_guard guard(crossThreadLock_);
    if (!detached_ && postTarget_) {
        QCoreApplication::postEvent(postTarget_, new QEvent(FileChangeEventType()));
    }
}

void QtWindowSystem::RunDeviceOperation(SerialLink& link, const std::function<void()>& operation)
{
    link.SetObserver(&log_);
    if (runner_ == nullptr || !view_ || !frame_ || runner_->IsRunning()) {
        operation();
        return;
    }
    workerProgress_ = -1;
    view_->SetDeviceOperationRunning(true);
    runner_->Run(link, operation);
    if (view_) {
        view_->SetDeviceOperationRunning(false);
    }
    if (closeAfterOperation_ && frame_) {
        closeAfterOperation_ = false;
        QMetaObject::invokeMethod(frame_.data(), &QWidget::close, Qt::QueuedConnection);
    }
}

bool QtWindowSystem::DeviceOperationRunning() const { return runner_ != nullptr && runner_->IsRunning(); }

void QtWindowSystem::CancelDeviceOperation()
{
    if (DeviceOperationRunning()) {
        runner_->Cancel();
        if (view_) {
            view_->CancelButton()->setEnabled(false);
        }
    }
}

bool QtWindowSystem::HoldCloseForOperation()
{
    if (!DeviceOperationRunning()) {
        return false;
    }
    if (AskOnThisThread(kApplicationTitle, "A device operation is running.\nCancel it and close the window?",
                        MessageIcon::Question) &&
        DeviceOperationRunning()) {
        closeAfterOperation_ = true;
        CancelDeviceOperation();
    }
    return true;
}
