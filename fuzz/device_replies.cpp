// Every decoder of what comes from the gateway, and of what the simulated
// gateway reads, each given the whole input: the upload reply, the
// diagnostics record and its events, the archive block, a reply frame, the
// firmware version bytes, the device image walk and the request framer.
// Invariants: what decodes, encoded again, decodes to the same; a frame of
// valid length and checksum encodes back to its own bytes.
#include "ArchiveBlock.h"
#include "DiagnosticsRecord.h"
#include "FirmwareVersion.h"
#include "FuzzSupport.h"
#include "ImageReader.h"
#include "LinkFrame.h"
#include "RequestFramer.h"
#include "UploadReply.h"

#include <algorithm>
#include <vector>

namespace {

void UploadReplies(const std::uint8_t* data, std::size_t size)
{
    const auto reply = DecodeUploadReply(data, size);
    if (!reply) {
        return;
    }
    const auto encoded = EncodeUploadReply(*reply);
    FUZZ_CHECK(encoded && encoded->size() <= size && std::equal(encoded->begin(), encoded->end(), data));
}

void Diagnostics(const std::uint8_t* data, std::size_t size)
{
    const auto record = DecodeDiagnostics(data, size);
    if (!record) {
        return;
    }
    FUZZ_CHECK(DiagnosticsFields(*record).size() == 20);
    for (const DiagnosticEvent& event : DecodeEvents(record->EventBuffer)) {
        for (const std::string& cell : EventCells(event)) {
            FUZZ_CHECK(cell.size() <= 11);
        }
    }
}

void ArchiveBlocks(const std::uint8_t* data, std::size_t size)
{
    const auto contents = DecodeArchiveBlock(data, size);
    if (!contents) {
        return;
    }
    const auto block = EncodeArchiveBlock(contents->Name, contents->Bytes.data(), contents->Bytes.size());
    const auto again = DecodeArchiveBlock(block.data(), block.size());
    FUZZ_CHECK(again && again->Name == contents->Name && again->Bytes == contents->Bytes);
}

void ReplyFrames(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) {
        return;
    }
    const int length = FrameLengthField(data);
    if (!IsValidFrameLength(length) || static_cast<std::size_t>(length) > size) {
        return;
    }
    LinkMessage message;
    DecodeFrame(data, length, message);
    FUZZ_CHECK(message.DataLength == length - 8);
    if (HasValidChecksum(data, length)) {
        std::vector<std::uint8_t> frame(kMaxFrameLength);
        FUZZ_CHECK(EncodeFrame(message, frame.data()) == length);
        FUZZ_CHECK(std::equal(frame.begin(), frame.begin() + length, data));
    }
}

void GatewaySide(const std::uint8_t* data, std::size_t size)
{
    if (const auto summary = ReadImageSummary(data, size)) {
        FUZZ_CHECK(summary->Length >= 0 && static_cast<std::size_t>(summary->Length) <= size);
    }
    IsSupportedLayout(data, size);
    RequestFramer framer;
    framer.Add(data, size);
    while (const auto frame = framer.Next()) {
        FUZZ_CHECK(frame->size() >= 8 && frame->size() <= kMaxFrameLength);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    UploadReplies(data, size);
    Diagnostics(data, size);
    ArchiveBlocks(data, size);
    ReplyFrames(data, size);
    GatewaySide(data, size);
    if (size >= 3) {
        FUZZ_CHECK(!FirmwareVersionText(data[0], data[1], data[2]).empty());
    }
    return 0;
}
