#include "XrfImport.h"

#include "FileAccess.h"
#include "NumberText.h"
#include "SpaAddress.h"
#include "TextCut.h"
#include "TextLines.h"

#include <array>
#include <utility>

namespace {

enum class XrfSection { Unit, AnalogInput, AnalogOutput, DigitalInput, DigitalOutput, Unknown };

constexpr std::array<std::pair<std::string_view, XrfSection>, 5> kSections{{
    {"[SPA_UNIT]", XrfSection::Unit},
    {"[ANALOG_INPUT]", XrfSection::AnalogInput},
    {"[ANALOG_OUTPUT]", XrfSection::AnalogOutput},
    {"[DIGITAL_INPUT]", XrfSection::DigitalInput},
    {"[DIGITAL_OUTPUT]", XrfSection::DigitalOutput},
}};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text before the first occurrence of the separator (the whole text when
// it does not occur) and the text after it (empty then).
struct Split {
    std::string_view Before;
    std::string_view After;
};

Split SplitAt(std::string_view text, char separator)
{
    const auto at = text.find(separator);
    if (at == std::string_view::npos) {
        return {text, {}};
    }
    return {text.substr(0, at), text.substr(at + 1)};
}

// A field of the blank- or tab-separated part of a line: leading white space
// is skipped and the field runs to the next blank or tab. A field that no
// blank or tab follows is empty, and the text stays for the next field.
std::string_view NextBlankField(std::string_view& rest)
{
    const std::string_view text = TrimLeft(rest);
    const auto end = text.find_first_of(" \t");
    if (end == std::string_view::npos) {
        rest = text;
        return {};
    }
    rest = text.substr(end + 1);
    return Trim(text.substr(0, end));
}

std::string_view FirstWord(std::string_view text, std::string_view stops) { return Trim(LeadingWord(text, stops)); }

std::string AsciiUpper(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

// Descriptions are quoted; a quoted single blank is refused. The description
// is the text without its first and last character.
bool ReadDescription(std::string_view field, std::string& description)
{
    field = Trim(field);
    if (field.empty() || field.front() != '"' || (field.size() == 3 && field[1] == ' ')) {
        return false;
    }
    description = field.size() < 2 ? std::string() : std::string(field.substr(1, field.size() - 2));
    return true;
}

class XrfReader {
public:
    XrfReader(ConfigTemplate& config, WindowSystem& ui, std::string text)
        : config_(config), ui_(ui), lines_(std::move(text))
    {
    }

    XrfImportResult Read();

private:
    void ReadSectionLine(XrfSection section, std::string_view line);
    void ReadUnitLine(std::string_view line);
    template <typename Point, typename List>
    void ReadAnalogLine(std::string_view line, List& list);
    void ReadDigitalInputLine(std::string_view line);
    void ReadDigitalOutputLine(std::string_view line);
    bool ReadPrefixAndDescription(std::string_view line, std::string& description, std::string_view& rest) const;
    int SlaveAddressOfUnit(std::string_view unitField) const;

    ConfigTemplate& config_;
    WindowSystem& ui_;
    TextLineReader lines_;
};

XrfImportResult XrfReader::Read()
{
    std::string_view line;
    if (!lines_.ReadAnyLine(line)) {
        return XrfImportResult::Unreadable;
    }
    if (StartsWith(line, ";")) {
        const std::string name = AsciiUpper(line.substr(1));
        config_.TemplateName = name.substr(0, name.find(".XRF"));
        line = lines_.ReadLine();
    }
    bool sectionFound = false;
    ReadSections(
        lines_, line, kSections, XrfSection::Unknown,
        [&sectionFound](XrfSection) {
            sectionFound = true;
            return true;
        },
        [this](XrfSection section, std::string_view sectionLine) {
            ReadSectionLine(section, sectionLine);
            return true;
        });
    return sectionFound ? XrfImportResult::Imported : XrfImportResult::NothingFound;
}

void XrfReader::ReadSectionLine(XrfSection section, std::string_view line)
{
    switch (section) {
    case XrfSection::Unit:
        ReadUnitLine(line);
        break;
    case XrfSection::AnalogInput:
        ReadAnalogLine<AnalogInputPoint>(line, config_.AnalogInputs);
        break;
    case XrfSection::AnalogOutput:
        ReadAnalogLine<AnalogOutputPoint>(line, config_.AnalogOutputs);
        break;
    case XrfSection::DigitalInput:
        ReadDigitalInputLine(line);
        break;
    case XrfSection::DigitalOutput:
        ReadDigitalOutputLine(line);
        break;
    case XrfSection::Unknown:
        break;
    }
}

// "unit = address"
void XrfReader::ReadUnitLine(std::string_view line)
{
    if (!IsDigit(line.front()) || line.find('=') == std::string_view::npos) {
        return;
    }
    const Split parts = SplitAt(line, '=');
    const int unit = ReadInt(Trim(parts.Before));
    if (unit < 0 || unit >= static_cast<int>(config_.UnitTable.size())) {
        return;
    }
    config_.UnitTable[static_cast<std::size_t>(unit)] = ReadInt(FirstWord(parts.After, " ;\t\r\n"));
}

// A unit without a table entry (outside 0..255) gives slave address 0, like a
// unit that the file has not defined.
int XrfReader::SlaveAddressOfUnit(std::string_view unitField) const
{
    const int unit = ReadInt(Trim(unitField));
    if (unit < 0 || unit >= static_cast<int>(config_.UnitTable.size())) {
        return 0;
    }
    return config_.UnitTable[static_cast<std::size_t>(unit)];
}

// "\"description\": unit.address/scale"
template <typename Point, typename List>
void XrfReader::ReadAnalogLine(std::string_view line, List& list)
{
    if (!Contains(line, ":") || !Contains(line, ".") || !Contains(line, "/") || list.Full()) {
        return;
    }
    Point point;
    const Split description = SplitAt(line, ':');
    if (!ReadDescription(description.Before, point.Description)) {
        return;
    }
    const Split unit = SplitAt(description.After, '.');
    point.SlaveAddress = SlaveAddressOfUnit(unit.Before);
    const Split address = SplitAt(unit.After, '/');
    point.Address = std::string(Trim(address.Before));
    const std::string_view scale = FirstWord(address.After, " \t\r\n");
    point.Scale = StartsWith(scale, "$") ? 1.0f : static_cast<float>(ReadReal(scale));
    point.Size = 16;
    point.InUse = true;
    point.Priority = false;
    list.Append(point);
}

// "1." then the quoted description up to ":"; rest is what follows the ":".
bool XrfReader::ReadPrefixAndDescription(std::string_view line, std::string& description,
                                         std::string_view& rest) const
{
    const Split prefix = SplitAt(line, '.');
    if (Trim(prefix.Before) != "1") {
        return false;
    }
    const Split text = SplitAt(prefix.After, ':');
    if (!ReadDescription(text.Before, description)) {
        return false;
    }
    rest = text.After;
    return true;
}

// "1.\"description\": unit.address datatype bitswitch E<start>/<end> [v1,v2,v3,v4]"
void XrfReader::ReadDigitalInputLine(std::string_view line)
{
    if (!Contains(line, ".") || !Contains(line, ":") || !Contains(line, "/") || config_.DigitalInputs.Full()) {
        return;
    }
    DigitalInputPoint point;
    std::string_view rest;
    if (!ReadPrefixAndDescription(line, point.Description, rest)) {
        return;
    }
    const Split unit = SplitAt(rest, '.');
    point.SlaveAddress = SlaveAddressOfUnit(unit.Before);
    rest = unit.After;
    point.Address = std::string(NextBlankField(rest));
    point.DataType = std::string(NextBlankField(rest));
    point.BitSwitch = ReadInt(NextBlankField(rest)) != 0;
    const std::string_view fromEventToken = TrimLeft(rest);
    const std::string_view eventToken = NextBlankField(rest);
    if (StartsWith(eventToken, "E")) {
        const std::string_view range = eventToken.substr(1);
        point.EventStart = ReadInt(GetField(range, 0, "/"));
        point.EventEnd = ReadInt(GetField(range, 1, "/"));
    }
    std::string_view values = fromEventToken;
    if (const auto bracket = values.find('['); bracket != std::string_view::npos) {
        values = TrimLeft(values.substr(bracket + 1));
    }
    values = Trim(SplitAt(values, ']').Before);
    for (int i = 0; i < 4; ++i) {
        point.EventValues[static_cast<std::size_t>(i)] = ReadInt(GetField(values, i, ","));
    }
    point.EventChannel = 0;
    point.InUse = true;
    point.Priority = false;

    const int position = config_.DigitalInputs.Count();
    const auto range = SingleToRange(point.Address);
    if (range) {
        point.Address = range->Text;
    }
    config_.DigitalInputs.Append(point);
    if (!range) {
        ui_.Notice("Warning : Digital Input #" + FormatInt(position) + " seems to be corrupt");
    }
}

// "1.\"description\": field unit.address datatype"
void XrfReader::ReadDigitalOutputLine(std::string_view line)
{
    if (!Contains(line, ".") || !Contains(line, ":") || config_.DigitalOutputs.Full()) {
        return;
    }
    DigitalOutputPoint point;
    std::string_view rest;
    if (!ReadPrefixAndDescription(line, point.Description, rest)) {
        return;
    }
    rest = TrimLeft(rest);
    if (const auto blank = rest.find_first_of(" \t"); blank != std::string_view::npos) {
        rest.remove_prefix(blank + 1);
    }
    const Split unit = SplitAt(rest, '.');
    point.SlaveAddress = SlaveAddressOfUnit(unit.Before);
    rest = unit.After;
    point.Address = std::string(NextBlankField(rest));
    point.DataType = std::string(FirstWord(rest, " \t"));
    point.InUse = true;
    point.Priority = false;
    config_.DigitalOutputs.Append(point);
}

}  // namespace

XrfImportResult ImportXrf(ConfigTemplate& config, const std::string& path, WindowSystem& ui)
{
    auto text = ReadFileBytes(path);
    if (!text) {
        config.Reset();
        return XrfImportResult::Unreadable;
    }
    return ImportXrfText(config, std::move(*text), ui);
}

XrfImportResult ImportXrfText(ConfigTemplate& config, std::string text, WindowSystem& ui)
{
    config.Reset();
    return XrfReader(config, ui, std::move(text)).Read();
}
