#include "JsonOutput.h"

#include "AreaLayout.h"
#include "FirmwareVersion.h"
#include "SlaveSet.h"

#include <cctype>
#include <ostream>

namespace {

using nlohmann::json;

// Every byte of the 8-bit text is the Latin-1 character of that code.
std::string Utf8(const std::string& latin1)
{
    std::string utf8;
    utf8.reserve(latin1.size());
    for (const char c : latin1) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (code >> 6));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return utf8;
}

json Line(const std::optional<std::string>& line) { return line ? json(Utf8(*line)) : json(nullptr); }

json FindingJson(const CheckFinding& finding)
{
    json item{{"text", Utf8(finding.Text)}, {"detail", Utf8(finding.Detail)}};
    if (finding.Point) {
        const PointReference& point = *finding.Point;
        item["section"] = SectionName(point.Section);
        item["index"] = point.Index + 1;
        item["description"] = Utf8(point.Description);
        item["slave"] = point.SlaveAddress;
        item["address"] = Utf8(point.Address);
    } else if (finding.Slave) {
        item["slave"] = *finding.Slave;
    }
    return item;
}

json FindingsJson(const std::vector<CheckFinding>& findings)
{
    json list = json::array();
    for (const CheckFinding& finding : findings) {
        list.push_back(FindingJson(finding));
    }
    return list;
}

}  // namespace

std::string JsonKey(const std::string& label)
{
    std::string key;
    bool gap = false;
    char previous = ' ';
    for (const char c : label) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\'') {
            continue;
        }
        if (!std::isalnum(u)) {
            gap = true;
            previous = c;
            continue;
        }
        // A word that starts in the middle of another: "ProblemDno".
        const bool wordStart = std::isupper(u) && std::islower(static_cast<unsigned char>(previous));
        if (!key.empty() && (gap || wordStart)) {
            key += '_';
        }
        key += static_cast<char>(std::tolower(u));
        gap = false;
        previous = c;
    }
    return key;
}

json ShowJson(const std::string& path, const ConfigTemplate& config)
{
    const AreaLayout layout = ComputeAreaLayout(config);
    json slaves = json::array();
    for (int address : CollectSlaveAddresses(config)) {
        if (address != -1) {
            slaves.push_back(address);
        }
    }
    return {
        {"file", path},
        {"template", Utf8(config.TemplateName)},
        {"spa_baud_rate", config.SpaBaudRate},
        {"spa_reply_timeout", config.SpaReplyTimeout},
        {"spa_idle_time", config.SpaIdleTime},
        {"spa_com_retry_count", config.SpaRetryCount},
        {"profibus_default_address", config.ProfibusDefaultAddress},
        {"profibus_decimal_place", config.ProfibusDecimalPlace},
        {"time_sync", config.TimeSync},
        {"date_sync", config.DateSync},
        {"global_event_poll", config.GlobalEventPoll},
        {"global_event_poll_period", config.GlobalEventPollPeriod},
        {"online_poll_description", Utf8(config.OnlinePollDescription)},
        {"online_poll_command", Utf8(config.OnlinePollCommand)},
        {"analog_inputs", config.AnalogInputs.Count()},
        {"digital_inputs", config.DigitalInputs.Count()},
        {"analog_outputs", config.AnalogOutputs.Count()},
        {"digital_outputs", config.DigitalOutputs.Count()},
        {"indirect_messages", config.IndirectMessages.Count()},
        {"slaves", slaves},
        {"input_bytes", layout.InputArea},
        {"output_bytes", layout.OutputArea},
    };
}

json DiagnosticsJson(const DiagnosticsRecord& record)
{
    json result = json::object();
    for (const DiagnosticsField& field : DiagnosticsFields(record)) {
        result[JsonKey(field.Label)] = Utf8(field.Value);
    }
    json events = json::array();
    for (const DiagnosticEvent& event : DecodeEvents(record.EventBuffer)) {
        const auto cells = EventCells(event);
        json row = json::object();
        for (std::size_t i = 0; i < cells.size(); ++i) {
            row[JsonKey(kEventColumnTitles[i])] = Utf8(cells[i]);
        }
        events.push_back(row);
    }
    result["events"] = events;
    return result;
}

json FirmwareJson(const FirmwareVersion& version)
{
    return {{"major", version.Major},
            {"minor", version.Minor},
            {"build", version.Build},
            {"text", FirmwareVersionText(version.Major, version.Minor, version.Build)}};
}

json CheckJson(const std::string& path, const ConfigurationCheck& check)
{
    return {{"file", path}, {"errors", FindingsJson(check.Errors)}, {"warnings", FindingsJson(check.Warnings)}};
}

json VerifyJson(const std::string& path, const TextDifference& difference)
{
    json first = nullptr;
    if (!difference.Equal()) {
        first = {{"line", difference.FirstLine},
                 {"gateway", Line(difference.ActualLine)},
                 {"expected", Line(difference.ExpectedLine)}};
    }
    return {{"file", path},
            {"match", difference.Equal()},
            {"differing_lines", difference.DifferingLines},
            {"first_difference", first}};
}

void PrintJson(std::ostream& out, const json& value)
{
    // A file name need not be UTF-8: its stray bytes are replaced, never a failure.
    out << value.dump(-1, ' ', false, json::error_handler_t::replace) << '\n';
}
