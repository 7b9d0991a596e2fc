#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>

// What the serial link reports to an observer: every frame it sends or
// receives and every wait that ends without a frame.
enum class TraceDirection { Sent, Received, Event };

// Notes on a traced frame, any number of them at once.
inline constexpr unsigned kTraceCrcBad = 1U << 0;        // the reply's checksum is wrong
inline constexpr unsigned kTraceInvalid = 1U << 1;       // no frame: impossible length or no block
inline constexpr unsigned kTraceResend = 1U << 2;        // the request sent again after an invalid reply
inline constexpr unsigned kTraceContinuation = 1U << 3;  // a continuation request
inline constexpr unsigned kTraceErrorBit = 1U << 4;      // the reply carries the device error bit
inline constexpr unsigned kTraceRetryBit = 1U << 5;      // the reply carries the retry bit
inline constexpr unsigned kTraceTimeout = 1U << 6;       // no complete reply within the reply time-out
inline constexpr unsigned kTraceCancelled = 1U << 7;     // the user cancelled the operation
inline constexpr unsigned kTraceConnected = 1U << 8;     // a network port's connection is made
inline constexpr unsigned kTraceDisconnected = 1U << 9;  // a network port's connection has ended

struct LinkTraceEvent {
    long long Microseconds = 0;  // since the port was opened
    TraceDirection Direction = TraceDirection::Event;
    const std::uint8_t* Bytes = nullptr;
    std::size_t Count = 0;
    unsigned Notes = 0;
};

// Receives the link's events on the thread that runs the link.
class LinkObserver {
public:
    virtual ~LinkObserver() = default;
    virtual void OnLinkEvent(const LinkTraceEvent& event) = 0;
};

// One trace line without its line end: the time in milliseconds with three
// decimals, TX, RX or --, the bytes in upper-case hex, and the notes, the
// four separated by tabs (the notes and their tab only when there are any).
std::string FormatTraceLine(const LinkTraceEvent& event);

// Writes every event as a trace line to a stream, flushed line by line so
// that a trace cut short by a failure still holds every line before it.
class TraceWriter final : public LinkObserver {
public:
    explicit TraceWriter(std::ostream& out) : out_(out) {}
    void OnLinkEvent(const LinkTraceEvent& event) override;

private:
    std::mutex lock_;
    std::ostream& out_;
};
