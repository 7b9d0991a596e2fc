#include "NetworkPort.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

namespace {

using SteadyTime = std::chrono::steady_clock;

// How long a send may wait for room before the bytes count as lost, as on a
// serial port.
constexpr int kWriteStallMilliseconds = 1000;

int MillisecondsUntil(SteadyTime::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyTime::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

OpenResult Refusal(int error, std::string reason)
{
    OpenResult result;
    result.Error = error;
    result.Reason = std::move(reason);
    return result;
}

}  // namespace

NetworkPort::~NetworkPort() { Close(); }

OpenResult NetworkPort::Open(const std::string& address, int baudRate)
{
    if (IsOpen()) {
        return {};
    }
    std::string error;
    const auto parsed = ParseNetworkAddress(address, error);
    if (!parsed) {
        return Refusal(EINVAL, error);
    }
    const NetResult connected = socket_.Connect(parsed->Host, parsed->Port, kConnectTimeout);
    if (!connected.Ok()) {
        return Refusal(connected.Error, connected.Reason);
    }
    scheme_ = parsed->Scheme;
    input_.clear();
    readOffset_ = 0;
    lost_ = false;
    if (scheme_ == NetworkScheme::Rfc2217 && !Negotiate(baudRate)) {
        Close();
        return Refusal(ECONNRESET, "the server closed the connection");
    }
    return {};
}

// Offers COM Port Control and, once the server takes it, sets the line;
// waits for the answers at most kNegotiationWait. False when the server
// closes the connection meanwhile.
bool NetworkPort::Negotiate(int baudRate)
{
    session_ = Rfc2217Session();
    Send(session_.Start());
    bool settingsSent = false;
    const auto deadline = SteadyTime::now() + std::chrono::milliseconds(kNegotiationWait);
    for (;;) {
        Pump();
        if (lost_) {
            return false;
        }
        if (!settingsSent && session_.ComPortState() == Rfc2217Session::ComPort::Accepted) {
            Send(session_.LineSettings(baudRate));
            settingsSent = true;
        }
        if (session_.ComPortState() == Rfc2217Session::ComPort::Refused || session_.LineSettingsConfirmed()) {
            break;
        }
        const int left = MillisecondsUntil(deadline);
        if (left <= 0) {
            break;
        }
        socket_.WaitReadable(left);
    }
    // Whatever came from the line before the port was set belongs to no reply.
    DiscardInput();
    return true;
}

void NetworkPort::Close()
{
    socket_.Close();
    input_.clear();
    readOffset_ = 0;
}

void NetworkPort::Send(const std::vector<std::uint8_t>& bytes)
{
    if (!bytes.empty() && !socket_.SendAll(bytes.data(), bytes.size(), kWriteStallMilliseconds)) {
        lost_ = true;
    }
}

void NetworkPort::Write(const std::uint8_t* bytes, std::size_t count)
{
    if (scheme_ == NetworkScheme::RawTcp) {
        if (count > 0 && !socket_.SendAll(bytes, count, kWriteStallMilliseconds)) {
            lost_ = true;
        }
        return;
    }
    std::vector<std::uint8_t> escaped;
    Rfc2217Session::EscapeData(bytes, count, escaped);
    Send(escaped);
}

// Takes everything that has arrived from the connection; for RFC 2217 the
// Telnet commands go to the session and its answers back to the server.
void NetworkPort::Pump()
{
    if (readOffset_ > 0 && readOffset_ == input_.size()) {
        input_.clear();
        readOffset_ = 0;
    }
    std::uint8_t chunk[4096];
    while (IsOpen() && !lost_) {
        const long got = socket_.Receive(chunk, sizeof chunk);
        if (got < 0) {
            lost_ = true;
        }
        if (got <= 0) {
            return;
        }
        if (scheme_ == NetworkScheme::RawTcp) {
            input_.insert(input_.end(), chunk, chunk + got);
            continue;
        }
        std::vector<std::uint8_t> answer;
        session_.Receive(chunk, static_cast<std::size_t>(got), input_, answer);
        Send(answer);
    }
}

std::size_t NetworkPort::Read(std::uint8_t* buffer, std::size_t maxCount)
{
    Pump();
    const std::size_t count = std::min(maxCount, BufferedCount());
    std::copy_n(input_.begin() + static_cast<std::ptrdiff_t>(readOffset_), count, buffer);
    readOffset_ += count;
    return count;
}

void NetworkPort::DiscardInput()
{
    Pump();
    input_.clear();
    readOffset_ = 0;
    if (scheme_ == NetworkScheme::Rfc2217 && session_.ComPortState() == Rfc2217Session::ComPort::Accepted) {
        Send(session_.PurgeReceived());
    }
}

bool NetworkPort::WaitForInput(int milliseconds)
{
    const auto deadline = SteadyTime::now() + std::chrono::milliseconds(std::max(milliseconds, 0));
    for (;;) {
        Pump();
        if (BufferedCount() > 0) {
            return true;
        }
        const int left = MillisecondsUntil(deadline);
        if (left <= 0) {
            return false;
        }
        if (!IsOpen() || lost_) {
            // Nothing will arrive; wait out the time so that callers never spin.
            std::this_thread::sleep_until(deadline);
            return false;
        }
        socket_.WaitReadable(left);
    }
}
