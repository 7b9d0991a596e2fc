#pragma once

#include "ConfigTemplate.h"

#include <string>

// The five lists of a configuration, in the order of the configuration file.
enum class PointSection { AnalogInput, DigitalInput, AnalogOutput, DigitalOutput, IndirectMessage };

inline constexpr PointSection kAllPointSections[] = {PointSection::AnalogInput, PointSection::DigitalInput,
                                                     PointSection::AnalogOutput, PointSection::DigitalOutput,
                                                     PointSection::IndirectMessage};

// One point or indirect message as a user finds it again: its list, its
// position there and what the lists show of it.
struct PointReference {
    PointSection Section = PointSection::AnalogInput;
    int Index = 0;  // 0-based position in its list; shown counted from 1
    std::string Description;
    int SlaveAddress = 0;
    std::string Address;

    bool operator==(const PointReference&) const = default;
};

// The entry at `index` (0-based, within the list's count) of the section.
PointReference ReferenceTo(const ConfigTemplate& config, PointSection section, int index);

// The number of entries of the section.
int SectionCount(const ConfigTemplate& config, PointSection section);

// The section's name in the configuration file, without brackets:
// "ANALOG_INPUT" ... "INDIRECT_SPA_COMMANDS".
const char* SectionName(PointSection section);

// "Analog input", "Digital input", "Analog output", "Digital output",
// "Indirect SPA message".
const char* SectionKindName(PointSection section);

// Digital input 3 "Breaker" (slave 5, Ch/Cat/Dno "12"): the position counted
// from 1; description and address quoted, since either may hold blanks.
std::string DescribePoint(const PointReference& point);
