#include "DeviceOperationRunner.h"

#include "SerialLink.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QWidget>

#include <thread>

DeviceOperationRunner::DeviceOperationRunner(QWidget* mainWindow, QWidget* cancelButton)
    : QObject(mainWindow), mainWindow_(mainWindow), cancelButton_(cancelButton)
{
}

void DeviceOperationRunner::Run(SerialLink& link, const std::function<void()>& operation)
{
    if (running_) {
        return;
    }
    running_ = true;
    cancel_ = false;
    link.SetCancelFlag(&cancel_);
    qApp->installEventFilter(this);

    // The loop ends when the worker has finished: its quit is queued to
    // this thread after the operation's last message has been answered.
    QEventLoop loop;
    std::thread worker([&operation, &loop] {
        operation();
        QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();

    qApp->removeEventFilter(this);
    link.SetCancelFlag(nullptr);
    running_ = false;
}

void DeviceOperationRunner::Cancel()
{
    if (running_) {
        cancel_ = true;
    }
}

// Input reaches the widgets through their windows first; it is judged when
// it arrives at a widget, so windows pass. An action's shortcut belongs to
// the window that owns it or of the widgets it is on.
bool DeviceOperationRunner::IsForMainWindow(QObject* watched) const
{
    if (!mainWindow_) {
        return false;
    }
    if (watched->isWidgetType()) {
        return static_cast<QWidget*>(watched)->window() == mainWindow_;
    }
    if (const auto* action = qobject_cast<QAction*>(watched)) {
        if (const auto* parent = qobject_cast<QWidget*>(action->parent()); parent && parent->window() == mainWindow_) {
            return true;
        }
        for (QObject* owner : action->associatedObjects()) {
            if (owner->isWidgetType() && static_cast<QWidget*>(owner)->window() == mainWindow_) {
                return true;
            }
        }
    }
    return false;
}

bool DeviceOperationRunner::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (IsForMainWindow(watched)) {
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
                Cancel();
            }
            return true;
        }
        break;
    case QEvent::ShortcutOverride:
        // Claimed, so that no shortcut of the main window fires; the key
        // then comes as a key press and is dropped above.
        if (IsForMainWindow(watched)) {
            event->accept();
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (IsForMainWindow(watched) && watched != cancelButton_) {
            return true;
        }
        break;
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        if (IsForMainWindow(watched)) {
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}
