#include "InMemoryTransport.h"

#include <algorithm>

OpenResult InMemoryTransport::Open(const std::string& devicePath, int baudRate)
{
    if (open_) {
        return {};
    }
    if (const auto refusal = refusals_.find(devicePath); refusal != refusals_.end()) {
        return refusal->second;
    }
    open_ = true;
    baudRate_ = baudRate;
    framer_.Clear();
    return {};
}

void InMemoryTransport::Write(const std::uint8_t* bytes, std::size_t count)
{
    if (!open_) {
        return;
    }
    framer_.Add(bytes, count);
    while (auto frame = framer_.Next()) {
        frames_.push_back(*frame);
        if (responder_) {
            const Frame reply = responder_(*frame, static_cast<int>(frames_.size()) - 1);
            input_.insert(input_.end(), reply.begin(), reply.end());
        }
    }
}

std::size_t InMemoryTransport::Read(std::uint8_t* buffer, std::size_t maxCount)
{
    if (!open_) {
        return 0;
    }
    const std::size_t count = std::min(maxCount, input_.size());
    std::copy_n(input_.begin(), count, buffer);
    input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(count));
    return count;
}

bool InMemoryTransport::WaitForInput(int milliseconds)
{
    if (BufferedCount() > 0) {
        return true;
    }
    clock_.Sleep(milliseconds);
    return false;
}
