#include "InterruptCancel.h"

namespace {

// A signal handler may only store to a lock-free atomic.
static_assert(std::atomic<bool>::is_always_lock_free);
std::atomic<bool> interrupted{false};

void OnInterrupt(int) { interrupted.store(true, std::memory_order_relaxed); }

}  // namespace

InterruptCancel::InterruptCancel()
{
    interrupted.store(false);
    if (::sigaction(SIGINT, nullptr, &previous_) != 0 ||
        ((previous_.sa_flags & SA_SIGINFO) == 0 && previous_.sa_handler == SIG_IGN)) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    ::sigemptyset(&action.sa_mask);
    // File writes and reads elsewhere go on as if nothing happened; the link's
    // waits are slices short enough by themselves.
    action.sa_flags = SA_RESTART;
    installed_ = ::sigaction(SIGINT, &action, nullptr) == 0;
}

InterruptCancel::~InterruptCancel()
{
    if (installed_) {
        ::sigaction(SIGINT, &previous_, nullptr);
    }
}

const std::atomic<bool>& InterruptCancel::Flag() const { return interrupted; }
