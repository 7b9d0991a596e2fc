#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class QWidget;

// Runs an action once no modal dialog of the program is open: at once when
// none is, else when the open dialogs have closed and their event loops have
// ended, so that what the code that opened a dialog does with its result (an
// edit stored into its point, say) comes first. Requests made while waiting
// run the action once. While `busy` says so (a device operation runs, say)
// the action waits as for a dialog.
class AfterModalDialogs : public QObject {
public:
    AfterModalDialogs(std::function<void()> action, QObject* parent, std::function<bool()> busy = {});

    void Request();
    // The action once, as Request would run it, by an object that then goes.
    static void RunOnce(std::function<void()> action, QObject* parent);
    bool IsWaiting() const { return timer_.isActive(); }

private:
    void Check();

    std::function<void()> action_;
    std::function<bool()> busy_;
    QTimer timer_;
    // The dialog last seen open, and the event-loop level it was seen at:
    // until it is gone or its loop has ended, its caller has not run yet.
    QPointer<QWidget> waitedFor_;
    int waitLevel_ = 0;
};
