#pragma once

#include <cstddef>
#include <cstdint>

// Everything exchanged with the gateway is big-endian: these read and write
// the numbers most significant byte first. A value written into fewer bytes
// than it has keeps its low-order bytes.

inline void PutBigEndian16(std::uint8_t* at, unsigned value)
{
    at[0] = static_cast<std::uint8_t>(value >> 8);
    at[1] = static_cast<std::uint8_t>(value);
}

inline unsigned GetBigEndian16(const std::uint8_t* at) { return (unsigned{at[0]} << 8) | at[1]; }

inline std::uint32_t GetBigEndian32(const std::uint8_t* at)
{
    return (std::uint32_t{at[0]} << 24) | (std::uint32_t{at[1]} << 16) | (std::uint32_t{at[2]} << 8) | at[3];
}
