#include "SerialLink.h"

#include "Checksum.h"
#include "PortOpener.h"

#include <algorithm>

namespace {

// One pause before every frame (not before its resends).
constexpr int kFramePauseMilliseconds = 5;
// Bytes taken from the driver per read.
constexpr std::size_t kReadChunk = 256;
// How long the line must stay silent before a frame that cannot be taken in
// counts as over.
constexpr int kQuietMilliseconds = 20;

}  // namespace

SerialLink::SerialLink()
    : ownPort_(std::make_unique<PortOpener>()), port_(ownPort_.get()), clock_(&SteadyClock::Instance())
{
}

SerialLink::SerialLink(Transport& transport, Clock& clock) : port_(&transport), clock_(&clock) {}

SerialLink::~SerialLink() { Close(); }

OpenResult SerialLink::Open(const std::string& devicePath, int baudRate)
{
    if (port_->IsOpen()) {
        return {};
    }
    openedAtUs_ = clock_->NowMicroseconds();
    OpenResult result = port_->Open(devicePath, baudRate);
    if (result.Opened() && port_->IsConnection()) {
        connectionOpen_ = true;
        Trace(TraceDirection::Event, nullptr, 0, kTraceConnected);
    }
    return result;
}

void SerialLink::Close()
{
    if (port_->IsOpen()) {
        TraceDisconnected();
        port_->Close();
    }
}

void SerialLink::TraceDisconnected()
{
    if (connectionOpen_) {
        connectionOpen_ = false;
        Trace(TraceDirection::Event, nullptr, 0, kTraceDisconnected);
    }
}

bool SerialLink::Pause(int milliseconds)
{
    for (int left = milliseconds; left > 0; left -= kCancelSlice) {
        if (CancelRequested()) {
            return Cancel();
        }
        clock_->Sleep(std::min(left, kCancelSlice));
    }
    return !CancelRequested() || Cancel();
}

// Ends the exchange as cancelled; always false.
bool SerialLink::Cancel()
{
    lastStatus_ = kLinkCancelled;
    Trace(TraceDirection::Event, nullptr, 0, kTraceCancelled);
    return false;
}

void SerialLink::Trace(TraceDirection direction, const std::uint8_t* bytes, std::size_t count, unsigned notes)
{
    if (observer_ != nullptr) {
        observer_->OnLinkEvent({clock_->NowMicroseconds() - openedAtUs_, direction, bytes, count, notes});
    }
}

std::uint16_t SerialLink::Checksum(const std::uint8_t* bytes, std::size_t count) { return ::Checksum(bytes, count); }

bool SerialLink::SetMaxBlockSize(int size)
{
    if (size < 1 || size > kMaxFrameData) {
        return false;
    }
    maxBlockSize_ = size;
    return true;
}

// The bar's range is 0 to 100; a reply may announce a block number above its
// block count, which must not push the bar beyond its end.
void SerialLink::UpdateProgress()
{
    if (ProgressControl != nullptr && ProgressTotal > 0) {
        ProgressControl->SetProgress(std::clamp(ProgressPosition * 100 / ProgressTotal, 0, 100));
    }
}

bool SerialLink::Transact(int code, int length, const std::uint8_t* data, int& replyLength, std::uint8_t* reply)
{
    const int capacity = replyLength;
    int collected = 0;
    LinkMessage request;
    request.Command = static_cast<std::uint16_t>(code & 0xFF);
    if (length <= 0) {
        request.BlockCount = 1;
        request.BlockNumber = 1;
        request.DataLength = 0;
        if (!RunReplyLoop(request, capacity, collected, reply)) {
            return false;
        }
    } else {
        const int blocks = (length + maxBlockSize_ - 1) / maxBlockSize_;
        int blockNumber = 1;
        for (int offset = 0; offset < length; offset += maxBlockSize_, ++blockNumber) {
            const int chunk = std::min(length - offset, maxBlockSize_);
            request.Command = static_cast<std::uint16_t>(code & 0xFF);
            request.BlockCount = static_cast<std::uint8_t>(blocks);
            request.BlockNumber = static_cast<std::uint8_t>(blockNumber);
            request.DataLength = static_cast<std::uint16_t>(chunk);
            std::copy_n(data + offset, chunk, request.Data.begin());
            ProgressPosition = blockNumber;
            ProgressTotal = blocks;
            UpdateProgress();
            if (!RunReplyLoop(request, capacity, collected, reply)) {
                return false;
            }
        }
    }
    replyLength = collected;
    return true;
}

// Exchanges the request and fetches every further block of its reply with
// continuation requests. Each continuation must be answered by the next block
// in sequence; anything else would put data in the wrong place.
bool SerialLink::RunReplyLoop(LinkMessage& request, int capacity, int& collected, std::uint8_t* reply)
{
    LinkMessage answer;
    bool continuing = false;
    int previousBlock = 0;
    for (;;) {
        if (!ExchangeFrame(request, answer)) {
            return false;
        }
        if (continuing && answer.BlockNumber != ((previousBlock + 1) & 0xFF)) {
            return false;
        }
        if (reply != nullptr && !CollectReply(answer, capacity, collected, reply)) {
            return false;
        }
        if (answer.BlockNumber >= answer.BlockCount) {
            return true;
        }
        continuing = true;
        previousBlock = answer.BlockNumber;
        request.Command = static_cast<std::uint16_t>(kContinuationFlag | (request.Command & 0xFF));
        request.BlockCount = 1;
        request.BlockNumber = 1;
        request.DataLength = 0;
    }
}

bool SerialLink::CollectReply(const LinkMessage& message, int capacity, int& collected, std::uint8_t* reply)
{
    if (collected + message.DataLength > capacity) {
        return false;
    }
    std::copy_n(message.Data.begin(), message.DataLength, reply + collected);
    collected += message.DataLength;
    ProgressPosition = message.BlockNumber;
    ProgressTotal = message.BlockCount;
    UpdateProgress();
    return true;
}

bool SerialLink::ExchangeFrame(const LinkMessage& request, LinkMessage& reply)
{
    // A frame boundary: the place where a cancelled operation stops.
    if (CancelRequested()) {
        return Cancel();
    }
    const int frameLength = EncodeFrame(request, sendBuffer_);
    if (frameLength == 0) {
        lastStatus_ = kLinkRetriesUsedUp;
        return false;
    }
    clock_->Sleep(kFramePauseMilliseconds);
    badChecksums_ = 0;
    connectionLost_ = false;
    int attempts = 0;
    int replyLength = 0;
    while (attempts < retries_) {
        const ReceiveState state = SendAndReceive(frameLength, attempts, replyLength);
        if (state == ReceiveState::TimedOut) {
            Trace(received_ > 0 ? TraceDirection::Received : TraceDirection::Event, receiveBuffer_,
                  static_cast<std::size_t>(std::min<int>(received_, sizeof receiveBuffer_)), kTraceTimeout);
            lastStatus_ = kLinkTimedOut;
            return false;
        }
        if (state == ReceiveState::Cancelled) {
            return Cancel();
        }
        if (state == ReceiveState::Disconnected) {
            // No reply can come any more: a reply missing, as after a time-out.
            TraceDisconnected();
            lastStatus_ = kLinkTimedOut;
            connectionLost_ = true;
            return false;
        }
        if (state == ReceiveState::Invalid) {
            if (CancelRequested()) {
                return Cancel();
            }
            PrepareResend(frameLength);
            ++attempts;
            continue;
        }
        DecodeFrame(receiveBuffer_, replyLength, reply);
        lastStatus_ = state == ReceiveState::DeviceError ? kLinkDeviceError : kLinkOk;
        return state == ReceiveState::Done;
    }
    lastStatus_ = kLinkRetriesUsedUp;
    return false;
}

// One send of the frame and the wait for its reply: Done, DeviceError,
// Invalid (to be sent again) or TimedOut.
SerialLink::ReceiveState SerialLink::SendAndReceive(int frameLength, int& attempts, int& replyLength)
{
    // Bytes still waiting belong to no reply of this frame.
    port_->DiscardInput();
    port_->Write(sendBuffer_, static_cast<std::size_t>(frameLength));
    if (observer_ != nullptr) {
        const unsigned continuation = (sendBuffer_[2] & (kContinuationFlag >> 8)) != 0 ? kTraceContinuation : 0U;
        Trace(TraceDirection::Sent, sendBuffer_, static_cast<std::size_t>(frameLength),
              continuation | (attempts > 0 ? kTraceResend : 0U));
    }
    received_ = 0;
    const long long deadline = clock_->NowMilliseconds() + replyTimeout_;
    for (;;) {
        const ReceiveState state = ReceiveStep(deadline, attempts, replyLength);
        // Checked after the reply, so a reply completed when the time ran out
        // still counts as a time-out.
        if (clock_->NowMilliseconds() > deadline) {
            return ReceiveState::TimedOut;
        }
        if (state != ReceiveState::Waiting && state != ReceiveState::Receiving) {
            return state;
        }
        if (port_->ConnectionLost() && port_->BufferedCount() == 0) {
            return ReceiveState::Disconnected;
        }
        const long long left = deadline + 1 - clock_->NowMilliseconds();
        port_->WaitForInput(static_cast<int>(std::min<long long>(left, kCancelSlice)));
        if (CancelRequested()) {
            return ReceiveState::Cancelled;
        }
    }
}

// Takes in what has arrived and judges the frame once it is complete.
SerialLink::ReceiveState SerialLink::ReceiveStep(long long deadlineMs, int& attempts, int& replyLength)
{
    ReceiveAvailable();
    if (received_ < 2) {
        return ReceiveState::Waiting;
    }
    replyLength = FrameLengthField(receiveBuffer_);
    if (!IsValidFrameLength(replyLength)) {
        // Shorter than a frame or longer than the buffers: let the rest of it
        // pass, then ask again.
        Trace(TraceDirection::Received, receiveBuffer_, static_cast<std::size_t>(received_), kTraceInvalid);
        SkipUntilQuiet(deadlineMs);
        return ReceiveState::Invalid;
    }
    return received_ == replyLength ? EvaluateFrame(attempts, replyLength) : ReceiveState::Receiving;
}

void SerialLink::ReceiveAvailable()
{
    const std::size_t room = sizeof receiveBuffer_ - static_cast<std::size_t>(received_);
    if (room == 0) {
        // A frame this long can never complete; keep the driver empty so that
        // the wait does not wake for bytes nobody reads.
        std::uint8_t scratch[kReadChunk];
        port_->Read(scratch, sizeof scratch);
        return;
    }
    received_ += static_cast<int>(port_->Read(receiveBuffer_ + received_, std::min(kReadChunk, room)));
}

SerialLink::ReceiveState SerialLink::EvaluateFrame(int& attempts, int replyLength)
{
    const std::uint8_t commandHigh = receiveBuffer_[2];
    const bool checksumValid = HasValidChecksum(receiveBuffer_, replyLength);
    if (observer_ != nullptr) {
        const unsigned notes = ((commandHigh & kDeviceErrorBit) != 0 ? kTraceErrorBit : 0U) |
                               ((commandHigh & kRetryBit) != 0 ? kTraceRetryBit : 0U) |
                               (checksumValid ? 0U : kTraceCrcBad) | (receiveBuffer_[4] == 0 ? kTraceInvalid : 0U);
        Trace(TraceDirection::Received, receiveBuffer_, static_cast<std::size_t>(replyLength), notes);
    }
    if ((commandHigh & kDeviceErrorBit) != 0) {
        return ReceiveState::DeviceError;
    }
    if ((commandHigh & kRetryBit) != 0) {
        ++attempts;
    }
    if (!checksumValid) {
        ++badChecksums_;
    }
    // A block count of 0 announces no block at all: as invalid as a checksum
    // error.
    if (!checksumValid || receiveBuffer_[4] == 0) {
        return ReceiveState::Invalid;
    }
    return ReceiveState::Done;
}

// A resent frame keeps only bit 6 of its byte 2 (so a continuation request
// goes out again as a plain request) and gets its checksum anew.
void SerialLink::PrepareResend(int frameLength)
{
    sendBuffer_[2] &= kRetryBit;
    SealFrame(sendBuffer_, frameLength);
}

void SerialLink::SkipUntilQuiet(long long deadlineMs)
{
    for (;;) {
        const long long left = deadlineMs + 1 - clock_->NowMilliseconds();
        if (left <= 0 || CancelRequested() || !port_->WaitForInput(static_cast<int>(std::min<long long>(left, kQuietMilliseconds)))) {
            return;
        }
        std::uint8_t scratch[kReadChunk];
        while (port_->Read(scratch, sizeof scratch) > 0) {
        }
    }
}
