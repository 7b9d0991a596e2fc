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

// Builds the text in one buffer: every field is appended where it goes.
class ConfigTextBuilder {
public:
    explicit ConfigTextBuilder(bool withOffsets) : withOffsets_(withOffsets) {}

    std::string& Text() { return text_; }

    void Line(std::string_view text = {})
    {
        text_ += text;
        text_ += kLineEnd;
    }

    void Section(const char* header, const char* comment)
    {
        Line();
        Line(header);
        text_ += comment;
        Line(withOffsets_ ? kOffsetTitles : "");
    }

    // A point line: InUse and Prio in front of the fields, the offset columns
    // behind them when asked for.
    template <typename Fields>
    void PointLine(bool inUse, bool priority, Fields fields, const PointPlacement& placement)
    {
        text_ += inUse ? "1,\t" : "0,\t";
        text_ += priority ? "P,\t" : "N,\t";
        fields(text_);
        if (withOffsets_) {
            text_ += '\t';
            AppendInt(text_, placement.Offset);
            text_ += '\t';
            AppendInt(text_, placement.DataSize);
        }
        Line();
    }

    std::string Take() { return std::move(text_); }

private:
    bool withOffsets_;
    std::string text_;
};

void AppendQuoted(std::string& out, const std::string& text)
{
    out += '"';
    out += text;
    out += '"';
}

// A field and the comma and tab that follow it.
void AppendField(std::string& out, std::string_view text)
{
    out += text;
    out += ",\t";
}

void AppendIntField(std::string& out, long long value)
{
    AppendInt(out, value);
    out += ",\t";
}

template <typename AnalogPoint>
void AppendAnalogFields(std::string& out, const AnalogPoint& point)
{
    AppendQuoted(out, point.Description);
    out += ",\t";
    AppendIntField(out, point.SlaveAddress);
    AppendField(out, point.Address);
    AppendFixed(out, point.Scale);
    out += ",\t";
    AppendInt(out, point.Size);
}

void AppendDigitalInputFields(std::string& out, const DigitalInputPoint& point)
{
    AppendQuoted(out, point.Description);
    out += ",\t";
    AppendIntField(out, point.SlaveAddress);
    AppendField(out, point.Address);
    AppendField(out, point.DataType);
    AppendIntField(out, point.BitSwitch ? 1 : 0);
    AppendIntField(out, point.EventChannel);
    AppendIntField(out, point.EventStart);
    AppendIntField(out, point.EventEnd);
    for (std::size_t i = 0; i < point.EventValues.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        AppendInt(out, point.EventValues[i]);
    }
}

void AppendDigitalOutputFields(std::string& out, const DigitalOutputPoint& point)
{
    AppendQuoted(out, point.Description);
    out += ",\t";
    AppendIntField(out, point.SlaveAddress);
    AppendField(out, point.Address);
    out += point.DataType;
}

void AppendIndirectLine(std::string& out, const IndirectSpaMessage& message, int index)
{
    out += message.InUse ? "1,\t" : "0,\t";
    AppendInt(out, index);
    out += ',';
    AppendQuoted(out, message.Description);
    out += ",\t";
    AppendIntField(out, message.SlaveAddress);
    AppendField(out, message.Address);
    AppendField(out, message.Write ? "W" : "R");
    AppendIntField(out, message.StaticData);
    AppendFixed(out, message.Scale);
}

template <typename List, typename Append>
void PointLines(ConfigTextBuilder& out, const List& list, const std::vector<PointPlacement>& placements,
                Append append)
{
    for (int i = 0; i < list.Count(); ++i) {
        const auto& point = list[i];
        out.PointLine(
            point.InUse, point.Priority, [&point, &append](std::string& text) { append(text, point); },
            placements[static_cast<std::size_t>(i)]);
    }
}

// "KEY = value" of the [CONFIGURATION] section.
void SettingLine(ConfigTextBuilder& out, const char* key, int value)
{
    out.Text() += key;
    out.Text() += " = ";
    AppendInt(out.Text(), value);
    out.Line();
}

}  // namespace

std::string ConfigFileText(const ConfigTemplate& config, bool withOffsets)
{
    const AreaLayout layout = ComputeAreaLayout(config);
    ConfigTextBuilder out(withOffsets);
    out.Text().reserve(2048 + 128 * static_cast<std::size_t>(config.AnalogInputs.Count() + config.DigitalInputs.Count() +
                                                              config.AnalogOutputs.Count() +
                                                              config.DigitalOutputs.Count() +
                                                              config.IndirectMessages.Count()));
    out.Line("[HEADER]");
    out.Line("IDENTIFICATION = CONFIGURATION_FILE_SPA_DPV1_V1");
    out.Line("VERSION = 2.00");
    out.Line();
    out.Line("[CONFIGURATION]");
    out.Text() += "SPA_TEMPLATE = ";
    out.Line(config.TemplateName);
    SettingLine(out, "SPA_BAUDRATE", config.SpaBaudRate);
    SettingLine(out, "SPA_REPLYTIMEOUT", config.SpaReplyTimeout);
    SettingLine(out, "SPA_IDLETIME", config.SpaIdleTime);
    SettingLine(out, "SPA_COM_RETRY_COUNT", config.SpaRetryCount);
    SettingLine(out, "PROFI_DFLTADDR", config.ProfibusDefaultAddress);
    SettingLine(out, "PROFI_DECIMAL_PLACE", config.ProfibusDecimalPlace);

    out.Section("[ANALOG_INPUT]", kAnalogComment);
    PointLines(out, config.AnalogInputs, layout.AnalogInputs, AppendAnalogFields<AnalogInputPoint>);
    out.Section("[DIGITAL_INPUT]", kDigitalInputComment);
    PointLines(out, config.DigitalInputs, layout.DigitalInputs, AppendDigitalInputFields);
    out.Section("[ANALOG_OUTPUT]", kAnalogComment);
    PointLines(out, config.AnalogOutputs, layout.AnalogOutputs, AppendAnalogFields<AnalogOutputPoint>);
    out.Section("[DIGITAL_OUTPUT]", kDigitalOutputComment);
    PointLines(out, config.DigitalOutputs, layout.DigitalOutputs, AppendDigitalOutputFields);

    out.Line();
    out.Line("[INDIRECT_SPA_COMMANDS]");
    out.Line(kIndirectComment);
    for (int i = 0; i < config.IndirectMessages.Count(); ++i) {
        AppendIndirectLine(out.Text(), config.IndirectMessages[i], i + 1);
        out.Line();
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
    out.Text() += "PERIOD=";
    AppendInt(out.Text(), config.GlobalEventPollPeriod);
    out.Line();
    out.Line();
    out.Line("[ONLINE_POLL_COMMAND]");
    AppendQuoted(out.Text(), config.OnlinePollDescription);
    out.Text() += ',';
    out.Line(config.OnlinePollCommand);
    return out.Take();
}

bool WriteConfigFile(const ConfigTemplate& config, const std::string& path, bool withOffsets)
{
    return ReplaceFileContents(path, ConfigFileText(config, withOffsets));
}

bool SaveConfigFile(const ConfigTemplate& config, const std::string& path, bool withOffsets, WindowSystem& ui)
{
    if (!WriteConfigFile(config, path, withOffsets)) {
        ui.ErrorBox(kSaveErrorCaption, SaveFailureMessage(path));
        return false;
    }
    return true;
}
