#include "PointList.h"

#include "AreaLayout.h"
#include "NumberText.h"
#include "TextCut.h"

#include <algorithm>

namespace {

const char* const kAnalogInputBanner =
    "________________________[Analog_Input]________________________________________________";
const char* const kDigitalInputBanner =
    "_______________________[Digital_Input]________________________________________________";
const char* const kAnalogOutputBanner =
    "_______________________[Analog_Output]________________________________________________";
const char* const kDigitalOutputBanner =
    "_______________________[Digital_Output]_______________________________________________";
const char* const kIndirectMessageBanner =
    "___________________[Indirect_SPA_Messages]____________________________________________";

const char* const kAnalogHeading =
    "Ofs Description                  InUse Pr Sl ChCatDno   Scale  Size                   ";
const char* const kDigitalInputHeading =
    "Ofs Description                  InUse Pr Sl ChCatDno      Type B Ch  St End EvnVals  ";
const char* const kDigitalOutputHeading =
    "Ofs Description                  InUse Pr Sl ChCatDno   Type                          ";
const char* const kIndirectMessageHeading =
    "    Description                  InUse    Sl ChCatDno R/W Dat Scale                   ";

// "%3d"
std::string Int3(int value) { return PadLeft(FormatInt(value), 3); }

// "%03d" of an offset, which is never negative.
std::string Offset3(int offset)
{
    std::string digits = FormatInt(offset);
    if (digits.size() < 3) {
        digits.insert(0, 3 - digits.size(), '0');
    }
    return digits;
}

// "%3.2f"
std::string Scale3(float scale) { return PadLeft(FormatFixed(scale, 2), 3); }

std::string Flag(bool value, const char* on, const char* off) { return value ? on : off; }

// The description column: cut to 32 characters and padded to 33.
std::string DescriptionColumn(const std::string& description) { return PadTo(CutTo(description, 32), 33); }

// The column after the address: cut to n and padded to n + 1.
std::string CutAndPad(std::string text, std::size_t n) { return PadTo(CutTo(std::move(text), n), n + 1); }

std::string AnalogInputLine(const AnalogInputPoint& point)
{
    std::string line = DescriptionColumn(point.Description) + Flag(point.InUse, "1 ", "0 ") +
                       Flag(point.Priority, "P ", "N ") + Int3(point.SlaveAddress) + " " + point.Address;
    line = CutAndPad(std::move(line), 51) + Scale3(point.Scale) + " ";
    return CutAndPad(std::move(line), 57) + Int3(point.Size);
}

std::string DigitalInputLine(const DigitalInputPoint& point)
{
    std::string line = DescriptionColumn(point.Description) + Flag(point.InUse, "1 ", "0 ") +
                       Flag(point.Priority, "P ", "N ") + Int3(point.SlaveAddress) + " " + point.Address;
    line = CutAndPad(std::move(line), 57) + point.DataType + " " + Flag(point.BitSwitch, "1", "0");
    line += Int3(point.EventChannel) + " " + Int3(point.EventStart) + " " + Int3(point.EventEnd) + " [" +
            FormatInt(point.EventValues[0]) + "," + FormatInt(point.EventValues[1]) + "," +
            FormatInt(point.EventValues[2]) + "," + FormatInt(point.EventValues[3]) + "]";
    return line;
}

std::string AnalogOutputLine(const AnalogOutputPoint& point)
{
    std::string line = DescriptionColumn(point.Description) + "  " + Flag(point.Priority, "P ", "N ") +
                       Int3(point.SlaveAddress) + " " + point.Address;
    line = CutAndPad(std::move(line), 51) + Scale3(point.Scale);
    return CutAndPad(std::move(line), 57) + Int3(point.Size);
}

std::string DigitalOutputLine(const DigitalOutputPoint& point)
{
    const std::string line = DescriptionColumn(point.Description) + "  " + Flag(point.Priority, "P ", "N ") +
                             Int3(point.SlaveAddress) + " " + point.Address;
    return CutAndPad(line, 51) + point.DataType;
}

std::string IndirectMessageLine(const IndirectSpaMessage& message)
{
    std::string line = DescriptionColumn(message.Description) + Flag(message.InUse, "1 ", "0 ") + "  " +
                       Int3(message.SlaveAddress) + " " + message.Address;
    line = CutAndPad(std::move(line), 51) + Flag(message.Write, "W ", "R ") + Int3(message.StaticData);
    return CutAndPad(std::move(line), 57) + Scale3(message.Scale);
}

class ListBuilder {
public:
    explicit ListBuilder(PointListContents& contents) : contents_(contents) {}

    void Section(const char* banner, const char* heading)
    {
        Add(banner, LineKind::Heading, 0);
        Add(heading, LineKind::Heading, 0);
    }

    void Add(std::string text, LineKind kind, int index)
    {
        contents_.Lines.push_back({std::move(text), LineNumber(kind, index)});
    }

private:
    PointListContents& contents_;
};

}  // namespace

std::uint32_t LineNumber(LineKind kind, int index)
{
    return (static_cast<std::uint32_t>(kind) << 16) | (static_cast<std::uint32_t>(index) & 0xFFFFu);
}

LineKind KindOfLineNumber(std::uint32_t number) { return static_cast<LineKind>(number >> 16); }

int IndexOfLineNumber(std::uint32_t number) { return static_cast<int>(number & 0xFFFFu); }

namespace {

// Every banner and heading, and the lines of the points that `shown` takes.
template <typename Shown>
PointListContents BuildLines(const ConfigTemplate& config, bool hasNoSlaves, Shown shown)
{
    PointListContents contents;
    if (hasNoSlaves) {
        return contents;
    }
    ListBuilder list(contents);
    const AreaLayout layout = ComputeAreaLayout(config);
    // Every point of the kind counts for the offsets; the lines show the
    // selected slave's.
    const auto section = [&](const char* banner, const char* heading, const auto& points,
                             const std::vector<PointPlacement>& placements, LineKind kind, const auto& format) {
        list.Section(banner, heading);
        for (int i = 0; i < points.Count(); ++i) {
            if (shown(points[i])) {
                list.Add(Offset3(placements[static_cast<std::size_t>(i)].Offset) + " " + format(points[i]), kind, i);
            }
        }
    };
    section(kAnalogInputBanner, kAnalogHeading, config.AnalogInputs, layout.AnalogInputs, LineKind::AnalogInput,
            AnalogInputLine);
    section(kDigitalInputBanner, kDigitalInputHeading, config.DigitalInputs, layout.DigitalInputs,
            LineKind::DigitalInput, DigitalInputLine);
    section(kAnalogOutputBanner, kAnalogHeading, config.AnalogOutputs, layout.AnalogOutputs, LineKind::AnalogOutput,
            AnalogOutputLine);
    section(kDigitalOutputBanner, kDigitalOutputHeading, config.DigitalOutputs, layout.DigitalOutputs,
            LineKind::DigitalOutput, DigitalOutputLine);

    list.Section(kIndirectMessageBanner, kIndirectMessageHeading);
    for (int i = 0; i < config.IndirectMessages.Count(); ++i) {
        const IndirectSpaMessage& message = config.IndirectMessages[i];
        if (shown(message)) {
            list.Add("    " + IndirectMessageLine(message), LineKind::IndirectMessage, i);
        }
    }

    contents.InputBytes = layout.InputArea;
    contents.OutputBytes = layout.OutputArea;
    return contents;
}

char LowerCase(char letter) { return letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter; }

bool ContainsIgnoringCase(const std::string& text, const std::string& part)
{
    const auto found = std::search(text.begin(), text.end(), part.begin(), part.end(),
                                   [](char a, char b) { return LowerCase(a) == LowerCase(b); });
    return found != text.end();
}

}  // namespace

PointListContents BuildPointList(const ConfigTemplate& config, int selectedSlave, bool hasNoSlaves)
{
    return BuildLines(config, hasNoSlaves,
                      [selectedSlave](const auto& point) { return point.SlaveAddress == selectedSlave; });
}

PointListContents BuildFoundPointList(const ConfigTemplate& config, const std::string& text)
{
    return BuildLines(config, false, [&text](const auto& point) {
        return ContainsIgnoringCase(point.Description, text) || ContainsIgnoringCase(point.Address, text);
    });
}
