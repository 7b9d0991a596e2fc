#pragma once

#include "Clock.h"

// A clock that moves only when it is slept on: waits of the serial link take
// no real time, and what they would have taken can be read off it.
class VirtualClock final : public Clock {
public:
    long long NowMilliseconds() override { return now_; }
    void Sleep(int milliseconds) override
    {
        if (milliseconds > 0) {
            now_ += milliseconds;
        }
    }

private:
    long long now_ = 0;
};
