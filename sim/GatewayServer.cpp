#include "GatewayServer.h"

#include "LinkFrame.h"

#include <algorithm>
#include <optional>

namespace {

// A partial frame whose next byte does not come within this time is dropped.
constexpr std::chrono::milliseconds kPartialFrameTimeout{200};
// Paced replies go out in pieces of about this much line time.
constexpr std::chrono::milliseconds kPacingStep{4};

}  // namespace

GatewayServer::GatewayServer(GatewayEngine& engine, int lineRate, std::mutex* engineLock)
    : engine_(engine), engineLock_(engineLock)
{
    if (lineRate > 0) {
        byteTime_ = std::chrono::nanoseconds(10'000'000'000LL / lineRate);
    }
}

GatewayServer::GatewayServer(GatewayEngine& engine, int controlFd, int lineRate) : GatewayServer(engine, lineRate)
{
    controlFd_ = controlFd;
}

void GatewayServer::Serve(GatewayLine& line)
{
    line_ = &line;
    framer_.Clear();
    for (;;) {
        int timeout = -1;
        if (!framer_.Empty()) {
            const auto left = lastByteAt_ + kPartialFrameTimeout - Clock::now();
            timeout = static_cast<int>(std::max<long long>(
                1, std::chrono::duration_cast<std::chrono::milliseconds>(left).count() + 1));
        }
        const GatewayLine::Wake wake = line.Wait(timeout);
        if (wake == GatewayLine::Wake::Stop || wake == GatewayLine::Wake::Ended) {
            return;
        }
        if (wake == GatewayLine::Wake::Input && !ReadAvailable()) {
            return;
        }
        if (!ProcessFrames()) {
            return;
        }
        if (!framer_.Empty() && Clock::now() - lastByteAt_ > kPartialFrameTimeout) {
            framer_.Clear();
        }
    }
}

// Takes what has arrived; false when the other side has gone.
bool GatewayServer::ReadAvailable()
{
    std::uint8_t buffer[4096];
    for (;;) {
        const long got = line_->Read(buffer, sizeof buffer);
        if (got <= 0) {
            return got == 0;
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
        if (byteTime_.count() > 0 && !line_->SleepUntil(frameStart_ + byteTime_ * length)) {
            return false;
        }
        frameStart_ = Clock::now();
        std::optional<std::vector<std::uint8_t>> reply;
        if (engineLock_ != nullptr) {
            std::lock_guard guard(*engineLock_);
            reply = engine_.HandleFrame(*frame);
        } else {
            reply = engine_.HandleFrame(*frame);
        }
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
        line_->Write(bytes.data(), bytes.size());
        return true;
    }
    const std::size_t step = static_cast<std::size_t>(std::max<long long>(1, kPacingStep / byteTime_));
    const auto start = Clock::now();
    for (std::size_t offset = 0; offset < bytes.size(); offset += step) {
        const std::size_t end = std::min(offset + step, bytes.size());
        if (!line_->SleepUntil(start + byteTime_ * static_cast<long long>(end))) {
            return false;
        }
        line_->Write(bytes.data() + offset, end - offset);
    }
    return true;
}
