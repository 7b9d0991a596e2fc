#pragma once

#include "LinkFrame.h"
#include "SerialPort.h"
#include "WindowSystem.h"

#include <cstdint>
#include <string>

// Results of the last frame exchange.
enum LinkStatus {
    kLinkStatusUnset = -1,
    kLinkOk = 0,              // reply received and valid
    kLinkTimedOut = 1,        // no complete reply within the reply time-out
    kLinkRetriesUsedUp = 2,   // every send answered by an invalid reply
    kLinkDeviceError = 3,     // the device answered with its error bit set
};

// The request/reply transport to the gateway. A command is cut into frames of
// at most MaxBlockSize data bytes; every frame is answered by a reply frame;
// a long reply comes in blocks that are fetched with continuation requests.
// Waits for replies sleep in poll() until bytes arrive or the time-out ends.
class SerialLink {
public:
    static constexpr int kDefaultMaxBlockSize = 1000;
    static constexpr int kDefaultRetries = 3;
    static constexpr int kDefaultReplyTimeout = 1000;

    SerialLink() = default;
    virtual ~SerialLink();
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    bool Open(const std::string& devicePath, int baudRate) { return port_.Open(devicePath, baudRate); }
    void Close() { port_.Close(); }
    bool IsOpen() const { return port_.IsOpen(); }

    // Sends `length` bytes of `data` with the command code and collects the
    // reply data. replyLength is the capacity of `reply` on entry and the
    // number of bytes collected on success; reply may be null, then the reply
    // data is not kept. False when a frame exchange fails, the reply data
    // does not fit, or a reply block comes out of sequence.
    bool Transact(int code, int length, const std::uint8_t* data, int& replyLength, std::uint8_t* reply);

    // Sends one request frame and waits for its reply: resends after an
    // invalid reply, at most Retries sends, no resend after the time-out.
    bool ExchangeFrame(const LinkMessage& request, LinkMessage& reply);

    static std::uint16_t Checksum(const std::uint8_t* bytes, std::size_t count);

    int GetLastStatus() const { return lastStatus_; }
    // Accepts 1 to 1000 data bytes per frame; false (and the old value kept)
    // for anything else.
    bool SetMaxBlockSize(int size);
    void SetRetries(int retries) { retries_ = retries; }
    void SetReplyTimeout(int milliseconds) { replyTimeout_ = milliseconds; }
    int MaxBlockSize() const { return maxBlockSize_; }
    int Retries() const { return retries_; }
    int ReplyTimeout() const { return replyTimeout_; }

    // The transfer's progress, set by the callers before a transfer. Mode 0
    // while sending, 1 while receiving; both move the bar the same way. The
    // bar is the window system's progress bar; null shows nothing.
    int ProgressMode = 0;
    WindowSystem* ProgressControl = nullptr;
    int ProgressPosition = 0;
    int ProgressTotal = 0;

private:
    enum class ReceiveState { Idle, Waiting, Receiving, DeviceError, Done };

    void UpdateProgress();
    bool RunReplyLoop(LinkMessage& request, int capacity, int& collected, std::uint8_t* reply);
    bool CollectReply(const LinkMessage& message, int capacity, int& collected, std::uint8_t* reply);
    void ReceiveAvailable();
    ReceiveState EvaluateFrame(int& attempts, int frameLength, int replyLength);
    void PrepareResend(int frameLength);
    void SkipUntilQuiet(long long deadlineMs);
    long long ElapsedSince(long long startMs) const;

    int maxBlockSize_ = kDefaultMaxBlockSize;
    int lastStatus_ = kLinkStatusUnset;
    int retries_ = kDefaultRetries;
    int replyTimeout_ = kDefaultReplyTimeout;
    SerialPort port_;

    // The frame being sent and the reply frame being received.
    std::uint8_t sendBuffer_[1024] = {};
    std::uint8_t receiveBuffer_[1024] = {};
    int received_ = 0;
};
