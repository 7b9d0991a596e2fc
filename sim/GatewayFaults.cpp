#include "GatewayFaults.h"

#include "NumberText.h"

#include <utility>

std::optional<FaultKind> ParseFaultKind(const std::string& name)
{
    const std::pair<const char*, FaultKind> kinds[] = {
        {"bad-crc", FaultKind::BadCrc},
        {"silence", FaultKind::Silence},
        {"error-bit", FaultKind::ErrorBit},
        {"retry-bit", FaultKind::RetryBit},
        {"short", FaultKind::Short},
        {"oversize-length", FaultKind::OversizeLength},
        {"zero-block-count", FaultKind::ZeroBlockCount},
        {"trailing-bytes", FaultKind::TrailingBytes},
    };
    for (const auto& [text, kind] : kinds) {
        if (name == text) {
            return kind;
        }
    }
    return std::nullopt;
}

bool FaultQueue::Add(const std::string& faultText)
{
    const std::size_t colon = faultText.find(':');
    const auto kind = ParseFaultKind(faultText.substr(0, colon));
    if (!kind) {
        return false;
    }
    int count = 1;
    if (colon != std::string::npos) {
        const std::string countText = faultText.substr(colon + 1);
        const IntScan scan = ScanInt(countText);
        if (!scan.Found || scan.Used != countText.size() || scan.Value < 1) {
            return false;
        }
        count = scan.Value;
    }
    entries_.push_back({*kind, count});
    return true;
}

FaultKind FaultQueue::Next()
{
    if (entries_.empty()) {
        return FaultKind::None;
    }
    const FaultKind kind = entries_.front().Kind;
    if (--entries_.front().Remaining == 0) {
        entries_.pop_front();
    }
    return kind;
}
