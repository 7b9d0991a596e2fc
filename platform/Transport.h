#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Why a port could not be opened, in terms every system has.
enum class OpenFailure {
    None,          // it is open
    NotFound,      // no such device
    InUse,         // another program has it
    AccessDenied,  // this user may not open it
    NoHardware,    // the device exists but no port hardware answers there
    Other,
};

// How an open went: the portable reason, the system's own words for it, and
// what the user can do about it where the system's layer knows (for a
// permission refusal on Linux, how to join the device's group).
struct OpenResult {
    OpenFailure Failure = OpenFailure::None;
    std::string SystemText;  // e.g. "Permission denied"; empty when open
    std::string Hint;        // one line of advice, or empty

    bool Opened() const { return Failure == OpenFailure::None; }
    explicit operator bool() const { return Opened(); }
};

// The advice that is the same on every system.
inline constexpr const char* kPortInUseHint = "Another program is using it.";
inline constexpr const char* kNoPortHardwareHint = "No serial port hardware answers at this device.";

// The byte stream under the serial link: a serial device on the machine, a
// serial device server on the network, or in the tests a simulated gateway in
// memory.
class Transport {
public:
    virtual ~Transport() = default;

    // Opens the device at the baud rate; an open transport is left as it is
    // and reported open. Otherwise the reason it cannot be opened.
    virtual OpenResult Open(const std::string& devicePath, int baudRate) = 0;
    // Nothing happens on a closed transport.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // Sends the bytes in order.
    virtual void Write(const std::uint8_t* bytes, std::size_t count) = 0;
    // The number of received bytes waiting to be read.
    virtual std::size_t BufferedCount() const = 0;
    // Reads at most maxCount of the waiting bytes without blocking; 0 when
    // nothing is waiting or the transport is closed.
    virtual std::size_t Read(std::uint8_t* buffer, std::size_t maxCount) = 0;
    // Drops every received byte not yet read.
    virtual void DiscardInput() = 0;
    // Waits until received bytes are waiting or the milliseconds have passed;
    // true when bytes are waiting. Never returns early without bytes, so that
    // callers never spin.
    virtual bool WaitForInput(int milliseconds) = 0;

    // A network connection: its opening and its end are worth a trace line.
    virtual bool IsConnection() const { return false; }
    // True once the other side has closed the connection or it failed; the
    // received bytes may still be read.
    virtual bool ConnectionLost() const { return false; }
};
