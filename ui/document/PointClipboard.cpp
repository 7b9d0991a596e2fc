#include "PointClipboard.h"

#include "ConfigFile.h"
#include "PointCapacity.h"
#include "TextLines.h"

#include <array>
#include <string_view>
#include <vector>

namespace {

constexpr std::array<std::string_view, 5> kPointSectionNames{
    "[ANALOG_INPUT]", "[DIGITAL_INPUT]", "[ANALOG_OUTPUT]", "[DIGITAL_OUTPUT]", "[INDIRECT_SPA_COMMANDS]"};

// What the reader needs before the point sections.
constexpr const char* kFileHead = "[HEADER]\r\nIDENTIFICATION = CONFIGURATION_FILE_SPA_DPV1_V1\r\nVERSION = 2.00\r\n";

bool IsPointSection(std::string_view line)
{
    for (std::string_view name : kPointSectionNames) {
        if (StartsWith(line, name)) {
            return true;
        }
    }
    return false;
}

struct SectionText {
    std::string Head;  // the name and the comment line
    std::string Points;
};

int PointCount(const ConfigTemplate& config)
{
    return config.AnalogInputs.Count() + config.DigitalInputs.Count() + config.AnalogOutputs.Count() +
           config.DigitalOutputs.Count() + config.IndirectMessages.Count();
}

}  // namespace

std::string PointClipboardText(const ConfigTemplate& points)
{
    // The writer's own text, of which only the point sections are kept.
    TextLineReader lines(ConfigFileText(points, false), TextLineReader::kWholeLines);
    std::vector<SectionText> sections;
    bool inPoints = false;
    std::string_view line;
    while (lines.ReadAnyLine(line)) {
        if (!line.empty() && line.front() == '[') {
            inPoints = IsPointSection(line);
            if (inPoints) {
                sections.push_back({std::string(line) + "\r\n", {}});
            }
        } else if (inPoints && !line.empty() && line.front() == ';') {
            sections.back().Head += std::string(line) + "\r\n";
        } else if (inPoints && line != " ") {
            sections.back().Points += std::string(line) + "\r\n";
        }
    }
    std::string text;
    for (const SectionText& section : sections) {
        if (!section.Points.empty()) {
            text += section.Head + section.Points;
        }
    }
    return text;
}

bool HoldsPointSection(const std::string& text)
{
    for (std::string_view name : kPointSectionNames) {
        if (text.find(name) != std::string::npos) {
            return true;
        }
    }
    return false;
}

std::unique_ptr<ConfigTemplate> ReadPointClipboardText(const std::string& text, WindowSystem& ui)
{
    // Whatever stands before the first section name is no point line.
    const std::size_t firstSection = text.find('[');
    if (firstSection == std::string::npos) {
        return nullptr;
    }
    auto points = std::make_unique<ConfigTemplate>();
    if (!ReadConfigText(*points, kFileHead + text.substr(firstSection), ui)) {
        return nullptr;
    }
    return PointCount(*points) > 0 ? std::move(points) : nullptr;
}

std::unique_ptr<ConfigTemplate> PointsToCopy(const ConfigTemplate& config, int slave,
                                             const std::optional<PointPosition>& point)
{
    auto copy = std::make_unique<ConfigTemplate>();
    ForEachPointListPair(*copy, config, [&](LineKind kind, auto& target, const auto& source) {
        for (int i = 0; i < source.Count(); ++i) {
            const bool taken = point ? point->Kind == kind && point->Index == i : source[i].SlaveAddress == slave;
            if (taken) {
                target.Append(source[i]);
            }
        }
    });
    return copy;
}

void RemoveCopiedPoints(ConfigTemplate& config, int slave, const std::optional<PointPosition>& point)
{
    if (point) {
        VisitPointList(config, point->Kind, [index = point->Index](auto& list) { list.RemoveAt(index); });
        return;
    }
    auto ofSlave = [slave](const auto& entry) { return entry.SlaveAddress == slave; };
    config.AnalogInputs.RemoveIf(ofSlave);
    config.DigitalInputs.RemoveIf(ofSlave);
    config.AnalogOutputs.RemoveIf(ofSlave);
    config.DigitalOutputs.RemoveIf(ofSlave);
    config.IndirectMessages.RemoveIf(ofSlave);
}

PasteResult PastePoints(ConfigTemplate& config, const ConfigTemplate& points, int slave)
{
    PasteResult result;
    ForEachPointListPair(config, points, [&result](LineKind, const auto& target, const auto& source) {
        if (result.Refusal.empty() && source.Count() > 0 && target.Count() + source.Count() > CapacityOf(target)) {
            result.Refusal = FullNoticeOf(target);
        }
    });
    if (!result.Refusal.empty()) {
        return result;
    }
    ForEachPointListPair(config, points, [&result, slave](LineKind kind, auto& target, const auto& source) {
        for (auto point : source) {
            point.SlaveAddress = slave;
            target.Append(point);
            if (!result.First) {
                result.First = PointPosition{kind, target.Count() - 1};
            }
        }
    });
    return result;
}
