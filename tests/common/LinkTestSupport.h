#pragma once

#include "InMemoryTransport.h"
#include "LinkFrame.h"
#include "SerialLink.h"
#include "VirtualClock.h"

#include <chrono>
#include <cstdint>
#include <ctime>
#include <initializer_list>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline Bytes FrameOf(std::uint16_t command, int count, int number, const Bytes& data = {})
{
    LinkMessage message;
    message.Command = command;
    message.BlockCount = static_cast<std::uint8_t>(count);
    message.BlockNumber = static_cast<std::uint8_t>(number);
    message.DataLength = static_cast<std::uint16_t>(data.size());
    std::copy(data.begin(), data.end(), message.Data.begin());
    Bytes frame(kMaxFrameLength);
    frame.resize(static_cast<std::size_t>(EncodeFrame(message, frame.data())));
    return frame;
}

inline Bytes Sequence(std::size_t count, int start = 0)
{
    Bytes bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>(start + static_cast<int>(i) * 7);
    }
    return bytes;
}

// Milliseconds of wall time and of this thread's processor time.
class Stopwatch {
public:
    Stopwatch() : wall_(std::chrono::steady_clock::now()), cpu_(ThreadCpu()) {}
    long long WallMilliseconds() const
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - wall_).count();
    }
    double CpuMilliseconds() const { return (ThreadCpu() - cpu_) * 1000.0; }

private:
    static double ThreadCpu()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
    }
    std::chrono::steady_clock::time_point wall_;
    double cpu_;
};

// A serial link over an in-memory transport on a virtual clock: whatever the
// responder set on the transport answers, in no real time.
struct MemoryLine {
    VirtualClock clock;
    InMemoryTransport transport{clock};
    SerialLink link{transport, clock};
};
