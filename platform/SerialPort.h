#pragma once

#include "Transport.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// A serial device opened for the gateway protocol: raw 8N1 at the given baud
// rate, no flow control, never blocking longer than a wait asks. On POSIX a
// termios device (a pseudo-terminal works like a real port); on Windows a
// COM port (\\.\COMn) with overlapped I/O.
class SerialPort final : public Transport {
public:
    SerialPort();
    ~SerialPort() override;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens the device for reading and writing, for this process alone, and
    // sets the line to the baud rate with 8 data bits, no parity and one stop
    // bit. An open port is left as it is and reported open. The reason when
    // the device cannot be opened, is in use, has no UART behind it, or the
    // line cannot be set.
    OpenResult Open(const std::string& devicePath, int baudRate) override;
    // Closes the port; nothing happens on a closed port.
    void Close() override;
    bool IsOpen() const override { return state_ != nullptr; }

    // Sends the bytes in order. Waits at most one second for the driver to
    // take more of them; bytes it does not take are lost without an error, as
    // a lost byte on the line shows up as a missing or invalid reply anyway.
    void Write(const std::uint8_t* bytes, std::size_t count) override;

    // The number of received bytes waiting in the driver.
    std::size_t BufferedCount() const override;
    // Reads at most maxCount of the waiting bytes without blocking; 0 when
    // nothing is waiting or the port is closed.
    std::size_t Read(std::uint8_t* buffer, std::size_t maxCount) override;
    // Drops every received byte not yet read.
    void DiscardInput() override;

    // Waits until received bytes are waiting or the milliseconds have passed,
    // without using the processor; true when bytes are waiting. When the line
    // is gone (the other side of a pseudo-terminal closed) it waits out the
    // time, so that callers never spin.
    bool WaitForInput(int milliseconds) override;

private:
    // The open device as the system has it.
    struct State;
    std::unique_ptr<State> state_;
};
