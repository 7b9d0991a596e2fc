#pragma once

#include "ConfigTemplate.h"

#include <cstdint>
#include <string>
#include <vector>

// What a line of the main view's point list shows. The number stored with a
// line carries the kind in its high 16 bits and the index of the point within
// its list of the configuration in the low 16 bits.
enum class LineKind : std::uint32_t {
    Heading = 0,  // section banners and column headings
    AnalogInput = 1,
    DigitalInput = 2,
    AnalogOutput = 3,
    DigitalOutput = 4,
    IndirectMessage = 5,
};

std::uint32_t LineNumber(LineKind kind, int index);
LineKind KindOfLineNumber(std::uint32_t number);
int IndexOfLineNumber(std::uint32_t number);

struct PointListLine {
    std::string Text;
    std::uint32_t Number = 0;
};

// The point list of one slave with the byte counts of both Profibus areas.
struct PointListContents {
    std::vector<PointListLine> Lines;
    int InputBytes = 0;
    int OutputBytes = 0;
};

// Every banner, heading and point line of the selected slave, in five
// sections. Offsets and byte counts run over the points of all slaves in
// stored order, so a shown offset is the point's real place in its area.
// Without slaves the list is empty and both counts are 0.
PointListContents BuildPointList(const ConfigTemplate& config, int selectedSlave, bool hasNoSlaves);

// Find: the same sections with the lines of every point, of any slave, whose
// description or Ch/Cat/Dno holds the text (ignoring case); each line shows
// its slave in its slave column.
PointListContents BuildFoundPointList(const ConfigTemplate& config, const std::string& text);

// The area byte count above which the view warns.
inline constexpr int kTemplateSizeWarningLimit = 240;

// Calls visit with the configuration's list of points of the kind; false,
// without a call, for a heading.
template <typename Visit>
bool VisitPointList(ConfigTemplate& config, LineKind kind, Visit&& visit)
{
    switch (kind) {
    case LineKind::AnalogInput:
        visit(config.AnalogInputs);
        return true;
    case LineKind::DigitalInput:
        visit(config.DigitalInputs);
        return true;
    case LineKind::AnalogOutput:
        visit(config.AnalogOutputs);
        return true;
    case LineKind::DigitalOutput:
        visit(config.DigitalOutputs);
        return true;
    case LineKind::IndirectMessage:
        visit(config.IndirectMessages);
        return true;
    case LineKind::Heading:
        break;
    }
    return false;
}
