#include "WindowDescription.h"

#include "CCompanionListBox.h"
#include "CMainFrame.h"
#include "CQuorvinView.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWindow>

#include <cstdio>

namespace {

class FirstExposeWatcher : public QObject {
public:
    FirstExposeWatcher(CMainFrame& frame, CQuorvinView& view, std::chrono::steady_clock::time_point started)
        : QObject(&frame), frame_(frame), view_(view), started_(started)
    {
    }

    // Describes the window once it is exposed: now, or at its first expose.
    void DescribeOnceExposed()
    {
        if (done_ || !frame_.windowHandle()->isExposed()) {
            return;
        }
        done_ = true;
        const auto shownAfter =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started_);
        QTimer::singleShot(0, this, [this, shownAfter] { Describe(shownAfter.count()); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose) {
            DescribeOnceExposed();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void Describe(long long shownAfterMs)
    {
        std::printf("Window: %s\n", frame_.ShownTitle().toLocal8Bit().constData());
        std::printf("Size: %dx%d\n", frame_.width(), frame_.height());
        std::printf("Input Area Bytes: %d\n", view_.InputBytes());
        std::printf("Output Area Bytes: %d\n", view_.OutputBytes());
        std::printf("Shown after: %lld ms\n", shownAfterMs);
        const CCompanionListBox& list = *view_.PointList();
        for (int line = 0; line < list.Count(); ++line) {
            std::printf("%s\n", list.Text(line).toLatin1().constData());
        }
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    CMainFrame& frame_;
    CQuorvinView& view_;
    std::chrono::steady_clock::time_point started_;
    bool done_ = false;
};

}  // namespace

void DescribeWindowWhenShown(CMainFrame& frame, CQuorvinView& view, std::chrono::steady_clock::time_point started)
{
    auto* watcher = new FirstExposeWatcher(frame, view, started);
    frame.winId();
    frame.windowHandle()->installEventFilter(watcher);
    watcher->DescribeOnceExposed();
}
