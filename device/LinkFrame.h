#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The frame of the serial protocol between the tool and the gateway:
//
//   0  2  frame length N = data length + 8 (the whole frame, checksum included)
//   2  1  command word, high byte: 0x00 request, 0x20 continuation request;
//         in a reply bit 7 is the device error bit and bit 6 the retry bit
//   3  1  command word, low byte: the command code
//   4  1  block count
//   5  1  block number, counted from 1
//   6     data
//   N-2 2 checksum of bytes 0 to N-3, high byte first
//
// The tool and the gateway simulator both build and check frames with these.

inline constexpr int kFrameOverhead = 8;
inline constexpr int kMaxFrameData = 1000;
inline constexpr int kMaxFrameLength = kMaxFrameData + kFrameOverhead;

inline constexpr std::uint16_t kContinuationFlag = 0x2000;
inline constexpr std::uint8_t kDeviceErrorBit = 0x80;
inline constexpr std::uint8_t kRetryBit = 0x40;

// The command codes of the gateway.
enum CommandCode : std::uint8_t {
    kCommandFirmwareVersion = 2,
    kCommandDownloadConfiguration = 16,
    kCommandUploadConfiguration = 17,
    kCommandUploadDiagnostics = 64,
    kCommandClearDiagnostics = 65,
    kCommandDownloadArchive = 80,
    kCommandUploadArchive = 81,
};

// One request or one reply in memory.
struct LinkMessage {
    std::uint16_t Command = 0;
    std::uint8_t BlockCount = 0;
    std::uint8_t BlockNumber = 0;
    std::uint16_t DataLength = 0;
    std::array<std::uint8_t, kMaxFrameData> Data{};
};

// Writes the frame of the message into `frame` (room for kMaxFrameLength
// bytes) and returns its length; 0 when the data length exceeds kMaxFrameData.
int EncodeFrame(const LinkMessage& message, std::uint8_t* frame);

// The length field of a frame whose first two bytes are given.
int FrameLengthField(const std::uint8_t* frame);

// True when the length field lies within 8..kMaxFrameLength.
bool IsValidFrameLength(int length);

// Recomputes the checksum of an n-byte frame into its last two bytes.
void SealFrame(std::uint8_t* frame, int length);

// True when the last two bytes of the n-byte frame (n >= 8) hold the checksum
// of the bytes before them.
bool HasValidChecksum(const std::uint8_t* frame, int length);

// Fills the message from a frame of valid length; the caller checked it.
void DecodeFrame(const std::uint8_t* frame, int length, LinkMessage& message);
