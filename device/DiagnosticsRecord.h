#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The gateway's diagnostics as it sends them (command 64): 272 bytes, or 276
// with the poll cycle time at the end. Numbers are big-endian.
namespace DiagnosticsLayout {
inline constexpr std::size_t kClock = 0;              // year (2), month, day, hour, minute, second
inline constexpr std::size_t kModuleStatus = 7;       // 1 = OK
inline constexpr std::size_t kFileRevision = 8;       // major, minor
inline constexpr std::size_t kDownloadDate = 10;      // year (2), month, day
inline constexpr std::size_t kModuleStatusWord = 14;  // 16 bits
inline constexpr std::size_t kCounters = 16;          // ten unsigned 32-bit counters
inline constexpr std::size_t kCounterCount = 10;
inline constexpr std::size_t kEvents = 56;            // 16 events of 13 bytes
inline constexpr std::size_t kEventSize = 13;
inline constexpr std::size_t kEventCount = 16;
inline constexpr std::size_t kEventBufferSize = kEventSize * kEventCount;
inline constexpr std::size_t kStatusCode = 264;
inline constexpr std::size_t kProblemChannel = 265;   // 16 bits
inline constexpr std::size_t kProblemCategory = 267;  // a letter
inline constexpr std::size_t kProblemDataNumber = 268;  // signed 32 bits
inline constexpr std::size_t kPollCycleTime = 272;    // 32 bits, long form only
inline constexpr std::size_t kLength = 272;
inline constexpr std::size_t kLengthWithPollCycle = 276;
}  // namespace DiagnosticsLayout

// One entry of the gateway's event buffer.
struct DiagnosticEvent {
    unsigned Slave = 0;
    int Second = 0;
    int Millisecond = 0;
    int Channel = 0;
    char Type = '\0';
    int Number = 0;
    std::int32_t Value = 0;
};

// The diagnostics as the dialog shows them: texts already formatted, numbers
// as received.
struct DiagnosticsRecord {
    std::string DownloadDate;
    std::string ErrorType;
    std::string FileRevision;
    std::string ModuleStatusWord;
    std::string ProblemCategory;
    int ProblemChannel = 0;
    int ProblemDataNumber = 0;
    std::uint32_t ChecksumErrors = 0;
    std::uint32_t Correct = 0;
    std::uint32_t EventsReceived = 0;
    std::uint32_t EventBufferOverflows = 0;
    std::uint32_t EventsLost = 0;
    std::uint32_t NaksReceived = 0;
    std::uint32_t OfflineOccurrences = 0;
    std::uint32_t OnlineOccurrences = 0;
    std::string GatewayTime;
    std::uint32_t Timeouts = 0;
    std::uint32_t Transmitted = 0;
    std::string Status;
    std::uint32_t PollCycleTime = 0;
    std::array<std::uint8_t, DiagnosticsLayout::kEventBufferSize> EventBuffer{};
};

// Decodes a reply of 272 or 276 bytes; no value for any other length.
std::optional<DiagnosticsRecord> DecodeDiagnostics(const std::uint8_t* bytes, std::size_t size);

// The 16 events of the buffer, in its order.
std::array<DiagnosticEvent, DiagnosticsLayout::kEventCount> DecodeEvents(
    const std::array<std::uint8_t, DiagnosticsLayout::kEventBufferSize>& buffer);

// The titles of the event list's columns and one event's cells.
inline constexpr std::array<const char*, 7> kEventColumnTitles{"Slv", "sec", "msec", "Ch", "Type", "Nr", "Val"};
std::array<std::string, 7> EventCells(const DiagnosticEvent& event);

// The dialog's groups and fields, each with its label and shown value, in
// the dialog's order: Configuration, Module, SPA Messages Statistics.
struct DiagnosticsField {
    const char* Group;
    const char* Label;
    std::string Value;
};
std::vector<DiagnosticsField> DiagnosticsFields(const DiagnosticsRecord& record);
