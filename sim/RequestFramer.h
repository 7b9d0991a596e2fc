#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// Cuts the bytes that reach the gateway into request frames: a frame is as
// long as its length field says. A length field that cannot start a frame
// (outside 8..the longest frame) drops every byte waiting.
class RequestFramer {
public:
    void Add(const std::uint8_t* bytes, std::size_t count);
    // The next complete frame; no value while it is incomplete.
    std::optional<std::vector<std::uint8_t>> Next();
    bool Empty() const { return pending_.empty(); }
    void Clear() { pending_.clear(); }

private:
    std::vector<std::uint8_t> pending_;
};
