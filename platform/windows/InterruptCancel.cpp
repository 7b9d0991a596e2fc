#include "InterruptCancel.h"

#include <windows.h>

namespace {

std::atomic<bool> interrupted{false};

// Runs on a thread of its own that the console starts; TRUE ends the
// handling, so the process goes on.
BOOL WINAPI OnControl(DWORD event)
{
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        interrupted.store(true, std::memory_order_relaxed);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

// The console keeps a list of handlers: removing ours brings the earlier
// ones back, so there is nothing to keep.
struct InterruptCancel::Previous {};

InterruptCancel::InterruptCancel()
{
    interrupted.store(false);
    if (::SetConsoleCtrlHandler(OnControl, TRUE)) {
        previous_ = std::make_unique<Previous>();
    }
}

InterruptCancel::~InterruptCancel()
{
    if (previous_) {
        ::SetConsoleCtrlHandler(OnControl, FALSE);
    }
}

const std::atomic<bool>& InterruptCancel::Flag() const { return interrupted; }
