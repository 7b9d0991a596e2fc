#include "ConfigFile.h"
#include "FileAccess.h"
#include "NumberText.h"
#include "SpaAddress.h"
#include "TextCut.h"
#include "TextLines.h"

#include <array>
#include <optional>
#include <vector>

namespace {

constexpr std::string_view kIdentification = "CONFIGURATION_FILE_SPA_DPV1_V1";

enum class Section {
    Header,
    Configuration,
    AnalogInput,
    AnalogOutput,
    DigitalInput,
    DigitalOutput,
    Time,
    Date,
    GlobalEventPoll,
    IndirectCommands,
    OnlinePollCommand,
    Unknown,
};

constexpr std::array<std::pair<std::string_view, Section>, 11> kSections{{
    {"[HEADER]", Section::Header},
    {"[CONFIGURATION]", Section::Configuration},
    {"[ANALOG_INPUT]", Section::AnalogInput},
    {"[ANALOG_OUTPUT]", Section::AnalogOutput},
    {"[DIGITAL_INPUT]", Section::DigitalInput},
    {"[DIGITAL_OUTPUT]", Section::DigitalOutput},
    {"[TIME]", Section::Time},
    {"[DATE]", Section::Date},
    {"[GLOBAL_EVENT_POLL]", Section::GlobalEventPoll},
    {"[INDIRECT_SPA_COMMANDS]", Section::IndirectCommands},
    {"[ONLINE_POLL_COMMAND]", Section::OnlinePollCommand},
}};

// The value of a key line: the text after the first "=" up to a second "=",
// without leading white space.
std::string_view KeyValue(std::string_view line) { return TrimLeft(GetField(line, 1, "=")); }

// A number or template value is cut before the first blank, tab, LF or ";".
std::string_view KeyWord(std::string_view line) { return CutBeforeAny(KeyValue(line), " \t\n;"); }

int KeyNumber(std::string_view line) { return ReadInt(KeyWord(line)); }

// Takes a record line apart from left to right: each field is the text before
// the next ",", trimmed at both ends; when no comma is left the field is empty
// and the rest stays as it is.
class RecordFields {
public:
    explicit RecordFields(std::string_view line) : rest_(line) {}

    std::string_view Next()
    {
        const auto comma = rest_.find(',');
        if (comma == std::string_view::npos) {
            return {};
        }
        const std::string_view field = rest_.substr(0, comma);
        rest_.remove_prefix(comma + 1);
        return Trim(field);
    }

    std::string_view Rest() const { return rest_; }

private:
    std::string_view rest_;
};

bool IsRecordLine(std::string_view line) { return Contains(line, ",") && Contains(line, "\""); }

// The comma-separated fields of a record line, in the writer's order: each
// section has its own count (the event values of a digital input are four
// of them); the description is the third field, the slave address the fourth.
constexpr int kAnalogFields = 7;
constexpr int kDigitalInputFields = 14;
constexpr int kOldDigitalInputFields = 13;  // 1.02: no event channel
constexpr int kDigitalOutputFields = 6;
constexpr int kIndirectFields = 8;
constexpr int kDescriptionField = 2;
constexpr int kSlaveAddressField = 3;

// What keeps a record line from being read as the writer wrote it: more or
// fewer fields than its section has (a comma in a description adds one), a
// description that does not end in its quote, a slave address that is no
// number. Empty for a sound line.
std::string RecordLineProblem(std::string_view line, int sectionFields)
{
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const auto comma = line.find(',', start);
        fields.push_back(Trim(line.substr(start, comma == std::string_view::npos ? line.npos : comma - start)));
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    if (static_cast<int>(fields.size()) != sectionFields) {
        return "its line in the file has " + FormatInt(static_cast<long long>(fields.size())) +
               " comma-separated fields where the section has " + FormatInt(sectionFields) +
               " (a comma in a description cuts it)";
    }
    const std::string_view description = fields[kDescriptionField];
    if (description.size() < 2 || description.front() != '"' || description.back() != '"') {
        return "its description in the file is not a quoted text";
    }
    const IntScan slave = ScanInt(fields[kSlaveAddressField]);
    if (!slave.Found || slave.Used != fields[kSlaveAddressField].size()) {
        return "its slave address in the file is not a number";
    }
    return {};
}

bool InUseField(std::string_view field)
{
    const IntScan scan = ScanInt(field);
    return scan.Found && scan.Value == 1;
}

bool PriorityField(std::string_view field) { return field == "P"; }

// The field without its first and its last character.
std::string Unquoted(std::string_view field)
{
    if (field.size() < 2) {
        return {};
    }
    return std::string(field.substr(1, field.size() - 2));
}

// Descriptions of digital points, indirect messages and the online poll
// command must be quoted and must not be a single blank.
bool DescriptionAccepted(std::string_view field)
{
    if (field.empty() || field.front() != '"') {
        return false;
    }
    return !(field.size() == 3 && field[1] == ' ');
}

// A line beginning with the on word sets the flag, one beginning with the off
// word clears it; false for any other line.
bool ReadFlagLine(std::string_view line, std::string_view on, std::string_view off, bool& flag)
{
    if (StartsWith(line, on)) {
        flag = true;
    } else if (StartsWith(line, off)) {
        flag = false;
    } else {
        return false;
    }
    return true;
}

// The fields that digital inputs and outputs begin with: InUse, Prio, the
// checked description, slave address and address. False when the line is to
// be dropped for its description.
template <typename DigitalPoint>
bool ReadDigitalPointHead(RecordFields& fields, DigitalPoint& point)
{
    point.InUse = InUseField(fields.Next());
    point.Priority = PriorityField(fields.Next());
    const std::string_view description = fields.Next();
    if (!DescriptionAccepted(description)) {
        return false;
    }
    point.Description = Unquoted(description);
    point.SlaveAddress = ReadInt(fields.Next());
    point.Address = std::string(fields.Next());
    return true;
}

// The rest of a line, leading white space removed, cut before any of `stops`.

// An optional minus sign and at least one digit at the start of the text; the
// rest after them.
bool SkipInteger(std::string_view& text)
{
    std::size_t i = !text.empty() && text.front() == '-' ? 1 : 0;
    const std::size_t digits = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
    }
    if (i == digits) {
        return false;
    }
    text.remove_prefix(i);
    return true;
}

// The writer ends a digital output line with a tab and the data type, and
// with offsets then a tab before each of the two offset columns. An empty data
// type so leaves two tabs in a row before the offset: exactly that form is a
// line without a data type, whose offset must not be taken for one.
bool IsEmptyTypeBeforeOffsets(std::string_view rest)
{
    if (!StartsWith(rest, "\t\t")) {
        return false;
    }
    rest.remove_prefix(2);
    if (!SkipInteger(rest) || !StartsWith(rest, "\t")) {
        return false;
    }
    rest.remove_prefix(1);
    return SkipInteger(rest) && Trim(rest).empty();
}

std::string_view DigitalOutputType(std::string_view rest)
{
    return IsEmptyTypeBeforeOffsets(rest) ? std::string_view{} : LeadingWord(rest, " \r\n\t;");
}

class ConfigReader {
public:
    // Lines are read whole, however long: the writer does not cut a long
    // description, so the reader must not either.
    ConfigReader(ConfigTemplate& config, WindowSystem& ui, std::string text)
        : config_(config), ui_(ui), lines_(std::move(text), TextLineReader::kWholeLines)
    {
    }

    bool Read();

private:
    bool Enter(Section section);
    bool ReadHeaderLine(std::string_view line);
    void ReadConfigurationLine(std::string_view line);
    void ReadSectionLine(Section section, std::string_view line);
    template <typename AnalogPoint, typename List>
    void ReadAnalogLine(std::string_view line, List& list);
    void ReadDigitalInputLine(std::string_view line);
    void ReadDigitalOutputLine(std::string_view line);
    void ReadIndirectLine(std::string_view line);
    void ReadOnlinePollLine(std::string_view line);
    bool Fail(int code)
    {
        config_.LoadError = code;
        return false;
    }

    ConfigTemplate& config_;
    WindowSystem& ui_;
    TextLineReader lines_;
    bool headerSeen_ = false;
    bool identificationValid_ = false;
    bool versionValid_ = false;
    bool converted_ = false;
};

bool ConfigReader::Read()
{
    const bool read = ReadSections(
        lines_, lines_.ReadLine(), kSections, Section::Unknown, [this](Section section) { return Enter(section); },
        [this](Section section, std::string_view line) {
            if (section == Section::Header) {
                return ReadHeaderLine(line);
            }
            ReadSectionLine(section, line);
            return true;
        });
    if (!read) {
        return false;
    }
    if (converted_ && versionValid_) {
        ui_.InfoBox("Template updated", "Template was adapted to new format, event channel was added.");
    }
    return versionValid_;
}

// Every section after the header needs a valid header before it.
bool ConfigReader::Enter(Section section)
{
    if (section == Section::Header) {
        headerSeen_ = true;
        return true;
    }
    return headerSeen_ && identificationValid_ && versionValid_ ? true : Fail(kLoadErrorInvalidFile);
}

bool ConfigReader::ReadHeaderLine(std::string_view line)
{
    const std::string_view value = KeyValue(line);
    if (Contains(line, "IDENTIFICATION")) {
        if (!StartsWith(value, kIdentification)) {
            return Fail(kLoadErrorInvalidFile);
        }
        identificationValid_ = true;
    }
    if (Contains(line, "VERSION")) {
        if (StartsWith(value, "1.02")) {
            config_.FileVersion = 0;
        } else if (StartsWith(value, "2.00")) {
            config_.FileVersion = 1;
        } else {
            return Fail(kLoadErrorWrongVersion);
        }
        versionValid_ = true;
    }
    return true;
}

void ConfigReader::ReadConfigurationLine(std::string_view line)
{
    if (Contains(line, "SPA_TEMPLATE")) {
        config_.TemplateName = std::string(KeyWord(line));
    } else if (Contains(line, "SPA_BAUDRATE")) {
        config_.SpaBaudRate = KeyNumber(line);
    } else if (Contains(line, "SPA_REPLYTIMEOUT")) {
        config_.SpaReplyTimeout = KeyNumber(line);
    } else if (Contains(line, "SPA_IDLETIME")) {
        config_.SpaIdleTime = KeyNumber(line);
    } else if (Contains(line, "SPA_COM_RETRY_COUNT")) {
        config_.SpaRetryCount = KeyNumber(line);
    } else if (Contains(line, "PROFI_DFLTADDR")) {
        config_.ProfibusDefaultAddress = KeyNumber(line);
    } else if (Contains(line, "PROFI_DECIMAL_PLACE")) {
        config_.ProfibusDecimalPlace = KeyNumber(line);
    }
}

void ConfigReader::ReadSectionLine(Section section, std::string_view line)
{
    switch (section) {
    case Section::Configuration:
        ReadConfigurationLine(line);
        break;
    case Section::AnalogInput:
        ReadAnalogLine<AnalogInputPoint>(line, config_.AnalogInputs);
        break;
    case Section::AnalogOutput:
        ReadAnalogLine<AnalogOutputPoint>(line, config_.AnalogOutputs);
        break;
    case Section::DigitalInput:
        ReadDigitalInputLine(line);
        break;
    case Section::DigitalOutput:
        ReadDigitalOutputLine(line);
        break;
    case Section::Time:
        ReadFlagLine(line, "YES", "NO", config_.TimeSync);
        break;
    case Section::Date:
        ReadFlagLine(line, "YES", "NO", config_.DateSync);
        break;
    case Section::GlobalEventPoll:
        if (!ReadFlagLine(line, "ENABLE", "DISABLE", config_.GlobalEventPoll) && Contains(line, "PERIOD")) {
            config_.GlobalEventPollPeriod = KeyNumber(line);
        }
        break;
    case Section::IndirectCommands:
        ReadIndirectLine(line);
        break;
    case Section::OnlinePollCommand:
        ReadOnlinePollLine(line);
        break;
    case Section::Header:
    case Section::Unknown:
        break;
    }
}

template <typename AnalogPoint, typename List>
void ConfigReader::ReadAnalogLine(std::string_view line, List& list)
{
    if (!IsRecordLine(line) || list.Full()) {
        return;
    }
    RecordFields fields(line);
    AnalogPoint point;
    point.InUse = InUseField(fields.Next());
    point.Priority = PriorityField(fields.Next());
    point.Description = Unquoted(fields.Next());
    point.SlaveAddress = ReadInt(fields.Next());
    point.Address = std::string(fields.Next());
    point.Scale = static_cast<float>(ReadReal(fields.Next()));
    point.Size = ReadInt(LeadingWord(fields.Rest(), " \t\r\n;"));
    point.LineProblem = RecordLineProblem(line, kAnalogFields);
    list.Append(point);
}

void ConfigReader::ReadDigitalInputLine(std::string_view line)
{
    if (!IsRecordLine(line)) {
        return;
    }
    const bool oldFormat = config_.FileVersion == 0;
    if (oldFormat) {
        converted_ = true;
    }
    if (config_.DigitalInputs.Full()) {
        return;
    }
    RecordFields fields(line);
    DigitalInputPoint point;
    if (!ReadDigitalPointHead(fields, point)) {
        return;
    }
    point.DataType = std::string(fields.Next());
    point.BitSwitch = ReadInt(fields.Next()) != 0;
    if (!oldFormat) {
        point.EventChannel = ReadInt(fields.Next());
    }
    point.EventStart = ReadInt(fields.Next());
    point.EventEnd = ReadInt(fields.Next());

    std::string_view values = fields.Rest();
    const auto stop = values.find_first_of(" \t\r\n;");
    if (stop != std::string_view::npos) {
        values.remove_prefix(stop + 1);
    }
    values = Trim(values);
    for (int i = 0; i < 4; ++i) {
        point.EventValues[static_cast<std::size_t>(i)] = ReadInt(GetField(values, i, ","));
    }

    point.LineProblem = RecordLineProblem(line, oldFormat ? kOldDigitalInputFields : kDigitalInputFields);
    if (oldFormat) {
        const int position = config_.DigitalInputs.Count();
        if (const auto range = SingleToRange(point.Address)) {
            point.Address = range->Text;
            point.EventChannel = range->Channel;
        } else {
            point.EventChannel = 0;
            ui_.Notice("Warning : Digital Input #" + FormatInt(position) + " seems to be corrupt");
        }
    }
    config_.DigitalInputs.Append(point);
}

void ConfigReader::ReadDigitalOutputLine(std::string_view line)
{
    if (!IsRecordLine(line) || config_.DigitalOutputs.Full()) {
        return;
    }
    RecordFields fields(line);
    DigitalOutputPoint point;
    if (!ReadDigitalPointHead(fields, point)) {
        return;
    }
    point.DataType = std::string(DigitalOutputType(fields.Rest()));
    point.LineProblem = RecordLineProblem(line, kDigitalOutputFields);
    config_.DigitalOutputs.Append(point);
}

void ConfigReader::ReadIndirectLine(std::string_view line)
{
    if (!IsRecordLine(line) || config_.IndirectMessages.Count() >= kIndirectMessagesFromFile) {
        return;
    }
    RecordFields fields(line);
    IndirectSpaMessage message;
    message.InUse = InUseField(fields.Next());
    fields.Next();  // the message index follows from the position
    const std::string_view description = fields.Next();
    if (!DescriptionAccepted(description)) {
        return;
    }
    message.Description = Unquoted(description);
    message.SlaveAddress = ReadInt(fields.Next());
    message.Address = std::string(fields.Next());
    message.Write = Contains(fields.Next(), "W");
    message.StaticData = ReadInt(fields.Next());
    message.Scale = static_cast<float>(ReadReal(LeadingWord(fields.Rest(), ", \t\n\r;")));
    message.LineProblem = RecordLineProblem(line, kIndirectFields);
    config_.IndirectMessages.Append(message);
}

void ConfigReader::ReadOnlinePollLine(std::string_view line)
{
    if (!IsRecordLine(line)) {
        return;
    }
    RecordFields fields(line);
    const std::string_view description = fields.Next();
    if (!DescriptionAccepted(description)) {
        return;
    }
    config_.OnlinePollDescription = Unquoted(description);
    config_.OnlinePollCommand = std::string(LeadingWord(fields.Rest(), ", \t\n\r;"));
}

}  // namespace

bool ReadConfigText(ConfigTemplate& config, std::string text, WindowSystem& ui)
{
    config.Reset();
    config.LoadError = kLoadErrorWrongVersion;
    ConfigReader reader(config, ui, std::move(text));
    return reader.Read();
}

bool ReadConfigFile(ConfigTemplate& config, const std::string& path, WindowSystem& ui)
{
    std::optional<std::string> text = ReadFileBytes(path);
    if (!text) {
        config.Reset();
        config.LoadError = kLoadErrorCannotOpen;
        return false;
    }
    return ReadConfigText(config, std::move(*text), ui);
}

std::string LoadErrorMessage(int loadError)
{
    switch (loadError) {
    case kLoadErrorInvalidFile:
    case kLoadErrorCannotOpen:
        return "Error loading configuration file!";
    case kLoadErrorWrongVersion:
        return "Wrong configuration file version!";
    default:
        return {};
    }
}
