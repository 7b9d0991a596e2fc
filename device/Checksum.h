#pragma once

#include <cstddef>
#include <cstdint>

// CRC-16/MODBUS (polynomial 0x8005 bit-reflected, initial value 0xFFFF, no
// final XOR): the checksum of every frame on the serial link, of the download
// block and of the archive block. Wherever it is stored, the high byte comes
// first.
std::uint16_t Checksum(const std::uint8_t* bytes, std::size_t count);

// The download block and the archive block carry the checksum of everything
// behind it in their first two bytes, high byte first. Both need size >= 2.
void PutBlockChecksum(std::uint8_t* block, std::size_t size);
bool BlockChecksumMatches(const std::uint8_t* block, std::size_t size);
