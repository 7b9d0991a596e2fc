#include "RequestFramer.h"

#include "LinkFrame.h"

void RequestFramer::Add(const std::uint8_t* bytes, std::size_t count) { pending_.insert(pending_.end(), bytes, bytes + count); }

std::optional<std::vector<std::uint8_t>> RequestFramer::Next()
{
    if (pending_.size() < 2) {
        return std::nullopt;
    }
    const int length = FrameLengthField(pending_.data());
    if (!IsValidFrameLength(length)) {
        pending_.clear();
        return std::nullopt;
    }
    if (pending_.size() < static_cast<std::size_t>(length)) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> frame(pending_.begin(), pending_.begin() + length);
    pending_.erase(pending_.begin(), pending_.begin() + length);
    return frame;
}
