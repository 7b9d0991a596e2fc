#include "GatewayServer.h"

#include "LinkFrame.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace {

// A partial frame whose next byte does not come within this time is dropped.
constexpr std::chrono::milliseconds kPartialFrameTimeout{200};
// Paced replies go out in pieces of about this much line time.
constexpr std::chrono::milliseconds kPacingStep{4};
constexpr int kWriteStallMilliseconds = 1000;

timespec ToTimespec(std::chrono::nanoseconds duration)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(duration);
    return {static_cast<time_t>(seconds.count()), static_cast<long>((duration - seconds).count())};
}

}  // namespace

GatewayServer::GatewayServer(GatewayEngine& engine, int controlFd, int lineRate)
    : engine_(engine), controlFd_(controlFd)
{
    if (lineRate > 0) {
        byteTime_ = std::chrono::nanoseconds(10'000'000'000LL / lineRate);
    }
}

void GatewayServer::Serve(int stopFd)
{
    stopFd_ = stopFd;
    for (;;) {
        pollfd fds[2] = {{stopFd_, POLLIN, 0}, {controlFd_, POLLIN, 0}};
        int timeout = -1;
        if (!framer_.Empty()) {
            const auto left = lastByteAt_ + kPartialFrameTimeout - Clock::now();
            timeout = static_cast<int>(std::max<long long>(
                1, std::chrono::duration_cast<std::chrono::milliseconds>(left).count() + 1));
        }
        const int ready = ::poll(fds, 2, timeout);
        if (ready < 0 && errno != EINTR) {
            return;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            return;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            ReadAvailable();
        }
        if (!ProcessFrames()) {
            return;
        }
        if (!framer_.Empty() && Clock::now() - lastByteAt_ > kPartialFrameTimeout) {
            framer_.Clear();
        }
    }
}

void GatewayServer::ReadAvailable()
{
    std::uint8_t buffer[4096];
    for (;;) {
        const ssize_t got = ::read(controlFd_, buffer, sizeof buffer);
        if (got <= 0) {
            return;
        }
        const auto now = Clock::now();
        if (framer_.Empty()) {
            frameStart_ = now;
        }
        lastByteAt_ = now;
        framer_.Add(buffer, static_cast<std::size_t>(got));
    }
}

// Takes every complete frame from the bytes received; false when told to stop
// while pacing.
bool GatewayServer::ProcessFrames()
{
    while (const auto frame = framer_.Next()) {
        const auto length = static_cast<long long>(frame->size());
        if (byteTime_.count() > 0 && !WaitUntil(frameStart_ + byteTime_ * length)) {
            return false;
        }
        frameStart_ = Clock::now();
        const auto reply = engine_.HandleFrame(*frame);
        if (!reply) {
            continue;
        }
        ++requests_;
        if (!Send(*reply)) {
            return false;
        }
    }
    return true;
}

bool GatewayServer::Send(const std::vector<std::uint8_t>& bytes)
{
    if (byteTime_.count() == 0) {
        WriteAll(bytes.data(), bytes.size());
        return true;
    }
    const std::size_t step = static_cast<std::size_t>(std::max<long long>(1, kPacingStep / byteTime_));
    const auto start = Clock::now();
    for (std::size_t offset = 0; offset < bytes.size(); offset += step) {
        const std::size_t end = std::min(offset + step, bytes.size());
        if (!WaitUntil(start + byteTime_ * static_cast<long long>(end))) {
            return false;
        }
        WriteAll(bytes.data() + offset, end - offset);
    }
    return true;
}

void GatewayServer::WriteAll(const std::uint8_t* bytes, std::size_t count)
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

// Sleeps until the deadline; false when the stop descriptor fires first.
bool GatewayServer::WaitUntil(Clock::time_point deadline)
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
