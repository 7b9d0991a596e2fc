#pragma once

// Milliseconds on a monotonic clock, and pauses measured on it. The serial
// link takes its time from a clock it is given, so that its time-outs can be
// tested on a virtual one.
class Clock {
public:
    virtual ~Clock() = default;
    virtual long long NowMilliseconds() = 0;
    // The same clock in microseconds, for the times of the traffic trace; a
    // clock without a finer grain gives its milliseconds.
    virtual long long NowMicroseconds() { return NowMilliseconds() * 1000; }
    // Pauses the calling thread; nothing happens for 0 or less.
    virtual void Sleep(int milliseconds) = 0;
};

// The machine's monotonic clock and real pauses.
class SteadyClock final : public Clock {
public:
    long long NowMilliseconds() override;
    long long NowMicroseconds() override;
    void Sleep(int milliseconds) override;

    // The one instance: the clock has no state.
    static SteadyClock& Instance();
};
