#pragma once

#include "GatewayLine.h"

// The controlling side of the simulator's pseudo-terminal, stopped when a
// stop descriptor (the simulator's signal descriptor) becomes readable.
class TerminalLine final : public GatewayLine {
public:
    TerminalLine(int controlFd, int stopFd) : controlFd_(controlFd), stopFd_(stopFd) {}

    Wake Wait(int milliseconds) override;
    long Read(std::uint8_t* buffer, std::size_t maxCount) override;
    void Write(const std::uint8_t* bytes, std::size_t count) override;
    bool SleepUntil(Clock::time_point deadline) override;

private:
    int controlFd_;
    int stopFd_;
};
