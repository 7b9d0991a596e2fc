#pragma once

#include "AppendFile.h"

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

// One device operation as the operations log keeps it: who did what with
// which gateway, when, with which configuration text, and how it ended.
// Empty texts are left out of the log line, except result and message.
struct OperationRecord {
    std::string Time;      // when it ended; UTC, ISO 8601: 2026-12-09T22:18:40Z
    std::string User;
    std::string Host;
    std::string Program;   // halvex or halvex-cli
    std::string Action;    // download, verify, upload, backup, firmware, diagnostics, ...
    std::string Port;      // as the user gave it
    std::string PortById;  // the stable /dev/serial/by-id path, where known
    std::string File;      // the configuration (or backup) file
    std::string Sha256;    // of the configuration text sent or received
    std::string Firmware;  // the gateway's firmware version, where known
    std::string Result;    // ok, failed or cancelled
    std::string Message;   // the last message the operation showed
    std::string Verify;    // equal or different, where a verify ran
};

inline constexpr const char* kResultOk = "ok";
inline constexpr const char* kResultFailed = "failed";
inline constexpr const char* kResultCancelled = "cancelled";

// "YYYY-MM-DDTHH:MM:SSZ" of the time.
std::string UtcTimestamp(std::time_t when);

// A record with the time now, the user, the host, the program, the action,
// the port as given and the stable path of its device.
OperationRecord NewOperationRecord(const std::string& program, const std::string& action, const std::string& port,
                                   const std::string& devicePath);

// The record as one line of JSON, ending in a line feed.
std::string OperationRecordLine(const OperationRecord& record);

// Appends the record's line to the log at path with a single write, flushed.
AppendResult AppendOperationRecord(const std::string& logPath, const OperationRecord& record);

// What a log holds: the records of its whole lines in order, the lines that
// are no record counted apart. A log that is not there holds nothing.
struct OperationsLogContents {
    std::vector<OperationRecord> Records;
    std::vector<std::string> Lines;  // each record's line as it stands in the log
    int UnreadableLines = 0;
};
OperationsLogContents ReadOperationsLog(const std::string& logPath);

// The records at or after `since` (a date YYYY-MM-DD or a UTC time
// YYYY-MM-DDTHH:MM:SSZ, or a prefix of one).
bool RecordIsSince(const OperationRecord& record, std::string_view since);
// Whether the text is a date or time that RecordIsSince understands.
bool IsSinceText(std::string_view since);
