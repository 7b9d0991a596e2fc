#include "LinkFrame.h"

#include "BigEndian.h"
#include "Checksum.h"

#include <algorithm>

int EncodeFrame(const LinkMessage& message, std::uint8_t* frame)
{
    if (message.DataLength > kMaxFrameData) {
        return 0;
    }
    const int length = message.DataLength + kFrameOverhead;
    PutBigEndian16(frame, static_cast<unsigned>(length));
    PutBigEndian16(frame + 2, message.Command);
    frame[4] = message.BlockCount;
    frame[5] = message.BlockNumber;
    std::copy_n(message.Data.begin(), message.DataLength, frame + 6);
    SealFrame(frame, length);
    return length;
}

int FrameLengthField(const std::uint8_t* frame) { return static_cast<int>(GetBigEndian16(frame)); }

bool IsValidFrameLength(int length) { return length >= kFrameOverhead && length <= kMaxFrameLength; }

void SealFrame(std::uint8_t* frame, int length)
{
    const std::size_t covered = static_cast<std::size_t>(length - 2);
    PutBigEndian16(frame + covered, Checksum(frame, covered));
}

bool HasValidChecksum(const std::uint8_t* frame, int length)
{
    const std::size_t covered = static_cast<std::size_t>(length - 2);
    return GetBigEndian16(frame + covered) == Checksum(frame, covered);
}

void DecodeFrame(const std::uint8_t* frame, int length, LinkMessage& message)
{
    message.DataLength = static_cast<std::uint16_t>(length - kFrameOverhead);
    message.Command = static_cast<std::uint16_t>(GetBigEndian16(frame + 2));
    message.BlockCount = frame[4];
    message.BlockNumber = frame[5];
    std::copy_n(frame + 6, message.DataLength, message.Data.begin());
}
