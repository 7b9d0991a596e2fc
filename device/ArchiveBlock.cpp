#include "ArchiveBlock.h"

#include "BigEndian.h"
#include "Checksum.h"

#include <algorithm>

std::vector<std::uint8_t> EncodeArchiveBlock(const std::string& name, const std::uint8_t* bytes, std::size_t size)
{
    std::vector<std::uint8_t> block(kArchiveDataOffset + size, 0);
    PutBigEndian16(block.data() + 2, static_cast<unsigned>(size));
    const std::size_t nameLength = std::min(name.size(), kArchiveNameFieldSize - 1);
    std::copy_n(name.begin(), nameLength, block.begin() + kArchiveNameOffset);
    std::copy_n(bytes, size, block.begin() + kArchiveDataOffset);
    PutBlockChecksum(block.data(), block.size());
    return block;
}

std::optional<ArchiveContents> DecodeArchiveBlock(const std::uint8_t* block, std::size_t size)
{
    if (size < kArchiveNameOffset) {
        return std::nullopt;
    }
    const std::size_t archiveSize = GetBigEndian16(block + 2);
    const std::uint8_t* nameStart = block + kArchiveNameOffset;
    const std::uint8_t* nameLimit = block + std::min(size, kArchiveDataOffset);
    const std::uint8_t* nameEnd = std::find(nameStart, nameLimit, 0);
    if (nameEnd == nameLimit || kArchiveDataOffset + archiveSize > size) {
        return std::nullopt;
    }
    ArchiveContents contents;
    contents.Name.assign(nameStart, nameEnd);
    contents.Bytes.assign(block + kArchiveDataOffset, block + kArchiveDataOffset + archiveSize);
    return contents;
}
