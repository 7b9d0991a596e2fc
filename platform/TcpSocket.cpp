#include "TcpSocket.h"

// The lifetime of a socket is the same on every system: closed (Close, in
// posix/ or windows/) when the object goes, handed on by a move.
TcpSocket::~TcpSocket() { Close(); }

TcpSocket::TcpSocket(TcpSocket&& other) noexcept : handle_(other.handle_) { other.handle_ = kNone; }

TcpSocket& TcpSocket::operator=(TcpSocket&& other) noexcept
{
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        other.handle_ = kNone;
    }
    return *this;
}

TcpListener::~TcpListener() { Close(); }
