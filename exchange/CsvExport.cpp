#include "CsvExport.h"

#include "AreaLayout.h"
#include "FileAccess.h"
#include "LocalTime.h"
#include "NumberText.h"
#include "TextCut.h"

#include <time.h>

namespace {

constexpr const char* kAnalogColumns = "Offset;InUse;Prio;Descr;SlAddr;Ch/Cat/Dno;Scale;Size;Datasize";
constexpr const char* kDigitalInputColumns =
    "Offset;InUse;Prio;Descr;SlAddr;FCh/LCh/Cat/FDno/LDno;Datatype;Bitswitch;EvnCh;EvnS;EvnEnd;EvnVal1;EvnVal2;"
    "EvnVal3;EvnVal4;Datasize";
constexpr const char* kDigitalOutputColumns = "Offset;InUse;Prio;Descr;SlAddr;Ch/Cat/Dno;Datatype;Datasize";
constexpr const char* kIndirectColumns = "InUse;midx;Descr;SlAddr;Ch/Cat/Dno;Read/Write;StaticData;Scale";

// Lines are built with ";" between the fields; every ";" of a finished line,
// those inside user texts included, becomes the list separator.
class CsvBuilder {
public:
    CsvBuilder(std::string listSeparator, std::string decimalSeparator)
        : listSeparator_(std::move(listSeparator)), decimalSeparator_(std::move(decimalSeparator))
    {
    }

    void Line(const std::string& built = {})
    {
        text_ += ReplaceAll(built, ";", listSeparator_);
        text_ += "\r\n";
    }

    std::string Scale(float scale) const { return ReplaceAll(FormatFixed(scale), ".", decimalSeparator_); }

    std::string Take() { return std::move(text_); }

private:
    std::string listSeparator_;
    std::string decimalSeparator_;
    std::string text_;
};

std::string Field(const std::string& text) { return ";" + text; }
std::string Field(int value) { return ";" + FormatInt(value); }

// Offset, InUse and Prio in front of the fields, the data size behind them.
template <typename Point>
std::string PointLine(const Point& point, const PointPlacement& placement, const std::string& fields)
{
    return FormatInt(placement.Offset) + ";" + (point.InUse ? "1" : "0") + (point.Priority ? ";P" : ";N") + fields +
           Field(placement.DataSize);
}

template <typename AnalogPoint>
std::string AnalogFields(const CsvBuilder& out, const AnalogPoint& point)
{
    return Field(point.Description) + Field(point.SlaveAddress) + Field(point.Address) + Field(out.Scale(point.Scale)) +
           Field(point.Size);
}

std::string DigitalInputFields(const DigitalInputPoint& point)
{
    std::string fields = Field(point.Description) + Field(point.SlaveAddress) + Field(point.Address) +
                         Field(point.DataType) + Field(point.BitSwitch ? 1 : 0) + Field(point.EventChannel) +
                         Field(point.EventStart) + Field(point.EventEnd);
    for (int value : point.EventValues) {
        fields += Field(value);
    }
    return fields;
}

std::string DigitalOutputFields(const DigitalOutputPoint& point)
{
    return Field(point.Description) + Field(point.SlaveAddress) + Field(point.Address) + Field(point.DataType);
}

std::string IndirectLine(const CsvBuilder& out, const IndirectSpaMessage& message, int index)
{
    return std::string(message.InUse ? "1" : "0") + Field(index) + Field(message.Description) +
           Field(message.SlaveAddress) + Field(message.Address) + (message.Write ? ";W" : ";R") +
           Field(message.StaticData) + Field(out.Scale(message.Scale));
}

template <typename List, typename Format>
void PointSection(CsvBuilder& out, const char* title, const char* columns, const List& list,
                  const std::vector<PointPlacement>& placements, Format fields)
{
    out.Line();
    out.Line(title);
    out.Line(columns);
    for (int i = 0; i < list.Count(); ++i) {
        out.Line(PointLine(list[i], placements[static_cast<std::size_t>(i)], fields(list[i])));
    }
}

}  // namespace

std::string FormatExportTime(std::time_t time)
{
    const auto local = LocalTimeOf(time);
    if (!local) {
        return {};
    }
    return FormatTimeC("%H:%M %A %B %d %Y", *local);
}

std::string CsvText(const ConfigTemplate& config, const std::string& listSeparator,
                    const std::string& decimalSeparator, const std::string& exportTime)
{
    const AreaLayout layout = ComputeAreaLayout(config);
    CsvBuilder out(listSeparator, decimalSeparator);
    out.Line("VERSION; 2.00");
    out.Line("EXPORT_TIME;" + exportTime);
    out.Line("SPA_TEMPLATE;" + config.TemplateName);
    out.Line("SPA_BAUDRATE;" + FormatInt(config.SpaBaudRate));
    out.Line("SPA_REPLYTIMEOUT;" + FormatInt(config.SpaReplyTimeout));
    out.Line("SPA_IDLETIME;" + FormatInt(config.SpaIdleTime));
    out.Line("SPA_COM_RETRY_COUNT;" + FormatInt(config.SpaRetryCount));
    out.Line("PROFI_DFLTADDR;" + FormatInt(config.ProfibusDefaultAddress));
    out.Line("PROFI_DECIMAL_PLACE;" + FormatInt(config.ProfibusDecimalPlace));
    out.Line();
    out.Line(std::string("TIME;") + (config.TimeSync ? "YES" : "NO"));
    out.Line(std::string("DATE;") + (config.DateSync ? "YES" : "NO"));
    out.Line(std::string("GLOBAL_EVENT_POLL;") + (config.GlobalEventPoll ? "ENABLE" : "DISABLE"));
    out.Line("PERIOD;" + FormatInt(config.GlobalEventPollPeriod));
    out.Line("ONLINE_POLL_COMMAND;" + config.OnlinePollDescription + ";" + config.OnlinePollCommand);
    out.Line();
    out.Line("GENERAL STATUS");
    out.Line("Offset;Descr;Datasize");
    out.Line("0;Status word;2");
    out.Line("2;Slave status;2");

    const auto analog = [&out](const auto& point) { return AnalogFields(out, point); };
    PointSection(out, "ANALOG_INPUT", kAnalogColumns, config.AnalogInputs, layout.AnalogInputs, analog);
    PointSection(out, "DIGITAL_INPUT", kDigitalInputColumns, config.DigitalInputs, layout.DigitalInputs,
                 DigitalInputFields);
    PointSection(out, "ANALOG_OUTPUT", kAnalogColumns, config.AnalogOutputs, layout.AnalogOutputs, analog);
    PointSection(out, "DIGITAL_OUTPUT", kDigitalOutputColumns, config.DigitalOutputs, layout.DigitalOutputs,
                 DigitalOutputFields);

    out.Line();
    out.Line("INDIRECT_SPA_COMMANDS");
    out.Line(kIndirectColumns);
    for (int i = 0; i < config.IndirectMessages.Count(); ++i) {
        out.Line(IndirectLine(out, config.IndirectMessages[i], i + 1));
    }

    out.Line();
    out.Line("TEMPLATE_SIZE_IN;" + FormatInt(layout.InputArea));
    out.Line("TEMPLATE_SIZE_OUT;" + FormatInt(layout.OutputArea));
    return out.Take();
}

bool ExportCsv(const ConfigTemplate& config, const std::string& path, const std::string& listSeparator,
               const std::string& decimalSeparator, std::time_t exportTime)
{
    return ReplaceFileContents(path, CsvText(config, listSeparator, decimalSeparator, FormatExportTime(exportTime)));
}

bool ExportCsvFile(const ConfigTemplate& config, const std::string& path, const std::string& listSeparator,
                   const std::string& decimalSeparator, WindowSystem& ui)
{
    if (!ExportCsv(config, path, listSeparator, decimalSeparator)) {
        ui.ErrorBox("Error", "Error exporting file!");
        return false;
    }
    return true;
}
