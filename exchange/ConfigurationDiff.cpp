#include "ConfigurationDiff.h"

#include "NumberText.h"
#include "PointReference.h"

#include <algorithm>
#include <utility>

namespace {

// A record or the settings as named fields, the values written as the
// configuration file writes them.
using Fields = std::vector<std::pair<const char*, std::string>>;

std::string Flag(bool value) { return value ? "1" : "0"; }
std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

Fields SettingFields(const ConfigTemplate& config)
{
    return {
        {"SPA_TEMPLATE", config.TemplateName},
        {"SPA_BAUDRATE", FormatInt(config.SpaBaudRate)},
        {"SPA_REPLYTIMEOUT", FormatInt(config.SpaReplyTimeout)},
        {"SPA_IDLETIME", FormatInt(config.SpaIdleTime)},
        {"SPA_COM_RETRY_COUNT", FormatInt(config.SpaRetryCount)},
        {"PROFI_DFLTADDR", FormatInt(config.ProfibusDefaultAddress)},
        {"PROFI_DECIMAL_PLACE", FormatInt(config.ProfibusDecimalPlace)},
        {"TIME", config.TimeSync ? "YES" : "NO"},
        {"DATE", config.DateSync ? "YES" : "NO"},
        {"GLOBAL_EVENT_POLL", config.GlobalEventPoll ? "ENABLE" : "DISABLE"},
        {"PERIOD", FormatInt(config.GlobalEventPollPeriod)},
        {"ONLINE_POLL_COMMAND", Quoted(config.OnlinePollDescription) + "," + config.OnlinePollCommand},
    };
}

template <typename AnalogPoint>
Fields AnalogFields(const AnalogPoint& point)
{
    return {{"InUse", Flag(point.InUse)},          {"Prio", point.Priority ? "P" : "N"},
            {"Descr.", Quoted(point.Description)}, {"SlAddr", FormatInt(point.SlaveAddress)},
            {"Ch/Cat/Dno", point.Address},         {"Scale", FormatFixed(point.Scale)},
            {"Size", FormatInt(point.Size)}};
}

Fields RecordFields(const AnalogInputPoint& point) { return AnalogFields(point); }
Fields RecordFields(const AnalogOutputPoint& point) { return AnalogFields(point); }

Fields RecordFields(const DigitalInputPoint& point)
{
    const auto& values = point.EventValues;
    return {{"InUse", Flag(point.InUse)},
            {"Prio", point.Priority ? "P" : "N"},
            {"Descr.", Quoted(point.Description)},
            {"SlAddr", FormatInt(point.SlaveAddress)},
            {"FCh/LCh/Cat/FDno/LDno", point.Address},
            {"Datatype", point.DataType},
            {"Bitswitch", Flag(point.BitSwitch)},
            {"EvnCh", FormatInt(point.EventChannel)},
            {"EvnSt", FormatInt(point.EventStart)},
            {"EvnEnd", FormatInt(point.EventEnd)},
            {"EvnVal1-4", FormatInt(values[0]) + "," + FormatInt(values[1]) + "," + FormatInt(values[2]) + "," +
                              FormatInt(values[3])}};
}

Fields RecordFields(const DigitalOutputPoint& point)
{
    return {{"InUse", Flag(point.InUse)},          {"Prio", point.Priority ? "P" : "N"},
            {"Descr.", Quoted(point.Description)}, {"SlAddr", FormatInt(point.SlaveAddress)},
            {"Ch/Cat/Dno", point.Address},         {"Datatype", point.DataType}};
}

Fields RecordFields(const IndirectSpaMessage& message)
{
    return {{"InUse", Flag(message.InUse)},
            {"Descr.", Quoted(message.Description)},
            {"SlAddr", FormatInt(message.SlaveAddress)},
            {"Ch/Cat/Dno", message.Address},
            {"Read/Write", message.Write ? "W" : "R"},
            {"StaticData", FormatInt(message.StaticData)},
            {"Scale", FormatFixed(message.Scale)}};
}

// "name value, name value, ..."
std::string AllFields(const Fields& fields)
{
    std::string text;
    for (const auto& [name, value] : fields) {
        text += (text.empty() ? "" : ", ") + std::string(name) + " " + value;
    }
    return text;
}

// "name old -> new; ..." for the fields that differ; the two lists have the
// same names in the same order.
std::string ChangedFields(const Fields& from, const Fields& to, const char* separator)
{
    std::string text;
    for (std::size_t i = 0; i < from.size(); ++i) {
        if (from[i].second != to[i].second) {
            text += (text.empty() ? "" : "; ") + std::string(from[i].first) + separator + from[i].second + " -> " +
                    to[i].second;
        }
    }
    return text;
}

template <typename List>
void DiffList(std::vector<std::string>& lines, PointSection section, const List& from, const List& to)
{
    const std::string name = std::string("[") + SectionName(section) + "] ";
    const int common = std::min(from.Count(), to.Count());
    for (int i = 0; i < common; ++i) {
        const std::string changes = ChangedFields(RecordFields(from[i]), RecordFields(to[i]), " ");
        if (!changes.empty()) {
            lines.push_back(name + FormatInt(i + 1) + " changed: " + changes);
        }
    }
    for (int i = common; i < to.Count(); ++i) {
        lines.push_back(name + FormatInt(i + 1) + " added: " + AllFields(RecordFields(to[i])));
    }
    for (int i = common; i < from.Count(); ++i) {
        lines.push_back(name + FormatInt(i + 1) + " removed: " + AllFields(RecordFields(from[i])));
    }
}

}  // namespace

std::vector<std::string> DiffConfigurations(const ConfigTemplate& from, const ConfigTemplate& to)
{
    std::vector<std::string> lines;
    const Fields fromSettings = SettingFields(from);
    const Fields toSettings = SettingFields(to);
    for (std::size_t i = 0; i < fromSettings.size(); ++i) {
        if (fromSettings[i].second != toSettings[i].second) {
            lines.push_back(ChangedFields({fromSettings[i]}, {toSettings[i]}, ": "));
        }
    }
    DiffList(lines, PointSection::AnalogInput, from.AnalogInputs, to.AnalogInputs);
    DiffList(lines, PointSection::DigitalInput, from.DigitalInputs, to.DigitalInputs);
    DiffList(lines, PointSection::AnalogOutput, from.AnalogOutputs, to.AnalogOutputs);
    DiffList(lines, PointSection::DigitalOutput, from.DigitalOutputs, to.DigitalOutputs);
    DiffList(lines, PointSection::IndirectMessage, from.IndirectMessages, to.IndirectMessages);
    return lines;
}
