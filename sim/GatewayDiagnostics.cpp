#include "GatewayDiagnostics.h"

#include "BigEndian.h"
#include "DiagnosticsRecord.h"

#include <algorithm>

namespace {

namespace L = DiagnosticsLayout;

constexpr std::uint8_t kStatusConfigurationOk = 0;
constexpr std::uint8_t kStatusConfigurationEmpty = 128;
constexpr std::uint8_t kModuleStatusOk = 1;
// Image bytes 2-3 hold the layout version, 4-7 the date it was built.
constexpr std::size_t kImageRevision = 2;
constexpr std::size_t kImageDate = 4;

void Fill(std::vector<std::uint8_t>& record, std::size_t from, std::size_t to, std::uint8_t value)
{
    to = std::min(to, record.size());
    if (from < to) {
        std::fill(record.begin() + static_cast<std::ptrdiff_t>(from), record.begin() + static_cast<std::ptrdiff_t>(to),
                  value);
    }
}

}  // namespace

std::vector<std::uint8_t> NewDiagnostics(const std::vector<std::uint8_t>& keptImage)
{
    std::vector<std::uint8_t> record(L::kLengthWithPollCycle, 0);
    record[L::kModuleStatus] = kModuleStatusOk;
    record[L::kStatusCode] = kStatusConfigurationEmpty;
    NoteConfiguration(record, keptImage);
    return record;
}

void StampClock(std::vector<std::uint8_t>& record, const std::tm& now)
{
    if (record.size() < L::kModuleStatus) {
        return;
    }
    std::uint8_t* clock = record.data() + L::kClock;
    PutBigEndian16(clock, static_cast<unsigned>(now.tm_year + 1900));
    clock[2] = static_cast<std::uint8_t>(now.tm_mon + 1);
    clock[3] = static_cast<std::uint8_t>(now.tm_mday);
    clock[4] = static_cast<std::uint8_t>(now.tm_hour);
    clock[5] = static_cast<std::uint8_t>(now.tm_min);
    clock[6] = static_cast<std::uint8_t>(now.tm_sec);
}

void NoteConfiguration(std::vector<std::uint8_t>& record, const std::vector<std::uint8_t>& image)
{
    if (image.size() < kImageDate + 4 || record.size() <= L::kStatusCode) {
        return;
    }
    std::copy_n(image.begin() + kImageRevision, 2, record.begin() + L::kFileRevision);
    std::copy_n(image.begin() + kImageDate, 4, record.begin() + L::kDownloadDate);
    record[L::kStatusCode] = kStatusConfigurationOk;
}

void ClearCounters(std::vector<std::uint8_t>& record)
{
    Fill(record, L::kCounters, L::kEvents + L::kEventBufferSize, 0);
}
