#include "TcpSocket.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <mstcpip.h>

// After winsock2.h, which must come before windows.h.
#include "WideText.h"

#include <algorithm>
#include <chrono>
#include <mutex>

namespace {

using SteadyTime = std::chrono::steady_clock;

// Winsock is started once for the process, on first use, and left running
// until the process ends.
void StartWinsock()
{
    static std::once_flag started;
    std::call_once(started, [] {
        WSADATA data{};
        WSAStartup(MAKEWORD(2, 2), &data);
    });
}

SOCKET Sock(std::intptr_t handle) { return static_cast<SOCKET>(handle); }
std::intptr_t Handle(SOCKET socket) { return static_cast<std::intptr_t>(socket); }

NetResult Failure(int error)
{
    switch (error) {
    case WSAECONNREFUSED:
        return {error, "connection refused"};
    case WSAEHOSTUNREACH:
    case WSAENETUNREACH:
        return {error, "host unreachable"};
    case WSAETIMEDOUT:
        return {error, "time-out, no answer"};
    case WSAHOST_NOT_FOUND:
    case WSANO_DATA:
    case WSATRY_AGAIN:
    case WSANO_RECOVERY:
        return {error, "name not found"};
    default:
        return {error, SystemErrorText(static_cast<DWORD>(error))};
    }
}

int MillisecondsUntil(SteadyTime::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyTime::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// The events of one socket within the milliseconds; 0 for none.
short PollFor(SOCKET socket, short events, int milliseconds)
{
    WSAPOLLFD wait{socket, events, 0};
    return WSAPoll(&wait, 1, milliseconds) > 0 ? wait.revents : 0;
}

void MakeNonBlocking(SOCKET socket)
{
    u_long on = 1;
    ioctlsocket(socket, FIONBIO, &on);
}

void SetNoDelay(SOCKET socket)
{
    const BOOL on = TRUE;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}

// Acknowledges every segment at once instead of some 200 ms later (an ack
// frequency of 1). A server that keeps Nagle's algorithm holds a small write
// until its earlier bytes are acknowledged; a delayed acknowledgement would
// add that delay to every frame. Where the system does not offer it the
// connection keeps its delayed acknowledgements.
void AcknowledgeAtOnce(SOCKET socket)
{
    DWORD frequency = 1;
    DWORD returned = 0;
    WSAIoctl(socket, SIO_TCP_SET_ACK_FREQUENCY, &frequency, sizeof frequency, nullptr, 0, &returned, nullptr,
             nullptr);
}

// One non-blocking connect to one address, waiting at most until the
// deadline. The outcome of a pending connect is read with select, which
// reports a refusal in its exception set on every Windows version.
SOCKET ConnectOne(const addrinfo& address, SteadyTime::time_point deadline, int& error)
{
    const SOCKET socket = ::socket(address.ai_family, address.ai_socktype, address.ai_protocol);
    if (socket == INVALID_SOCKET) {
        error = WSAGetLastError();
        return INVALID_SOCKET;
    }
    MakeNonBlocking(socket);
    if (::connect(socket, address.ai_addr, static_cast<int>(address.ai_addrlen)) != 0) {
        error = WSAGetLastError();
        if (error != WSAEWOULDBLOCK) {
            closesocket(socket);
            return INVALID_SOCKET;
        }
        fd_set writable;
        fd_set failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(socket, &writable);
        FD_SET(socket, &failed);
        const int left = MillisecondsUntil(deadline);
        timeval wait{left / 1000, (left % 1000) * 1000};
        const int ready = select(0, nullptr, &writable, &failed, &wait);
        if (ready <= 0) {
            error = WSAETIMEDOUT;
            closesocket(socket);
            return INVALID_SOCKET;
        }
        int length = sizeof error;
        error = 0;
        getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
        if (FD_ISSET(socket, &failed) || error != 0) {
            error = error != 0 ? error : WSAECONNREFUSED;
            closesocket(socket);
            return INVALID_SOCKET;
        }
    }
    SetNoDelay(socket);
    AcknowledgeAtOnce(socket);
    return socket;
}

addrinfo StreamHints(int flags)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    hints.ai_flags = flags;
    return hints;
}

}  // namespace

void TcpSocket::Close()
{
    if (IsOpen()) {
        closesocket(Sock(handle_));
        handle_ = kNone;
    }
}

NetResult TcpSocket::Connect(const std::string& host, int port, int timeoutMilliseconds)
{
    StartWinsock();
    Close();
    const auto deadline = SteadyTime::now() + std::chrono::milliseconds(timeoutMilliseconds);
    const addrinfo hints = StreamHints(AI_NUMERICSERV);
    addrinfo* found = nullptr;
    if (const int code = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found); code != 0) {
        return Failure(code);
    }
    int error = WSAETIMEDOUT;
    for (const addrinfo* address = found; address != nullptr && MillisecondsUntil(deadline) > 0;
         address = address->ai_next) {
        const SOCKET socket = ConnectOne(*address, deadline, error);
        if (socket != INVALID_SOCKET) {
            handle_ = Handle(socket);
            break;
        }
    }
    freeaddrinfo(found);
    return IsOpen() ? NetResult{} : Failure(error);
}

bool TcpSocket::SendAll(const std::uint8_t* bytes, std::size_t count, int stallMilliseconds)
{
    std::size_t sent = 0;
    while (IsOpen() && sent < count) {
        const int chunk = static_cast<int>(std::min<std::size_t>(count - sent, 1 << 20));
        const int done = send(Sock(handle_), reinterpret_cast<const char*>(bytes + sent), chunk, 0);
        if (done > 0) {
            sent += static_cast<std::size_t>(done);
            continue;
        }
        if (done == SOCKET_ERROR && WSAGetLastError() != WSAEWOULDBLOCK) {
            return false;
        }
        if ((PollFor(Sock(handle_), POLLWRNORM, stallMilliseconds) & POLLWRNORM) == 0) {
            return false;
        }
    }
    return sent == count;
}

long TcpSocket::Receive(std::uint8_t* buffer, std::size_t maxCount)
{
    if (!IsOpen()) {
        return -1;
    }
    const int wanted = static_cast<int>(std::min<std::size_t>(maxCount, 1 << 20));
    const int got = recv(Sock(handle_), reinterpret_cast<char*>(buffer), wanted, 0);
    if (got > 0) {
        return got;
    }
    return got == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK ? 0 : -1;
}

bool TcpSocket::WaitReadable(int milliseconds)
{
    return IsOpen() && (PollFor(Sock(handle_), POLLRDNORM, milliseconds) & (POLLRDNORM | POLLHUP | POLLERR)) != 0;
}

void TcpListener::Close()
{
    if (handle_ != TcpSocket::kNone) {
        closesocket(Sock(handle_));
        handle_ = TcpSocket::kNone;
    }
}

NetResult TcpListener::Listen(const std::string& host, int port)
{
    StartWinsock();
    Close();
    const addrinfo hints = StreamHints(AI_NUMERICSERV | AI_PASSIVE);
    addrinfo* found = nullptr;
    if (const int code = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found); code != 0) {
        return Failure(code);
    }
    const SOCKET socket = ::socket(found->ai_family, found->ai_socktype, found->ai_protocol);
    int error = 0;
    if (socket == INVALID_SOCKET || bind(socket, found->ai_addr, static_cast<int>(found->ai_addrlen)) != 0 ||
        listen(socket, 1) != 0) {
        error = WSAGetLastError();
    }
    freeaddrinfo(found);
    if (error != 0) {
        if (socket != INVALID_SOCKET) {
            closesocket(socket);
        }
        return Failure(error);
    }
    MakeNonBlocking(socket);
    sockaddr_storage bound{};
    int length = sizeof bound;
    if (getsockname(socket, reinterpret_cast<sockaddr*>(&bound), &length) == 0) {
        port_ = ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<const sockaddr_in6&>(bound).sin6_port
                                                  : reinterpret_cast<const sockaddr_in&>(bound).sin_port);
    }
    handle_ = Handle(socket);
    return {};
}

TcpSocket TcpListener::Accept(int milliseconds)
{
    if (handle_ == TcpSocket::kNone || (PollFor(Sock(handle_), POLLRDNORM, milliseconds) & POLLRDNORM) == 0) {
        return TcpSocket();
    }
    const SOCKET client = accept(Sock(handle_), nullptr, nullptr);
    if (client == INVALID_SOCKET) {
        return TcpSocket();
    }
    MakeNonBlocking(client);
    SetNoDelay(client);
    return TcpSocket(Handle(client));
}
