#pragma once

#include "GatewayEngine.h"
#include "RequestFramer.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

// Serves the gateway protocol on the controlling side of a pseudo-terminal:
// cuts the incoming bytes into request frames, hands each valid one to the
// engine and writes its reply. Bytes that cannot start a frame and partial
// frames that stop arriving are dropped; frames with a bad checksum are not
// answered.
//
// With a line rate, it behaves like a real line of that baud rate (10 bits a
// byte): a request counts as received only when its last byte would have
// arrived, and the reply goes out no faster than the line carries it.
class GatewayServer {
public:
    using Clock = std::chrono::steady_clock;

    GatewayServer(GatewayEngine& engine, int controlFd, int lineRate);

    // Serves until stopFd becomes readable.
    void Serve(int stopFd);

    // Valid request frames received so far.
    int RequestsReceived() const { return requests_.load(); }

private:
    bool WaitUntil(Clock::time_point deadline);
    void ReadAvailable();
    bool ProcessFrames();
    bool Send(const std::vector<std::uint8_t>& bytes);
    void WriteAll(const std::uint8_t* bytes, std::size_t count);

    GatewayEngine& engine_;
    int controlFd_;
    int stopFd_ = -1;
    std::chrono::nanoseconds byteTime_{0};
    RequestFramer framer_;
    Clock::time_point frameStart_{};
    Clock::time_point lastByteAt_{};
    std::atomic<int> requests_{0};
};
