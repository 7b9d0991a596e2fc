#pragma once

#include <array>
#include <string>

// The record types of a gateway configuration. Text fields are 8-bit text;
// addresses are SPA Ch/Cat/Dno texts (see SpaAddress.h).
//
// LineProblem: what the configuration file reader found wrong with the line
// the record was read from (a field too many, which a comma in a description
// gives, or a field that does not parse), so that the configuration check can
// name the point; empty for a sound line and for every record made otherwise.

struct AnalogInputPoint {
    int Size = 16;  // bits: 16 or 32
    float Scale = 1.0f;
    std::string Address;  // single form
    int SlaveAddress = 0;
    std::string Description;
    bool Priority = false;
    bool InUse = true;
    std::string LineProblem{};

    bool operator==(const AnalogInputPoint&) const = default;
};

struct AnalogOutputPoint {
    std::string Address;  // single form
    int Size = 16;
    float Scale = 1.0f;
    int SlaveAddress = 0;
    std::string Description;
    bool Priority = false;
    bool InUse = true;
    std::string LineProblem{};

    bool operator==(const AnalogOutputPoint&) const = default;
};

struct DigitalInputPoint {
    std::array<int, 4> EventValues{0, 0, 0, 0};
    int EventChannel = 0;
    int EventEnd = 0;
    int EventStart = 0;
    bool BitSwitch = false;
    std::string DataType;  // "S", "D", "H" or "P"
    std::string Address;   // range form FCh/LCh/Cat/FDno/LDno
    int SlaveAddress = 0;
    std::string Description;
    bool Priority = false;
    bool InUse = true;
    std::string LineProblem{};

    bool operator==(const DigitalInputPoint&) const = default;
};

struct DigitalOutputPoint {
    std::string DataType;  // "B", "S", "D" or "H"
    std::string Address;   // single form
    int SlaveAddress = 0;
    std::string Description;
    bool Priority = false;
    bool InUse = true;
    std::string LineProblem{};

    bool operator==(const DigitalOutputPoint&) const = default;
};

// An indirect SPA message has no priority and no place in the Profibus areas.
// Its message index is its position in the list counted from 1.
struct IndirectSpaMessage {
    bool InUse = true;
    std::string Description;
    int SlaveAddress = 0;
    std::string Address = "0I0";
    bool Write = false;
    int StaticData = 0;
    float Scale = 1.0f;
    std::string LineProblem{};

    bool operator==(const IndirectSpaMessage&) const = default;
};
