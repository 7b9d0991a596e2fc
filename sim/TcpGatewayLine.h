#pragma once

#include "GatewayLine.h"
#include "TcpSocket.h"

#include <atomic>

// A client's TCP connection to the simulator, stopped by a flag that the
// simulator raises on its way out (looked at every 50 ms).
class TcpGatewayLine final : public GatewayLine {
public:
    TcpGatewayLine(TcpSocket& socket, const std::atomic<bool>& stop) : socket_(socket), stop_(stop) {}

    Wake Wait(int milliseconds) override;
    long Read(std::uint8_t* buffer, std::size_t maxCount) override { return socket_.Receive(buffer, maxCount); }
    void Write(const std::uint8_t* bytes, std::size_t count) override;
    bool SleepUntil(Clock::time_point deadline) override;

private:
    TcpSocket& socket_;
    const std::atomic<bool>& stop_;
};

// Serves the gateway to one TCP client after the other until the flag is
// raised; the function runs one client's connection to its end.
template <typename ServeClient>
void ServeTcpClients(TcpListener& listener, const std::atomic<bool>& stop, ServeClient serveClient)
{
    constexpr int kAcceptSlice = 50;
    while (!stop.load()) {
        TcpSocket client = listener.Accept(kAcceptSlice);
        if (client.IsOpen()) {
            TcpGatewayLine line(client, stop);
            serveClient(line);
        }
    }
}
