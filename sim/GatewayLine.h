#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

// The gateway's end of the line the simulator serves: the controlling side
// of a pseudo-terminal, or a client's TCP connection. Each line also knows
// when the simulator is told to stop.
class GatewayLine {
public:
    using Clock = std::chrono::steady_clock;
    enum class Wake { Input, Idle, Stop, Ended };

    virtual ~GatewayLine() = default;
    // Waits until bytes arrive (Input), the milliseconds pass (Idle; -1 for
    // no limit), the simulator is told to stop (Stop) or the other side has
    // gone for good (Ended).
    virtual Wake Wait(int milliseconds) = 0;
    // What has arrived, without blocking: the number of bytes, 0 for none,
    // -1 when the other side has gone for good.
    virtual long Read(std::uint8_t* buffer, std::size_t maxCount) = 0;
    // Sends the bytes; those the line does not take within a second are lost.
    virtual void Write(const std::uint8_t* bytes, std::size_t count) = 0;
    // Sleeps until the time; false when told to stop first.
    virtual bool SleepUntil(Clock::time_point deadline) = 0;
};
