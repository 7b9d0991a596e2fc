#pragma once

#include <deque>
#include <optional>
#include <string>

// Faults the simulated gateway puts into its replies, for tests. Each fault
// given on the command line applies to the next COUNT reply frames, the
// faults one after the other in the order given.
enum class FaultKind {
    None,
    BadCrc,          // the checksum does not match
    Silence,         // no reply at all
    ErrorBit,        // bit 7 of byte 2 set (device error)
    RetryBit,        // bit 6 of byte 2 set, otherwise valid
    Short,           // only the first half of the data, and the reply ends there
    OversizeLength,  // a length field far beyond any receive buffer
    ZeroBlockCount,  // block count 0, otherwise valid
    TrailingBytes,   // the frame followed by bytes it does not announce
};

class FaultQueue {
public:
    // Adds "KIND" or "KIND:COUNT"; false for an unknown kind or a count
    // that is not a positive number.
    bool Add(const std::string& faultText);

    // The fault of the next reply frame, used up by this call.
    FaultKind Next();

private:
    struct Entry {
        FaultKind Kind;
        int Remaining;
    };
    std::deque<Entry> entries_;
};

std::optional<FaultKind> ParseFaultKind(const std::string& name);
