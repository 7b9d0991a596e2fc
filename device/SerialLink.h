#pragma once

#include "Clock.h"
#include "LinkFailure.h"
#include "LinkFrame.h"
#include "LinkTrace.h"
#include "Transport.h"
#include "WindowSystem.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

// Results of the last frame exchange.
enum LinkStatus {
    kLinkStatusUnset = -1,
    kLinkOk = 0,              // reply received and valid
    kLinkTimedOut = 1,        // no complete reply within the reply time-out
    kLinkRetriesUsedUp = 2,   // every send answered by an invalid reply
    kLinkDeviceError = 3,     // the device answered with its error bit set
    kLinkCancelled = 4,       // the user cancelled the operation
};

// The request/reply transport to the gateway. A command is cut into frames of
// at most MaxBlockSize data bytes; every frame is answered by a reply frame;
// a long reply comes in blocks that are fetched with continuation requests.
// Waits for replies sleep until bytes arrive or the time-out ends.
//
// An operation can be cancelled from another thread through a flag the link
// is given: the link stops before its next frame, or within kCancelSlice
// milliseconds of a wait or pause, with the status kLinkCancelled. An
// observer, when one is set, sees every frame sent and received and every
// time-out; without one the link does no tracing work at all.
//
// The link runs over a transport and takes its time from a clock: by default
// its own serial port and the machine's clock; the tests give it a gateway in
// memory and a virtual clock.
class SerialLink {
public:
    static constexpr int kDefaultMaxBlockSize = 1000;
    static constexpr int kDefaultRetries = 3;
    static constexpr int kDefaultReplyTimeout = 1000;
    // The longest stretch a wait or pause runs without looking at the
    // cancel flag.
    static constexpr int kCancelSlice = 50;

    // Over a port of its own (a serial device or a network address, as
    // opened), on the machine's clock.
    SerialLink();
    // Over the transport, on the clock; both must outlive the link.
    SerialLink(Transport& transport, Clock& clock);
    ~SerialLink();
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // Opens the port, a serial device or a network address; the trace's
    // times count from here. A network connection is traced as made here and
    // as ended when it is closed or lost.
    OpenResult Open(const std::string& devicePath, int baudRate);
    void Close();
    bool IsOpen() const { return port_->IsOpen(); }
    // The clock the link's waits and pauses are measured on.
    Clock& LinkClock() { return *clock_; }

    // Sends `length` bytes of `data` with the command code and collects the
    // reply data. replyLength is the capacity of `reply` on entry and the
    // number of bytes collected on success; reply may be null, then the reply
    // data is not kept. False when a frame exchange fails, the reply data
    // does not fit, or a reply block comes out of sequence.
    bool Transact(int code, int length, const std::uint8_t* data, int& replyLength, std::uint8_t* reply);

    // Sends one request frame and waits for its reply: resends after an
    // invalid reply, at most Retries sends, no resend after the time-out.
    bool ExchangeFrame(const LinkMessage& request, LinkMessage& reply);

    // Pauses on the link's clock in slices, looking at the cancel flag
    // between them; false (status kLinkCancelled) when it was raised.
    bool Pause(int milliseconds);

    // The flag another thread raises to cancel the operation; null for none.
    // It must outlive its use by the link.
    void SetCancelFlag(const std::atomic<bool>* flag) { cancelFlag_ = flag; }
    bool CancelRequested() const { return cancelFlag_ != nullptr && cancelFlag_->load(std::memory_order_relaxed); }
    // The trace's observer; null for none. Called on the link's thread.
    void SetObserver(LinkObserver* observer) { observer_ = observer; }

    static std::uint16_t Checksum(const std::uint8_t* bytes, std::size_t count);

    int GetLastStatus() const { return lastStatus_; }
    // The last status with what the link saw of the replies.
    LinkFailure LastFailure() const { return {lastStatus_, replyTimeout_, badChecksums_, connectionLost_}; }
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
    // Where the reception of one reply frame stands.
    enum class ReceiveState { Waiting, Receiving, Invalid, DeviceError, Done, TimedOut, Cancelled, Disconnected };

    void UpdateProgress();
    bool RunReplyLoop(LinkMessage& request, int capacity, int& collected, std::uint8_t* reply);
    bool CollectReply(const LinkMessage& message, int capacity, int& collected, std::uint8_t* reply);
    ReceiveState SendAndReceive(int frameLength, int& attempts, int& replyLength);
    ReceiveState ReceiveStep(long long deadlineMs, int& attempts, int& replyLength);
    void ReceiveAvailable();
    ReceiveState EvaluateFrame(int& attempts, int replyLength);
    void PrepareResend(int frameLength);
    void SkipUntilQuiet(long long deadlineMs);
    bool Cancel();
    void Trace(TraceDirection direction, const std::uint8_t* bytes, std::size_t count, unsigned notes);
    void TraceDisconnected();

    int maxBlockSize_ = kDefaultMaxBlockSize;
    int lastStatus_ = kLinkStatusUnset;
    int badChecksums_ = 0;
    bool connectionLost_ = false;  // the last frame's reply ended with the connection
    int retries_ = kDefaultRetries;
    int replyTimeout_ = kDefaultReplyTimeout;
    std::unique_ptr<Transport> ownPort_;
    Transport* port_;
    Clock* clock_;
    const std::atomic<bool>* cancelFlag_ = nullptr;
    LinkObserver* observer_ = nullptr;
    long long openedAtUs_ = 0;
    // A traced connection whose end is not traced yet.
    bool connectionOpen_ = false;

    // The frame being sent and the reply frame being received.
    std::uint8_t sendBuffer_[1024] = {};
    std::uint8_t receiveBuffer_[1024] = {};
    int received_ = 0;
};
