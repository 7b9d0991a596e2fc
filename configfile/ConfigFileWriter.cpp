#include "AreaLayout.h"
#include "ConfigFile.h"
#include "FileAccess.h"
#include "NumberText.h"

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr const char* kOffsetTitles = "\tOffset\tDatasize";

constexpr const char* kAnalogComment = "; InUse,\tPrio,\t\"Descr.\",\tSlAddr,\tCh/Cat/Dno,\tScale,\tSize";
constexpr const char* kDigitalInputComment =
    "; InUse,\tPrio,\t\"Descr.\",\tSlAddr,\tFCh/LCh/Cat/FDno/LDno,\tDatatype,\tBitswitch,\tEvnCh,\tEvnSt,\tEvnEnd,"
    "\tEvnVal1-4";
constexpr const char* kDigitalOutputComment = "; InUse,\tPrio,\t\"Descr.\",\tSlAddr,\tCh/Cat/Dno,\tDatatype";
constexpr const char* kIndirectComment =
    "; InUse,\tmidx,\t\"Descr.\",\tSlAddr,\tCh/Cat/Dno,\tRead/Write,\tStaticData,\tScale";

class ConfigTextBuilder {
public:
    explicit ConfigTextBuilder(bool withOffsets) : withOffsets_(withOffsets) {}

    void Line(const std::string& text = {})
    {
        text_ += text;
        text_ += kLineEnd;
    }

    void Section(const char* header, const char* comment)
    {
        Line();
        Line(header);
        Line(std::string(comment) + (withOffsets_ ? kOffsetTitles : ""));
    }

    // A point line: InUse and Prio in front of the formatted fields, the
    // offset columns behind them when asked for.
    void PointLine(bool inUse, bool priority, const std::string& fields, const PointPlacement& placement)
    {
        std::string line = std::string(inUse ? "1,\t" : "0,\t") + (priority ? "P,\t" : "N,\t") + fields;
        if (withOffsets_) {
            line += "\t" + FormatInt(placement.Offset) + "\t" + FormatInt(placement.DataSize);
        }
        Line(line);
    }

    std::string Take() { return std::move(text_); }

private:
    bool withOffsets_;
    std::string text_;
};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

template <typename AnalogPoint>
std::string AnalogFields(const AnalogPoint& point)
{
    return Quoted(point.Description) + ",\t" + FormatInt(point.SlaveAddress) + ",\t" + point.Address + ",\t" +
           FormatFixed(point.Scale) + ",\t" + FormatInt(point.Size);
}

std::string DigitalInputFields(const DigitalInputPoint& point)
{
    return Quoted(point.Description) + ",\t" + FormatInt(point.SlaveAddress) + ",\t" + point.Address + ",\t" +
           point.DataType + ",\t" + FormatInt(point.BitSwitch ? 1 : 0) + ",\t" + FormatInt(point.EventChannel) +
           ",\t" + FormatInt(point.EventStart) + ",\t" + FormatInt(point.EventEnd) + ",\t" +
           FormatInt(point.EventValues[0]) + "," + FormatInt(point.EventValues[1]) + "," +
           FormatInt(point.EventValues[2]) + "," + FormatInt(point.EventValues[3]);
}

std::string DigitalOutputFields(const DigitalOutputPoint& point)
{
    return Quoted(point.Description) + ",\t" + FormatInt(point.SlaveAddress) + ",\t" + point.Address + ",\t" +
           point.DataType;
}

std::string IndirectLine(const IndirectSpaMessage& message, int index)
{
    return std::string(message.InUse ? "1,\t" : "0,\t") + FormatInt(index) + "," + Quoted(message.Description) +
           ",\t" + FormatInt(message.SlaveAddress) + ",\t" + message.Address + ",\t" + (message.Write ? "W" : "R") +
           ",\t" + FormatInt(message.StaticData) + ",\t" + FormatFixed(message.Scale);
}

template <typename List, typename Format>
void PointLines(ConfigTextBuilder& out, const List& list, const std::vector<PointPlacement>& placements,
                Format format)
{
    for (int i = 0; i < list.Count(); ++i) {
        const auto& point = list[i];
        out.PointLine(point.InUse, point.Priority, format(point), placements[static_cast<std::size_t>(i)]);
    }
}

}  // namespace

std::string ConfigFileText(const ConfigTemplate& config, bool withOffsets)
{
    const AreaLayout layout = ComputeAreaLayout(config);
    ConfigTextBuilder out(withOffsets);
    out.Line("[HEADER]");
    out.Line("IDENTIFICATION = CONFIGURATION_FILE_SPA_DPV1_V1");
    out.Line("VERSION = 2.00");
    out.Line();
    out.Line("[CONFIGURATION]");
    out.Line("SPA_TEMPLATE = " + config.TemplateName);
    out.Line("SPA_BAUDRATE = " + FormatInt(config.SpaBaudRate));
    out.Line("SPA_REPLYTIMEOUT = " + FormatInt(config.SpaReplyTimeout));
    out.Line("SPA_IDLETIME = " + FormatInt(config.SpaIdleTime));
    out.Line("SPA_COM_RETRY_COUNT = " + FormatInt(config.SpaRetryCount));
    out.Line("PROFI_DFLTADDR = " + FormatInt(config.ProfibusDefaultAddress));
    out.Line("PROFI_DECIMAL_PLACE = " + FormatInt(config.ProfibusDecimalPlace));

    out.Section("[ANALOG_INPUT]", kAnalogComment);
    PointLines(out, config.AnalogInputs, layout.AnalogInputs, AnalogFields<AnalogInputPoint>);
    out.Section("[DIGITAL_INPUT]", kDigitalInputComment);
    PointLines(out, config.DigitalInputs, layout.DigitalInputs, DigitalInputFields);
    out.Section("[ANALOG_OUTPUT]", kAnalogComment);
    PointLines(out, config.AnalogOutputs, layout.AnalogOutputs, AnalogFields<AnalogOutputPoint>);
    out.Section("[DIGITAL_OUTPUT]", kDigitalOutputComment);
    PointLines(out, config.DigitalOutputs, layout.DigitalOutputs, DigitalOutputFields);

    out.Line();
    out.Line("[INDIRECT_SPA_COMMANDS]");
    out.Line(kIndirectComment);
    for (int i = 0; i < config.IndirectMessages.Count(); ++i) {
        out.Line(IndirectLine(config.IndirectMessages[i], i + 1));
    }

    out.Line();
    out.Line("[TIME]");
    out.Line(config.TimeSync ? "YES" : "NO");
    out.Line();
    out.Line("[DATE]");
    out.Line(config.DateSync ? "YES" : "NO");
    out.Line();
    out.Line("[GLOBAL_EVENT_POLL]");
    out.Line(config.GlobalEventPoll ? "ENABLE" : "DISABLE");
    out.Line("PERIOD=" + FormatInt(config.GlobalEventPollPeriod));
    out.Line();
    out.Line("[ONLINE_POLL_COMMAND]");
    out.Line(Quoted(config.OnlinePollDescription) + "," + config.OnlinePollCommand);
    return out.Take();
}

bool WriteConfigFile(const ConfigTemplate& config, const std::string& path, bool withOffsets)
{
    return ReplaceFileContents(path, ConfigFileText(config, withOffsets));
}

bool SaveConfigFile(const ConfigTemplate& config, const std::string& path, bool withOffsets, WindowSystem& ui)
{
    if (!WriteConfigFile(config, path, withOffsets)) {
        ui.ErrorBox(kSaveErrorCaption, kSaveErrorText);
        return false;
    }
    return true;
}
