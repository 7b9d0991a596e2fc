#include "OperationRecord.h"

#include "UserState.h"

#include <nlohmann/json.hpp>

#include <fstream>

namespace {

using Json = nlohmann::ordered_json;

// The record's fields and their keys, in the order the line shows them.
template <typename Record, typename Visit>
void ForEachField(Record& record, Visit visit)
{
    visit("time", record.Time);
    visit("user", record.User);
    visit("host", record.Host);
    visit("program", record.Program);
    visit("action", record.Action);
    visit("port", record.Port);
    visit("port_by_id", record.PortById);
    visit("file", record.File);
    visit("sha256", record.Sha256);
    visit("firmware", record.Firmware);
    visit("result", record.Result);
    visit("message", record.Message);
    visit("verify", record.Verify);
}

bool AlwaysWritten(std::string_view key) { return key == "result" || key == "message"; }

}  // namespace

std::string UtcTimestamp(std::time_t when)
{
    std::tm utc{};
    gmtime_r(&when, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

OperationRecord NewOperationRecord(const std::string& program, const std::string& action, const std::string& port,
                                   const std::string& devicePath)
{
    OperationRecord record;
    record.Time = UtcTimestamp(std::time(nullptr));
    record.User = CurrentUserName();
    record.Host = CurrentHostName();
    record.Program = program;
    record.Action = action;
    record.Port = port;
    record.PortById = StableDevicePath(devicePath);
    if (record.PortById == port) {
        record.PortById.clear();
    }
    return record;
}

std::string OperationRecordLine(const OperationRecord& record)
{
    Json line = Json::object();
    ForEachField(record, [&line](const char* key, const std::string& value) {
        if (!value.empty() || AlwaysWritten(key)) {
            line[key] = value;
        }
    });
    // Bytes that are no UTF-8 (a file name, say) are replaced rather than
    // making the line unwritable.
    return line.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

AppendResult AppendOperationRecord(const std::string& logPath, const OperationRecord& record)
{
    if (logPath.empty()) {
        return {false, "no folder for the operations log (neither XDG_STATE_HOME nor HOME is set)"};
    }
    return AppendWholeRecord(logPath, OperationRecordLine(record));
}

OperationsLogContents ReadOperationsLog(const std::string& logPath)
{
    OperationsLogContents contents;
    std::ifstream in(logPath, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (line.empty()) {
            continue;
        }
        const Json parsed = Json::parse(line, nullptr, false);
        if (!parsed.is_object()) {
            ++contents.UnreadableLines;
            continue;
        }
        OperationRecord record;
        ForEachField(record, [&parsed](const char* key, std::string& value) {
            if (const auto it = parsed.find(key); it != parsed.end() && it->is_string()) {
                value = it->get<std::string>();
            }
        });
        contents.Records.push_back(std::move(record));
        contents.Lines.push_back(std::move(line));
    }
    return contents;
}

bool IsSinceText(std::string_view since)
{
    // YYYY-MM-DD, optionally followed by THH:MM:SS and Z, or a leading part.
    constexpr std::string_view kPattern = "dddd-dd-ddTdd:dd:ddZ";
    if (since.size() < 10 || since.size() > kPattern.size()) {
        return false;
    }
    for (std::size_t i = 0; i < since.size(); ++i) {
        const bool digit = since[i] >= '0' && since[i] <= '9';
        if (kPattern[i] == 'd' ? !digit : since[i] != kPattern[i]) {
            return false;
        }
    }
    return true;
}

bool RecordIsSince(const OperationRecord& record, std::string_view since)
{
    // ISO 8601 times in UTC compare as texts.
    return std::string_view(record.Time).substr(0, since.size()) >= since;
}
