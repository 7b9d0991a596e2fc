#include "TcpGatewayLine.h"

#include <algorithm>
#include <thread>

namespace {

constexpr int kStopSliceMilliseconds = 50;
constexpr int kWriteStallMilliseconds = 1000;

}  // namespace

GatewayLine::Wake TcpGatewayLine::Wait(int milliseconds)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        if (stop_.load()) {
            return Wake::Stop;
        }
        if (!socket_.IsOpen()) {
            return Wake::Ended;
        }
        int slice = kStopSliceMilliseconds;
        if (milliseconds >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) {
                return Wake::Idle;
            }
            slice = static_cast<int>(std::min<long long>(left, slice));
        }
        if (socket_.WaitReadable(slice)) {
            return Wake::Input;
        }
    }
}

void TcpGatewayLine::Write(const std::uint8_t* bytes, std::size_t count)
{
    if (!socket_.SendAll(bytes, count, kWriteStallMilliseconds)) {
        socket_.Close();
    }
}

bool TcpGatewayLine::SleepUntil(Clock::time_point deadline)
{
    while (Clock::now() < deadline) {
        if (stop_.load()) {
            return false;
        }
        std::this_thread::sleep_until(std::min(deadline, Clock::now() + std::chrono::milliseconds(kStopSliceMilliseconds)));
    }
    return !stop_.load();
}
