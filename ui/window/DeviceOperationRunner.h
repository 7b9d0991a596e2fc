#pragma once

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>

class QWidget;
class SerialLink;

// Runs one device operation at a time on a worker thread while the
// user-interface thread goes on painting and answering the desktop. Until
// the operation ends the main window takes no input but Cancel (the cancel
// button and Esc); windows of their own (the operation's message boxes and
// file dialogs, the communication log) take theirs as usual.
class DeviceOperationRunner : public QObject {
public:
    // The main window and the button that cancels.
    DeviceOperationRunner(QWidget* mainWindow, QWidget* cancelButton);

    // Runs the operation on the link's worker thread and returns when it has
    // ended; the link looks at this runner's cancel flag meanwhile. Nothing
    // happens while another operation runs.
    void Run(SerialLink& link, const std::function<void()>& operation);
    bool IsRunning() const { return running_; }
    // Asks the running operation to stop; it ends at its next frame or
    // within a slice of its wait, and says "Operation cancelled".
    void Cancel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsForMainWindow(QObject* watched) const;

    QPointer<QWidget> mainWindow_;
    QPointer<QWidget> cancelButton_;
    std::atomic<bool> cancel_{false};
    bool running_ = false;
};
