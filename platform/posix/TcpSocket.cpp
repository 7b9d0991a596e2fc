#include "TcpSocket.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using SteadyTime = std::chrono::steady_clock;

int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

NetResult Failure(int error)
{
    switch (error) {
    case ECONNREFUSED:
        return {error, "connection refused"};
    case EHOSTUNREACH:
    case ENETUNREACH:
        return {error, "host unreachable"};
    case ETIMEDOUT:
        return {error, "time-out, no answer"};
    default:
        return {error, std::strerror(error)};
    }
}

NetResult NameFailure(int code)
{
    if (code == EAI_SYSTEM) {
        return Failure(errno);
    }
    if (code == EAI_NONAME || code == EAI_AGAIN || code == EAI_FAIL
#ifdef EAI_NODATA
        || code == EAI_NODATA
#endif
    ) {
        return {ENOENT, "name not found"};
    }
    return {EINVAL, ::gai_strerror(code)};
}

int MillisecondsUntil(SteadyTime::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyTime::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

int PollFor(int fd, short events, int milliseconds)
{
    pollfd wait{fd, events, 0};
    int ready = -1;
    do {
        ready = ::poll(&wait, 1, milliseconds);
    } while (ready < 0 && errno == EINTR);
    return ready > 0 ? wait.revents : 0;
}

void SetNoDelay(int fd)
{
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

// Acknowledges what arrives at once instead of some 40 ms later. A server
// that keeps Nagle's algorithm holds a small write (the reply after a purge
// answer, or a reply read from its line in two pieces) until its earlier
// bytes are acknowledged; a delayed acknowledgement would add that delay to
// every frame. Linux turns quick acknowledgement off again by itself, so it
// is set after every receive.
void AcknowledgeAtOnce([[maybe_unused]] int fd)
{
#ifdef TCP_QUICKACK
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
#endif
}

// One non-blocking connect to one address, waiting at most until the
// deadline; the connected descriptor, or -1 with the error.
int ConnectOne(const addrinfo& address, SteadyTime::time_point deadline, int& error)
{
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
        if (errno != EINPROGRESS) {
            error = errno;
            ::close(fd);
            return -1;
        }
        if ((PollFor(fd, POLLOUT, MillisecondsUntil(deadline)) & (POLLOUT | POLLERR | POLLHUP)) == 0) {
            error = ETIMEDOUT;
            ::close(fd);
            return -1;
        }
        socklen_t length = sizeof error;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
            error = errno;
        }
        if (error != 0) {
            ::close(fd);
            return -1;
        }
    }
    SetNoDelay(fd);
    AcknowledgeAtOnce(fd);
    return fd;
}

addrinfo StreamHints(int flags)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags;
    return hints;
}

}  // namespace

void TcpSocket::Close()
{
    if (IsOpen()) {
        ::close(Fd(handle_));
        handle_ = kNone;
    }
}

NetResult TcpSocket::Connect(const std::string& host, int port, int timeoutMilliseconds)
{
    Close();
    const auto deadline = SteadyTime::now() + std::chrono::milliseconds(timeoutMilliseconds);
    const addrinfo hints = StreamHints(AI_NUMERICSERV);
    addrinfo* found = nullptr;
    if (const int code = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found); code != 0) {
        return NameFailure(code);
    }
    int error = ETIMEDOUT;
    for (const addrinfo* address = found; address != nullptr && MillisecondsUntil(deadline) > 0;
         address = address->ai_next) {
        const int fd = ConnectOne(*address, deadline, error);
        if (fd >= 0) {
            handle_ = fd;
            break;
        }
    }
    ::freeaddrinfo(found);
    return IsOpen() ? NetResult{} : Failure(error);
}

bool TcpSocket::SendAll(const std::uint8_t* bytes, std::size_t count, int stallMilliseconds)
{
    std::size_t sent = 0;
    while (IsOpen() && sent < count) {
        const ssize_t done = ::send(Fd(handle_), bytes + sent, count - sent, MSG_NOSIGNAL);
        if (done > 0) {
            sent += static_cast<std::size_t>(done);
            continue;
        }
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            return false;
        }
        if ((PollFor(Fd(handle_), POLLOUT, stallMilliseconds) & POLLOUT) == 0) {
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
    for (;;) {
        const ssize_t got = ::recv(Fd(handle_), buffer, maxCount, 0);
        AcknowledgeAtOnce(Fd(handle_));
        if (got > 0) {
            return static_cast<long>(got);
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) ? 0 : -1;
    }
}

bool TcpSocket::WaitReadable(int milliseconds)
{
    return IsOpen() && (PollFor(Fd(handle_), POLLIN, milliseconds) & (POLLIN | POLLHUP | POLLERR)) != 0;
}

void TcpListener::Close()
{
    if (handle_ != TcpSocket::kNone) {
        ::close(Fd(handle_));
        handle_ = TcpSocket::kNone;
    }
}

NetResult TcpListener::Listen(const std::string& host, int port)
{
    Close();
    const addrinfo hints = StreamHints(AI_NUMERICSERV | AI_PASSIVE);
    addrinfo* found = nullptr;
    if (const int code = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found); code != 0) {
        return NameFailure(code);
    }
    const int fd = ::socket(found->ai_family, found->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, found->ai_protocol);
    const int on = 1;
    int error = 0;
    if (fd < 0 || ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        ::bind(fd, found->ai_addr, found->ai_addrlen) != 0 || ::listen(fd, 1) != 0) {
        error = errno;
    }
    ::freeaddrinfo(found);
    if (error != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        return Failure(error);
    }
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length) == 0) {
        port_ = ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<const sockaddr_in6&>(bound).sin6_port
                                                  : reinterpret_cast<const sockaddr_in&>(bound).sin_port);
    }
    handle_ = fd;
    return {};
}

TcpSocket TcpListener::Accept(int milliseconds)
{
    if (handle_ == TcpSocket::kNone || (PollFor(Fd(handle_), POLLIN, milliseconds) & POLLIN) == 0) {
        return TcpSocket();
    }
    const int fd = ::accept4(Fd(handle_), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
        return TcpSocket();
    }
    SetNoDelay(fd);
    return TcpSocket(fd);
}
