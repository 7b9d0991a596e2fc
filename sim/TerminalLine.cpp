#include "TerminalLine.h"

#include "GatewayServer.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr int kWriteStallMilliseconds = 1000;

timespec ToTimespec(std::chrono::nanoseconds duration)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(duration);
    return {static_cast<time_t>(seconds.count()), static_cast<long>((duration - seconds).count())};
}

}  // namespace

GatewayLine::Wake TerminalLine::Wait(int milliseconds)
{
    pollfd fds[2] = {{stopFd_, POLLIN, 0}, {controlFd_, POLLIN, 0}};
    const int ready = ::poll(fds, 2, milliseconds);
    if (ready < 0 && errno != EINTR) {
        return Wake::Ended;
    }
    if ((fds[0].revents & POLLIN) != 0) {
        return Wake::Stop;
    }
    return (fds[1].revents & POLLIN) != 0 ? Wake::Input : Wake::Idle;
}

// A pseudo-terminal stays up while the simulator holds its terminal side, so
// its line never ends; a failed read is only nothing to read.
long TerminalLine::Read(std::uint8_t* buffer, std::size_t maxCount)
{
    const ssize_t got = ::read(controlFd_, buffer, maxCount);
    return got > 0 ? static_cast<long>(got) : 0;
}

void TerminalLine::Write(const std::uint8_t* bytes, std::size_t count)
{
    std::size_t written = 0;
    while (written < count) {
        const ssize_t done = ::write(controlFd_, bytes + written, count - written);
        if (done > 0) {
            written += static_cast<std::size_t>(done);
            continue;
        }
        if (done < 0 && errno == EINTR) {
            continue;
        }
        pollfd wait{controlFd_, POLLOUT, 0};
        if (done < 0 && errno != EAGAIN) {
            return;
        }
        if (::poll(&wait, 1, kWriteStallMilliseconds) <= 0) {
            return;
        }
    }
}

bool TerminalLine::SleepUntil(Clock::time_point deadline)
{
    for (;;) {
        const auto left = deadline - Clock::now();
        if (left <= std::chrono::nanoseconds::zero()) {
            return true;
        }
        pollfd stop{stopFd_, POLLIN, 0};
        const timespec wait = ToTimespec(left);
        if (::ppoll(&stop, 1, &wait, nullptr) > 0 && (stop.revents & POLLIN) != 0) {
            return false;
        }
    }
}

// The pseudo-terminal's own way into GatewayServer, here with the line it
// needs, so that GatewayServer.cpp builds where there is no terminal.
void GatewayServer::Serve(int stopFd)
{
    TerminalLine line(controlFd_, stopFd);
    Serve(line);
}
