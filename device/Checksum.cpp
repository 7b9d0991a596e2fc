#include "Checksum.h"

#include <array>

namespace {

constexpr std::array<std::uint16_t, 256> MakeTable()
{
    std::array<std::uint16_t, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        unsigned crc = byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1U) != 0 ? (crc >> 1) ^ 0xA001U : crc >> 1;
        }
        table[byte] = static_cast<std::uint16_t>(crc);
    }
    return table;
}

constexpr std::array<std::uint16_t, 256> kTable = MakeTable();

}  // namespace

std::uint16_t Checksum(const std::uint8_t* bytes, std::size_t count)
{
    unsigned crc = 0xFFFF;
    for (std::size_t i = 0; i < count; ++i) {
        crc = (crc >> 8) ^ kTable[(crc ^ bytes[i]) & 0xFFU];
    }
    return static_cast<std::uint16_t>(crc);
}

void PutBlockChecksum(std::uint8_t* block, std::size_t size)
{
    const std::uint16_t crc = Checksum(block + 2, size - 2);
    block[0] = static_cast<std::uint8_t>(crc >> 8);
    block[1] = static_cast<std::uint8_t>(crc);
}

bool BlockChecksumMatches(const std::uint8_t* block, std::size_t size)
{
    return ((unsigned{block[0]} << 8) | block[1]) == Checksum(block + 2, size - 2);
}
