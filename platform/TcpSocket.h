#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// How a network call went: 0, or the system's error code with a short reason
// the user can read ("connection refused", "host unreachable", "name not
// found", "time-out", or the system's own text).
struct NetResult {
    int Error = 0;
    std::string Reason;

    bool Ok() const { return Error == 0; }
};

// One TCP connection, non-blocking, with Nagle's delay switched off so that a
// frame goes out at once. One implementation per system (platform/posix,
// platform/windows).
class TcpSocket {
public:
    TcpSocket() = default;
    ~TcpSocket();
    TcpSocket(TcpSocket&& other) noexcept;
    TcpSocket& operator=(TcpSocket&& other) noexcept;
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // Connects to the host (a name, an IPv4 or an IPv6 address) and port,
    // trying each address the name has until one answers or the
    // milliseconds have passed in all. A refusal or an unreachable host
    // returns as soon as the system reports it.
    NetResult Connect(const std::string& host, int port, int timeoutMilliseconds);
    bool IsOpen() const { return handle_ != kNone; }
    void Close();

    // Sends every byte, waiting at most stallMilliseconds at a time for room;
    // false when the connection is gone or stays full.
    bool SendAll(const std::uint8_t* bytes, std::size_t count, int stallMilliseconds);
    // Reads what has arrived without blocking: the number of bytes, 0 when
    // nothing is waiting, -1 when the peer has closed the connection or it
    // failed.
    long Receive(std::uint8_t* buffer, std::size_t maxCount);
    // Waits until bytes (or the end of the connection) arrive or the
    // milliseconds have passed; true when there is something to receive.
    bool WaitReadable(int milliseconds);

private:
    friend class TcpListener;
    static constexpr std::intptr_t kNone = -1;
    explicit TcpSocket(std::intptr_t handle) : handle_(handle) {}
    std::intptr_t handle_ = kNone;
};

// A listening TCP socket for the gateway simulator: one address, accepted
// connections handed out one at a time.
class TcpListener {
public:
    TcpListener() = default;
    ~TcpListener();
    TcpListener(const TcpListener&) = delete;
    TcpListener& operator=(const TcpListener&) = delete;

    // Listens on the host's first address and the port (0: any free port).
    NetResult Listen(const std::string& host, int port);
    // The port listened on, also when any free one was asked for.
    int Port() const { return port_; }
    // Waits at most the milliseconds for a client; an open socket when one
    // came.
    TcpSocket Accept(int milliseconds);
    void Close();

private:
    std::intptr_t handle_ = TcpSocket::kNone;
    int port_ = 0;
};
