#include "InterruptCancel.h"

#include <csignal>

namespace {

// A signal handler may only store to a lock-free atomic.
static_assert(std::atomic<bool>::is_always_lock_free);
std::atomic<bool> interrupted{false};

void OnInterrupt(int) { interrupted.store(true, std::memory_order_relaxed); }

}  // namespace

struct InterruptCancel::Previous {
    struct sigaction Action {};
};

InterruptCancel::InterruptCancel()
{
    interrupted.store(false);
    auto previous = std::make_unique<Previous>();
    if (::sigaction(SIGINT, nullptr, &previous->Action) != 0 ||
        ((previous->Action.sa_flags & SA_SIGINFO) == 0 && previous->Action.sa_handler == SIG_IGN)) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    ::sigemptyset(&action.sa_mask);
    // File writes and reads elsewhere go on as if nothing happened; the link's
    // waits are slices short enough by themselves.
    action.sa_flags = SA_RESTART;
    if (::sigaction(SIGINT, &action, nullptr) == 0) {
        previous_ = std::move(previous);
    }
}

InterruptCancel::~InterruptCancel()
{
    if (previous_) {
        ::sigaction(SIGINT, &previous_->Action, nullptr);
    }
}

const std::atomic<bool>& InterruptCancel::Flag() const { return interrupted; }
