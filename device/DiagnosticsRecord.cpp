#include "DiagnosticsRecord.h"

#include "BigEndian.h"
#include "StatusCodeTable.h"

#include <algorithm>
#include <cstdio>

namespace {

namespace L = DiagnosticsLayout;

// "%c": the byte as one character; a zero byte ends the text at once.
std::string CharacterText(std::uint8_t byte) { return byte == 0 ? std::string() : std::string(1, static_cast<char>(byte)); }

std::string DateText(const std::uint8_t* at)
{
    char text[32];
    std::snprintf(text, sizeof text, "%u-%02u-%02u", GetBigEndian16(at), unsigned{at[2]}, unsigned{at[3]});
    return text;
}

std::string ClockText(const std::uint8_t* at)
{
    char text[48];
    std::snprintf(text, sizeof text, "%u-%02u-%02u %02u:%02u:%02u", GetBigEndian16(at), unsigned{at[2]},
                  unsigned{at[3]}, unsigned{at[4]}, unsigned{at[5]}, unsigned{at[6]});
    return text;
}

std::string RevisionText(const std::uint8_t* at)
{
    char text[16];
    std::snprintf(text, sizeof text, "%u.%02u", unsigned{at[0]}, unsigned{at[1]});
    return text;
}

// Sixteen "1" or "0", bit 15 first.
std::string BitsText(unsigned word)
{
    std::string bits;
    for (int bit = 15; bit >= 0; --bit) {
        bits += ((word >> bit) & 1U) != 0 ? '1' : '0';
    }
    return bits;
}

std::uint32_t Counter(const std::uint8_t* bytes, std::size_t index) { return GetBigEndian32(bytes + L::kCounters + 4 * index); }

}  // namespace

std::optional<DiagnosticsRecord> DecodeDiagnostics(const std::uint8_t* bytes, std::size_t size)
{
    if (size != L::kLength && size != L::kLengthWithPollCycle) {
        return std::nullopt;
    }
    DiagnosticsRecord record;
    record.GatewayTime = ClockText(bytes + L::kClock);
    record.Status = bytes[L::kModuleStatus] == 1 ? "OK" : "Error";
    record.FileRevision = RevisionText(bytes + L::kFileRevision);
    record.DownloadDate = DateText(bytes + L::kDownloadDate);
    record.ModuleStatusWord = BitsText(GetBigEndian16(bytes + L::kModuleStatusWord));
    record.Transmitted = Counter(bytes, 0);
    record.Correct = Counter(bytes, 1);
    record.NaksReceived = Counter(bytes, 2);
    record.ChecksumErrors = Counter(bytes, 3);
    record.Timeouts = Counter(bytes, 4);
    record.OfflineOccurrences = Counter(bytes, 5);
    record.OnlineOccurrences = Counter(bytes, 6);
    record.EventsReceived = Counter(bytes, 7);
    record.EventsLost = Counter(bytes, 8);
    record.EventBufferOverflows = Counter(bytes, 9);
    std::copy_n(bytes + L::kEvents, L::kEventBufferSize, record.EventBuffer.begin());
    record.ErrorType = StatusCodeTable()[bytes[L::kStatusCode]];
    record.ProblemChannel = static_cast<int>(GetBigEndian16(bytes + L::kProblemChannel));
    record.ProblemCategory = CharacterText(bytes[L::kProblemCategory]);
    record.ProblemDataNumber = static_cast<std::int32_t>(GetBigEndian32(bytes + L::kProblemDataNumber));
    record.PollCycleTime = size == L::kLengthWithPollCycle ? GetBigEndian32(bytes + L::kPollCycleTime) : 0;
    return record;
}

std::array<DiagnosticEvent, DiagnosticsLayout::kEventCount> DecodeEvents(
    const std::array<std::uint8_t, DiagnosticsLayout::kEventBufferSize>& buffer)
{
    std::array<DiagnosticEvent, L::kEventCount> events;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const std::uint8_t* at = buffer.data() + i * L::kEventSize;
        DiagnosticEvent& event = events[i];
        event.Slave = GetBigEndian16(at);
        event.Second = at[2];
        event.Millisecond = static_cast<int>(GetBigEndian16(at + 3));
        event.Channel = static_cast<int>(GetBigEndian16(at + 5));
        event.Type = static_cast<char>(at[7]);
        event.Number = at[8];
        event.Value = static_cast<std::int32_t>(GetBigEndian32(at + 9));
    }
    return events;
}

std::array<std::string, 7> EventCells(const DiagnosticEvent& event)
{
    return {std::to_string(event.Slave),   std::to_string(event.Second),
            std::to_string(event.Millisecond), std::to_string(event.Channel),
            CharacterText(static_cast<std::uint8_t>(event.Type)), std::to_string(event.Number),
            std::to_string(event.Value)};
}

std::vector<DiagnosticsField> DiagnosticsFields(const DiagnosticsRecord& record)
{
    constexpr const char* kConfiguration = "Configuration";
    constexpr const char* kModule = "Module";
    constexpr const char* kStatistics = "SPA Messages Statistics";
    return {
        {kConfiguration, "File Revision :", record.FileRevision},
        {kConfiguration, "Download Date:", record.DownloadDate},
        {kConfiguration, "Status :", record.Status},
        {kConfiguration, "Error Type:", record.ErrorType},
        {kConfiguration, "Problem Ch.:", std::to_string(record.ProblemChannel)},
        {kConfiguration, "Problem Cat.:", record.ProblemCategory},
        {kConfiguration, "ProblemDno:", std::to_string(record.ProblemDataNumber)},
        {kModule, "SPA Gateway Time:", record.GatewayTime},
        {kModule, "Module Status Word:", record.ModuleStatusWord},
        {kStatistics, "Transmitted:", std::to_string(record.Transmitted)},
        {kStatistics, "Correct:", std::to_string(record.Correct)},
        {kStatistics, "NAK's Received:", std::to_string(record.NaksReceived)},
        {kStatistics, "Checksum Errors:", std::to_string(record.ChecksumErrors)},
        {kStatistics, "Timeout Occurences:", std::to_string(record.Timeouts)},
        {kStatistics, "Offline Occurences:", std::to_string(record.OfflineOccurrences)},
        {kStatistics, "Online Occurences:", std::to_string(record.OnlineOccurrences)},
        {kStatistics, "Events Received:", std::to_string(record.EventsReceived)},
        {kStatistics, "Event Lost Occurences:", std::to_string(record.EventsLost)},
        {kStatistics, "Event Buffer Overflows:", std::to_string(record.EventBufferOverflows)},
        {kStatistics, "Poll Cycle Time (ms):", std::to_string(record.PollCycleTime)},
    };
}
