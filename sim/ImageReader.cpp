#include "ImageReader.h"

namespace {

struct RecordLayout {
    int Size;
    int InUseOffset;
};

constexpr int kListsStart = 20;
constexpr RecordLayout kAnalogInput{18, 15};
constexpr RecordLayout kDigitalInput200{28, 26};
constexpr RecordLayout kDigitalInput102{20, 18};
constexpr RecordLayout kAnalogOutput{16, 15};
constexpr RecordLayout kDigitalOutput{12, 11};
constexpr RecordLayout kIndirectMessage{22, 19};
// TimeSync, DateSync, GlobalEventPoll, a zero byte, the poll period.
constexpr int kGlobalBlockSize = 6;
// The online poll command field and the final zero byte.
constexpr int kTrailerSize = 18;

bool IsLayout200(const std::uint8_t* bytes) { return bytes[2] == 0x02 && bytes[3] == 0x00; }
bool IsLayout102(const std::uint8_t* bytes) { return bytes[2] == 0x01 && bytes[3] == 0x03; }

// Reads one list (its count, a zero byte, the records) at `offset`.
bool ReadList(const std::uint8_t* bytes, std::size_t size, std::size_t& offset, RecordLayout layout,
              std::vector<std::uint8_t>& inUse)
{
    if (offset + 2 > size) {
        return false;
    }
    const std::size_t count = bytes[offset];
    offset += 2;
    if (offset + count * static_cast<std::size_t>(layout.Size) > size) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        inUse.push_back(bytes[offset + static_cast<std::size_t>(layout.InUseOffset)]);
        offset += static_cast<std::size_t>(layout.Size);
    }
    return true;
}

}  // namespace

bool IsSupportedLayout(const std::uint8_t* bytes, std::size_t size)
{
    return size >= 4 && (IsLayout200(bytes) || IsLayout102(bytes));
}

std::optional<ImageSummary> ReadImageSummary(const std::uint8_t* bytes, std::size_t size)
{
    if (!IsSupportedLayout(bytes, size)) {
        return std::nullopt;
    }
    ImageSummary summary;
    std::size_t offset = kListsStart;
    const RecordLayout digitalInput = IsLayout200(bytes) ? kDigitalInput200 : kDigitalInput102;
    const bool read = ReadList(bytes, size, offset, kAnalogInput, summary.InUse[0]) &&
                      ReadList(bytes, size, offset, digitalInput, summary.InUse[1]) &&
                      ReadList(bytes, size, offset, kAnalogOutput, summary.InUse[2]) &&
                      ReadList(bytes, size, offset, kDigitalOutput, summary.InUse[3]);
    if (!read) {
        return std::nullopt;
    }
    offset += kGlobalBlockSize;
    if (!ReadList(bytes, size, offset, kIndirectMessage, summary.InUse[4])) {
        return std::nullopt;
    }
    offset += kTrailerSize;
    if (offset > size) {
        return std::nullopt;
    }
    summary.Length = static_cast<int>(offset);
    return summary;
}
