#include "ConfigurationCheck.h"

#include "AreaLayout.h"
#include "ConfigFile.h"
#include "DeviceImage.h"
#include "DownloadRules.h"
#include "NumberText.h"
#include "SettingRanges.h"
#include "SpaAddress.h"
#include "StorableText.h"

#include <initializer_list>
#include <map>
#include <set>
#include <utility>

namespace {

constexpr int kAreaWarningBytes = 240;

CheckFinding FindingOf(const DownloadRefusal& refusal) { return {refusal.Message, refusal.Detail, refusal.Point, {}}; }

void AddErrors(ConfigurationCheck& check, const std::vector<DownloadRefusal>& refusals)
{
    for (const DownloadRefusal& refusal : refusals) {
        check.Errors.push_back(FindingOf(refusal));
    }
}

// The placements of one point list in its area.
struct LayoutPass {
    PointSection Section;
    const std::vector<PointPlacement>& Placements;
};

// The first point whose bytes end beyond the warning limit.
std::optional<PointReference> FirstBeyondWarning(const ConfigTemplate& config, std::initializer_list<LayoutPass> passes)
{
    for (const LayoutPass& pass : passes) {
        for (std::size_t i = 0; i < pass.Placements.size(); ++i) {
            if (pass.Placements[i].Offset + pass.Placements[i].DataSize > kAreaWarningBytes) {
                return ReferenceTo(config, pass.Section, static_cast<int>(i));
            }
        }
    }
    return std::nullopt;
}

void AreaWarning(ConfigurationCheck& check, const ConfigTemplate& config, int bytes, const char* text,
                 std::initializer_list<LayoutPass> passes)
{
    if (bytes <= kAreaWarningBytes) {
        return;
    }
    const auto point = FirstBeyondWarning(config, passes);
    std::string detail = FormatInt(bytes) + " bytes laid out";
    if (point) {
        detail += "; the first point beyond 240: " + DescribePoint(*point);
    }
    check.Warnings.push_back({text, detail, point, {}});
}

void AreaWarnings(ConfigurationCheck& check, const ConfigTemplate& config)
{
    const AreaLayout layout = ComputeAreaLayout(config);
    AreaWarning(check, config, layout.InputArea, "Warning : Total template size (input) exceeds 240 bytes",
                {{PointSection::AnalogInput, layout.AnalogInputs}, {PointSection::DigitalInput, layout.DigitalInputs}});
    AreaWarning(
        check, config, layout.OutputArea, "Warning : Total template size (output) exceeds 240 bytes",
        {{PointSection::AnalogOutput, layout.AnalogOutputs}, {PointSection::DigitalOutput, layout.DigitalOutputs}});
}

// The address as the gateway reads it, so that 05I1 and 5I1 are one datum.
std::string NormalAddress(PointSection section, const std::string& address)
{
    if (section != PointSection::DigitalInput) {
        return FormatSingle(ParseSingle(address));
    }
    const auto range = ParseRange(address);
    return range ? FormatRange(*range) : address;
}

void DuplicateAddressWarnings(ConfigurationCheck& check, const ConfigTemplate& config)
{
    std::map<std::pair<int, std::string>, PointReference> seen;
    for (PointSection section : kAllPointSections) {
        if (section == PointSection::IndirectMessage) {
            continue;
        }
        for (int i = 0; i < SectionCount(config, section); ++i) {
            const PointReference point = ReferenceTo(config, section, i);
            const std::string address = NormalAddress(section, point.Address);
            const auto [first, inserted] = seen.try_emplace({point.SlaveAddress, address}, point);
            if (inserted) {
                continue;
            }
            check.Warnings.push_back(
                {"Two points of slave " + FormatInt(point.SlaveAddress) + " have the same address " + address,
                 DescribePoint(point) + " and " + DescribePoint(first->second),
                 point,
                 {}});
        }
    }
}

// The reader drops these records when their description is a single blank.
bool HasCheckedDescription(PointSection section)
{
    return section != PointSection::AnalogInput && section != PointSection::AnalogOutput;
}

// Calls visit with the index, description and line problem of every record
// of the section.
template <typename Visit>
void ForEachRecord(const ConfigTemplate& config, PointSection section, Visit&& visit)
{
    const auto each = [&](const auto& list) {
        for (int i = 0; i < list.Count(); ++i) {
            visit(i, list[i].Description, list[i].LineProblem);
        }
    };
    switch (section) {
    case PointSection::AnalogInput:
        return each(config.AnalogInputs);
    case PointSection::DigitalInput:
        return each(config.DigitalInputs);
    case PointSection::AnalogOutput:
        return each(config.AnalogOutputs);
    case PointSection::DigitalOutput:
        return each(config.DigitalOutputs);
    case PointSection::IndirectMessage:
        return each(config.IndirectMessages);
    }
}

// What a save would not write back as it is: a point whose file line the
// reader could not take as written, a text with a character at which the
// reader cuts.
void FileTextErrors(ConfigurationCheck& check, const ConfigTemplate& config)
{
    for (PointSection section : kAllPointSections) {
        ForEachRecord(config, section, [&](int index, const std::string& description, const std::string& problem) {
            const PointReference point = ReferenceTo(config, section, index);
            if (!problem.empty()) {
                check.Errors.push_back(
                    {"A point was not read as its file wrote it", DescribePoint(point) + ": " + problem, point, {}});
            } else if (const auto character = UnstorableCharacter(description, StoredText::Description)) {
                check.Errors.push_back({UnstorableCharacterMessage(*character, StoredText::Description),
                                        DescribePoint(point), point, {}});
            } else if (!DescriptionStorable(description, !HasCheckedDescription(section))) {
                check.Errors.push_back({kSingleBlankDescriptionMessage, DescribePoint(point), point, {}});
            }
        });
    }
    const std::pair<const std::string&, StoredText> texts[] = {
        {config.OnlinePollDescription, StoredText::Description},
        {config.OnlinePollCommand, StoredText::PollCommand},
    };
    for (const auto& [text, kind] : texts) {
        if (const auto character = UnstorableCharacter(text, kind)) {
            check.Errors.push_back({UnstorableCharacterMessage(*character, kind),
                                    "Online poll command \"" + config.OnlinePollDescription + "\"," +
                                        config.OnlinePollCommand,
                                    std::nullopt,
                                    {}});
        }
    }
}

std::set<int> SlavesWithPoints(const ConfigTemplate& config)
{
    std::set<int> slaves;
    const auto collect = [&](const auto& list) {
        for (const auto& point : list) {
            slaves.insert(point.SlaveAddress);
        }
    };
    collect(config.AnalogInputs);
    collect(config.DigitalInputs);
    collect(config.AnalogOutputs);
    collect(config.DigitalOutputs);
    return slaves;
}

void SlaveWarnings(ConfigurationCheck& check, const ConfigTemplate& config, const SlaveAddressTable& addedSlaves)
{
    const std::set<int> withPoints = SlavesWithPoints(config);
    std::set<int> withMessages;
    for (int i = 0; i < config.IndirectMessages.Count(); ++i) {
        const PointReference message = ReferenceTo(config, PointSection::IndirectMessage, i);
        withMessages.insert(message.SlaveAddress);
        if (withPoints.count(message.SlaveAddress) == 0) {
            check.Warnings.push_back(
                {"Indirect SPA message for slave " + FormatInt(message.SlaveAddress) + ", which has no points",
                 DescribePoint(message),
                 message,
                 {}});
        }
    }
    for (int slave : addedSlaves) {
        if (slave != -1 && withPoints.count(slave) == 0 && withMessages.count(slave) == 0) {
            check.Warnings.push_back({"Slave " + FormatInt(slave) + " has no points", "", std::nullopt, slave});
        }
    }
}

}  // namespace

ConfigurationCheck CheckConfiguration(const ConfigTemplate& config, const SlaveAddressTable& addedSlaves)
{
    ConfigurationCheck check;
    SlaveAddressTable slaves = CollectSlaveAddresses(config);
    for (int slave : addedSlaves) {
        if (slave != -1) {
            AddSlaveAddress(slaves, slave);
        }
    }
    if (const auto noSlaves = NoSlavesRefusal(slaves)) {
        check.Errors.push_back(FindingOf(*noSlaves));
    }
    for (const SettingRefusal& setting : SettingRefusals(config)) {
        check.Errors.push_back({setting.Message, setting.Detail, std::nullopt, {}});
    }
    FileTextErrors(check, config);
    AddErrors(check, LimitRefusals(config));
    const auto addresses = AddressRefusals(config);
    AddErrors(check, addresses);
    // The size of the block can only be known from an image that was built.
    if (addresses.empty()) {
        const int imageLength = DeviceImageLength(config, kFormatVersion200);
        if (imageLength > 0) {
            if (const auto tooLarge = SizeRefusal(imageLength, ConfigFileText(config, false).size())) {
                check.Errors.push_back(FindingOf(*tooLarge));
            }
        } else {
            check.Errors.push_back({kIncorrectConfigurationMessage, "", std::nullopt, {}});
        }
    }
    AreaWarnings(check, config);
    DuplicateAddressWarnings(check, config);
    SlaveWarnings(check, config, addedSlaves);
    return check;
}

std::string CheckSummary(const ConfigurationCheck& check)
{
    if (check.Errors.empty() && check.Warnings.empty()) {
        return "No errors and no warnings: the configuration can be downloaded.";
    }
    const auto counted = [](std::size_t count, const char* one, const char* many) {
        return FormatInt(static_cast<long long>(count)) + " " + (count == 1 ? one : many);
    };
    return counted(check.Errors.size(), "error", "errors") + ", " +
           counted(check.Warnings.size(), "warning", "warnings");
}
