#include "UploadReply.h"

#include "BigEndian.h"

std::optional<UploadReply> DecodeUploadReply(const std::uint8_t* data, std::size_t size)
{
    UploadReply reply;
    std::size_t offset = 0;
    for (std::vector<std::uint8_t>& list : reply.InUse) {
        if (offset >= size) {
            return std::nullopt;
        }
        const std::size_t count = data[offset++];
        if (count > size - offset) {
            return std::nullopt;
        }
        list.assign(data + offset, data + offset + count);
        offset += count;
    }
    if (size - offset < 2) {
        return std::nullopt;
    }
    const std::size_t textLength = GetBigEndian16(data + offset);
    offset += 2;
    if (textLength > size - offset) {
        return std::nullopt;
    }
    reply.Text.assign(data + offset, data + offset + textLength);
    return reply;
}

std::optional<std::vector<std::uint8_t>> EncodeUploadReply(const UploadReply& reply)
{
    std::vector<std::uint8_t> data;
    for (const std::vector<std::uint8_t>& list : reply.InUse) {
        if (list.size() > 255) {
            return std::nullopt;
        }
        data.push_back(static_cast<std::uint8_t>(list.size()));
        data.insert(data.end(), list.begin(), list.end());
    }
    if (reply.Text.size() > 0xFFFF) {
        return std::nullopt;
    }
    data.resize(data.size() + 2);
    PutBigEndian16(data.data() + data.size() - 2, static_cast<unsigned>(reply.Text.size()));
    data.insert(data.end(), reply.Text.begin(), reply.Text.end());
    return data;
}
