#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The ArchiveBlock: how the archive file travels to the gateway (command 80)
// and back (command 81).
//   0    2  checksum of all bytes from offset 2 on, high byte first
//   2    2  Z = archive size, big-endian
//   4  257  the file name without directory, ended by a zero byte
//   261  Z  the archive's bytes
inline constexpr std::size_t kArchiveNameOffset = 4;
inline constexpr std::size_t kArchiveNameFieldSize = 257;
inline constexpr std::size_t kArchiveDataOffset = 261;
inline constexpr std::size_t kMaxArchiveSize = 65275;

// The block for a name and at most kMaxArchiveSize bytes, checksum included.
// A name longer than the field allows is cut to 256 characters.
std::vector<std::uint8_t> EncodeArchiveBlock(const std::string& name, const std::uint8_t* bytes, std::size_t size);

struct ArchiveContents {
    std::string Name;
    std::vector<std::uint8_t> Bytes;
};

// Reads the name and the Z bytes from a received block without looking at
// the checksum. No value when the name or the bytes run beyond `size`.
std::optional<ArchiveContents> DecodeArchiveBlock(const std::uint8_t* block, std::size_t size);
