#pragma once

#include "GatewayEngine.h"
#include "GatewayLine.h"
#include "RequestFramer.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <vector>

// Serves the gateway protocol on a line (the controlling side of a
// pseudo-terminal, or a TCP client): cuts the incoming bytes into request
// frames, hands each valid one to the engine and writes its reply. Bytes that
// cannot start a frame and partial frames that stop arriving are dropped;
// frames with a bad checksum are not answered.
//
// With a line rate, it behaves like a real line of that baud rate (10 bits a
// byte): a request counts as received only when its last byte would have
// arrived, and the reply goes out no faster than the line carries it.
//
// Two servers may share one engine (the pseudo-terminal and a TCP client at
// once) through a lock they are both given.
class GatewayServer {
public:
    using Clock = std::chrono::steady_clock;

    GatewayServer(GatewayEngine& engine, int lineRate, std::mutex* engineLock = nullptr);
    // On the controlling side of a pseudo-terminal.
    GatewayServer(GatewayEngine& engine, int controlFd, int lineRate);

    // Serves until the line says stop or ends.
    void Serve(GatewayLine& line);
    // Serves the pseudo-terminal until stopFd becomes readable (POSIX only:
    // defined with TerminalLine).
    void Serve(int stopFd);

    // Valid request frames received so far.
    int RequestsReceived() const { return requests_.load(); }

private:
    bool ReadAvailable();
    bool ProcessFrames();
    bool Send(const std::vector<std::uint8_t>& bytes);

    GatewayEngine& engine_;
    std::mutex* engineLock_ = nullptr;
    int controlFd_ = -1;
    GatewayLine* line_ = nullptr;
    std::chrono::nanoseconds byteTime_{0};
    RequestFramer framer_;
    Clock::time_point frameStart_{};
    Clock::time_point lastByteAt_{};
    std::atomic<int> requests_{0};
};
