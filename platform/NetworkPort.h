#pragma once

#include "NetworkAddress.h"
#include "Rfc2217.h"
#include "TcpSocket.h"
#include "Transport.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A gateway's serial line reached through a serial device server:
// "socket://HOST:PORT" carries the line's bytes as they are, and
// "rfc2217://HOST:PORT" is Telnet with the COM Port Control option, through
// which the line is set to the baud rate and 8N1 and the server's received
// bytes are purged where a serial port would discard its input.
class NetworkPort final : public Transport {
public:
    // How long a connection may take to be made, and how long an RFC 2217
    // server may take to answer the negotiation before the port is used
    // without its answer.
    static constexpr int kConnectTimeout = 5000;
    static constexpr int kNegotiationWait = 500;

    NetworkPort() = default;
    ~NetworkPort() override;
    NetworkPort(const NetworkPort&) = delete;
    NetworkPort& operator=(const NetworkPort&) = delete;

    // Connects to the address; a malformed address, a refusal, an
    // unreachable host, an unknown name or a time-out give the reason.
    OpenResult Open(const std::string& address, int baudRate) override;
    void Close() override;
    bool IsOpen() const override { return socket_.IsOpen(); }

    void Write(const std::uint8_t* bytes, std::size_t count) override;
    // The line's bytes already taken from the connection and not yet read.
    std::size_t BufferedCount() const override { return input_.size() - readOffset_; }
    std::size_t Read(std::uint8_t* buffer, std::size_t maxCount) override;
    void DiscardInput() override;
    bool WaitForInput(int milliseconds) override;

    bool IsConnection() const override { return true; }
    bool ConnectionLost() const override { return lost_; }

private:
    void Pump();
    void Send(const std::vector<std::uint8_t>& bytes);
    bool Negotiate(int baudRate);

    TcpSocket socket_;
    NetworkScheme scheme_ = NetworkScheme::RawTcp;
    Rfc2217Session session_;
    std::vector<std::uint8_t> input_;
    std::size_t readOffset_ = 0;
    bool lost_ = false;
};
