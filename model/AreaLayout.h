#pragma once

#include "ConfigTemplate.h"

#include <vector>

// Data size in bytes of a point by the fixed table of its kind; 0 when the
// point lies outside the table (a Size other than 16 or 32, an unknown
// DataType letter).
int TableDataSize(const AnalogInputPoint& point);
int TableDataSize(const AnalogOutputPoint& point);
int TableDataSize(const DigitalInputPoint& point);
int TableDataSize(const DigitalOutputPoint& point);

struct PointPlacement {
    int Offset = 0;
    int DataSize = 0;
};

// Byte offset of the first point datum in the input area: the status word
// and the slave status come first.
inline constexpr int kInputAreaStart = 4;

// Where every point lies in the gateway's Profibus InputArea and OutputArea.
// Computed, never stored: inputs run from offset 4 through the analog and then
// the digital inputs; outputs from offset 0 through the analog and then the
// digital outputs. A point outside the size table gets the data size of the
// point laid out just before it in the same pass (0 for the first point).
struct AreaLayout {
    std::vector<PointPlacement> AnalogInputs;
    std::vector<PointPlacement> DigitalInputs;
    std::vector<PointPlacement> AnalogOutputs;
    std::vector<PointPlacement> DigitalOutputs;
    int InputArea = kInputAreaStart;
    int OutputArea = 0;
};

AreaLayout ComputeAreaLayout(const ConfigTemplate& config);
