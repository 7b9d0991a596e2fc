#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The gateway's answer to a configuration upload (command 17): the InUse
// byte of every entry of the five lists (analog inputs, digital inputs,
// analog outputs, digital outputs, indirect messages), each list as a count
// byte and its bytes, then the configuration text behind its 16-bit length.
struct UploadReply {
    std::array<std::vector<std::uint8_t>, 5> InUse;
    std::string Text;
};

// No value when the counts or the text length announce more bytes than
// `size` holds.
std::optional<UploadReply> DecodeUploadReply(const std::uint8_t* data, std::size_t size);

// The reply bytes; lists of more than 255 entries and texts of more than
// 65535 bytes do not fit the count fields and give no value.
std::optional<std::vector<std::uint8_t>> EncodeUploadReply(const UploadReply& reply);
