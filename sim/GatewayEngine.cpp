#include "GatewayEngine.h"

#include "LocalTime.h"

#include "ArchiveBlock.h"
#include "BigEndian.h"
#include "Checksum.h"
#include "DiagnosticsRecord.h"
#include "GatewayDiagnostics.h"
#include "ImageReader.h"
#include "UploadReply.h"

#include <algorithm>
#include <ctime>

namespace {

constexpr std::uint8_t kAnswerOk = 0x00;
constexpr std::uint8_t kAnswerUnsupportedLayout = 0xFE;
constexpr std::uint8_t kAnswerFailed = 0xFF;
constexpr std::size_t kMaxBlockSize = 65536;
constexpr int kMaxReplyBlocks = 255;
// A length field no receive buffer can hold.
constexpr unsigned kOversizeLength = 0xFFFF;
constexpr std::uint8_t kTrailingBytes[] = {0x00, 0x00, 0x00, 0x00};

LinkMessage Message(std::uint16_t command, int count, int number)
{
    LinkMessage message;
    message.Command = command;
    message.BlockCount = static_cast<std::uint8_t>(count);
    message.BlockNumber = static_cast<std::uint8_t>(number);
    return message;
}

bool SameData(const LinkMessage& a, const LinkMessage& b)
{
    return a.DataLength == b.DataLength && std::equal(a.Data.begin(), a.Data.begin() + a.DataLength, b.Data.begin());
}

}  // namespace

GatewayEngine::GatewayEngine(GatewayStore& store, FaultQueue& faults, const GatewaySettings& settings)
    : store_(store), faults_(faults), settings_(settings)
{
    if (store_.Diagnostics().empty()) {
        store_.Diagnostics() = NewDiagnostics(store_.Image());
    }
}

std::optional<std::vector<std::uint8_t>> GatewayEngine::HandleFrame(const std::vector<std::uint8_t>& frame)
{
    const int length = static_cast<int>(frame.size());
    if (!HasValidChecksum(frame.data(), length)) {
        return std::nullopt;
    }
    LinkMessage request;
    DecodeFrame(frame.data(), length, request);
    return HandleRequest(request);
}

std::vector<std::uint8_t> GatewayEngine::HandleRequest(const LinkMessage& request)
{
    const LinkMessage reply = IsResend(request) ? lastReply_ : Answer(request);
    lastRequest_ = request;
    lastReply_ = reply;
    return Encode(reply);
}

bool GatewayEngine::IsResend(const LinkMessage& request) const
{
    return lastReplyDamaged_ && (request.Command >> 8) == 0 &&
           (request.Command & 0xFF) == (lastRequest_.Command & 0xFF) &&
           request.BlockCount == lastRequest_.BlockCount && request.BlockNumber == lastRequest_.BlockNumber &&
           SameData(request, lastRequest_);
}

LinkMessage GatewayEngine::Answer(const LinkMessage& request)
{
    const auto code = static_cast<std::uint8_t>(request.Command & 0xFF);
    const unsigned kind = request.Command >> 8;
    if (kind == (kContinuationFlag >> 8)) {
        return Continue(code);
    }
    if (kind != 0) {
        return ErrorReply(code);
    }
    switch (code) {
    case kCommandFirmwareVersion:
        return StartReply(code, {settings_.Firmware.begin(), settings_.Firmware.end()});
    case kCommandDownloadConfiguration:
    case kCommandDownloadArchive:
        return ReceiveBlock(request);
    case kCommandUploadConfiguration:
        if (auto data = UploadData()) {
            return StartReply(code, std::move(*data));
        }
        return ErrorReply(code);
    case kCommandUploadDiagnostics:
        return StartReply(code, DiagnosticsData());
    case kCommandClearDiagnostics:
        ClearCounters(store_.Diagnostics());
        store_.DiagnosticsChanged();
        return StartReply(code, {});
    case kCommandUploadArchive:
        if (!store_.HasArchive()) {
            return ErrorReply(code);
        }
        return StartReply(code, EncodeArchiveBlock(store_.ArchiveName(), store_.Archive().data(),
                                                   store_.Archive().size()));
    default:
        return ErrorReply(code);
    }
}

// One block of a download: kept in order; every block but the last is
// acknowledged without data, the last is answered with the result byte.
LinkMessage GatewayEngine::ReceiveBlock(const LinkMessage& request)
{
    const auto code = static_cast<std::uint8_t>(request.Command & 0xFF);
    if (request.BlockNumber == 1) {
        assembly_ = {code, request.BlockCount, 0, {}};
    }
    const bool inSequence = assembly_.Code == code && assembly_.BlockCount == request.BlockCount &&
                            request.BlockNumber == assembly_.ReceivedBlocks + 1 &&
                            assembly_.Data.size() + request.DataLength <= kMaxBlockSize;
    if (!inSequence) {
        assembly_ = {};
        return ErrorReply(code);
    }
    assembly_.Data.insert(assembly_.Data.end(), request.Data.begin(), request.Data.begin() + request.DataLength);
    assembly_.ReceivedBlocks = request.BlockNumber;
    if (request.BlockNumber < request.BlockCount) {
        pending_ = {};
        return Message(code, 1, 1);
    }
    const std::vector<std::uint8_t> block = std::move(assembly_.Data);
    assembly_ = {};
    const std::uint8_t answer = code == kCommandDownloadConfiguration ? TakeConfiguration(block) : TakeArchive(block);
    return StartReply(code, {answer});
}

std::uint8_t GatewayEngine::TakeConfiguration(const std::vector<std::uint8_t>& block)
{
    if (block.size() < 4 || !BlockChecksumMatches(block.data(), block.size())) {
        return kAnswerFailed;
    }
    if (!IsSupportedLayout(block.data(), block.size())) {
        return kAnswerUnsupportedLayout;
    }
    const auto summary = ReadImageSummary(block.data(), block.size());
    if (!summary) {
        return kAnswerFailed;
    }
    const std::size_t imageLength = static_cast<std::size_t>(summary->Length);
    if (imageLength + 2 > block.size() ||
        imageLength + 2 + GetBigEndian16(block.data() + imageLength) != block.size()) {
        return kAnswerFailed;
    }
    std::vector<std::uint8_t> image(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(imageLength));
    std::string text(block.begin() + static_cast<std::ptrdiff_t>(imageLength + 2), block.end());
    NoteConfiguration(store_.Diagnostics(), image);
    store_.DiagnosticsChanged();
    store_.KeepConfiguration(std::move(image), std::move(text));
    return kAnswerOk;
}

std::uint8_t GatewayEngine::TakeArchive(const std::vector<std::uint8_t>& block)
{
    if (block.size() <= kArchiveDataOffset || !BlockChecksumMatches(block.data(), block.size())) {
        return kAnswerFailed;
    }
    auto contents = DecodeArchiveBlock(block.data(), block.size());
    if (!contents || contents->Bytes.empty() || contents->Bytes.size() > kMaxArchiveSize ||
        kArchiveDataOffset + contents->Bytes.size() != block.size()) {
        return kAnswerFailed;
    }
    store_.KeepArchive(std::move(contents->Name), std::move(contents->Bytes));
    return kAnswerOk;
}

std::optional<std::vector<std::uint8_t>> GatewayEngine::UploadData() const
{
    if (!store_.HasConfiguration()) {
        return std::nullopt;
    }
    UploadReply reply;
    if (const auto summary = ReadImageSummary(store_.Image().data(), store_.Image().size())) {
        reply.InUse = summary->InUse;
    }
    reply.Text = store_.Text();
    return EncodeUploadReply(reply);
}

std::vector<std::uint8_t> GatewayEngine::DiagnosticsData()
{
    const std::time_t now = std::time(nullptr);
    const std::tm local = LocalTimeOf(now).value_or(std::tm{});
    StampClock(store_.Diagnostics(), local);
    return store_.Diagnostics();
}

LinkMessage GatewayEngine::StartReply(std::uint8_t code, std::vector<std::uint8_t> data)
{
    const int blockSize = settings_.ReplyBlock;
    const int blocks = std::max(1, static_cast<int>((data.size() + static_cast<std::size_t>(blockSize) - 1) /
                                                    static_cast<std::size_t>(blockSize)));
    if (blocks > kMaxReplyBlocks) {
        return ErrorReply(code);
    }
    pending_ = {code, std::move(data), blocks, 0};
    return NextBlock();
}

LinkMessage GatewayEngine::NextBlock()
{
    const int number = ++pending_.SentBlocks;
    LinkMessage reply = Message(pending_.Code, pending_.BlockCount, number);
    const std::size_t start = static_cast<std::size_t>(number - 1) * static_cast<std::size_t>(settings_.ReplyBlock);
    const std::size_t length = std::min(pending_.Data.size() - start, static_cast<std::size_t>(settings_.ReplyBlock));
    std::copy_n(pending_.Data.begin() + static_cast<std::ptrdiff_t>(start), length, reply.Data.begin());
    reply.DataLength = static_cast<std::uint16_t>(length);
    return reply;
}

LinkMessage GatewayEngine::Continue(std::uint8_t code)
{
    if (pending_.Code != code || pending_.SentBlocks >= pending_.BlockCount) {
        return ErrorReply(code);
    }
    return NextBlock();
}

LinkMessage GatewayEngine::ErrorReply(std::uint8_t code)
{
    pending_ = {};
    return Message(static_cast<std::uint16_t>((kDeviceErrorBit << 8) | code), 1, 1);
}

std::vector<std::uint8_t> GatewayEngine::Encode(const LinkMessage& reply)
{
    const FaultKind fault = faults_.Next();
    lastReplyDamaged_ =
        fault == FaultKind::BadCrc || fault == FaultKind::OversizeLength || fault == FaultKind::ZeroBlockCount;
    LinkMessage sent = reply;
    if (fault == FaultKind::Silence) {
        return {};
    }
    if (fault == FaultKind::Short) {
        sent.DataLength = static_cast<std::uint16_t>(sent.DataLength / 2);
        sent.BlockNumber = sent.BlockCount;
    }
    if (fault == FaultKind::ZeroBlockCount) {
        sent.BlockCount = 0;
    }
    std::vector<std::uint8_t> frame(kMaxFrameLength);
    frame.resize(static_cast<std::size_t>(EncodeFrame(sent, frame.data())));
    const int length = static_cast<int>(frame.size());
    switch (fault) {
    case FaultKind::BadCrc:
        frame[frame.size() - 1] ^= 0xFF;
        break;
    case FaultKind::ErrorBit:
        frame[2] |= kDeviceErrorBit;
        SealFrame(frame.data(), length);
        break;
    case FaultKind::RetryBit:
        frame[2] |= kRetryBit;
        SealFrame(frame.data(), length);
        break;
    case FaultKind::OversizeLength:
        PutBigEndian16(frame.data(), kOversizeLength);
        break;
    case FaultKind::TrailingBytes:
        frame.insert(frame.end(), std::begin(kTrailingBytes), std::end(kTrailingBytes));
        break;
    default:
        break;
    }
    return frame;
}
