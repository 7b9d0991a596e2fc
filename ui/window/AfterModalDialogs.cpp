#include "AfterModalDialogs.h"

#include <QApplication>
#include <QThread>
#include <QWidget>

namespace {

// How often a waiting request looks again.
constexpr int kCheckMilliseconds = 20;

int LoopLevel() { return QThread::currentThread()->loopLevel(); }

}  // namespace

AfterModalDialogs::AfterModalDialogs(std::function<void()> action, QObject* parent, std::function<bool()> busy)
    : QObject(parent), action_(std::move(action)), busy_(std::move(busy))
{
    timer_.setSingleShot(true);
    timer_.setInterval(kCheckMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &AfterModalDialogs::Check);
}

void AfterModalDialogs::RunOnce(std::function<void()> action, QObject* parent)
{
    auto* once = new AfterModalDialogs({}, parent);
    // Deleted once back in the event loop, after the action and whatever
    // dialogs it opens.
    once->action_ = [once, action = std::move(action)] {
        once->deleteLater();
        action();
    };
    once->Request();
}

void AfterModalDialogs::Request()
{
    if (!timer_.isActive()) {
        Check();
    }
}

void AfterModalDialogs::Check()
{
    if (busy_ && busy_()) {
        timer_.start();
        return;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        waitedFor_ = modal;
        waitLevel_ = LoopLevel();
        timer_.start();
        return;
    }
    // A dialog that has just closed may still be inside its own event loop.
    if (waitedFor_ && LoopLevel() >= waitLevel_) {
        timer_.start();
        return;
    }
    waitedFor_ = nullptr;
    action_();
}
