#pragma once

#include "FixedList.h"
#include "PointRecords.h"

#include <array>
#include <string>

inline constexpr int kPointListCapacity = 256;
inline constexpr int kIndirectMessagesFromFile = 128;
inline constexpr int kMaxIndirectMessages = 127;
inline constexpr int kMaxSlaves = 16;

// LoadError codes left by ReadConfigFile.
enum LoadErrorCode {
    kLoadErrorNone = 0,
    kLoadErrorInvalidFile = 1,
    kLoadErrorWrongVersion = 2,
    kLoadErrorCannotOpen = 3,
};

// The whole configuration of one gateway: SPA line and Profibus settings,
// the four point lists, the indirect SPA messages and the online poll command.
struct ConfigTemplate {
    ConfigTemplate() { Reset(); }

    // Restores every setting to its default and empties the five lists.
    // TemplateName, FileVersion and the stored list entries are not touched.
    void Reset();

    int FileVersion = 1;  // reader state: 0 for a "1.02" file, 1 for "2.00"
    int GlobalEventPollPeriod = 3000;
    std::string OnlinePollDescription = "Online Command";
    std::string OnlinePollCommand = "RF";
    int LoadError = kLoadErrorNone;
    bool GlobalEventPoll = false;
    int SpaRetryCount = 2;
    bool DateSync = false;
    bool TimeSync = false;
    int ProfibusDecimalPlace = 1;
    int ProfibusDefaultAddress = 125;
    int SpaIdleTime = 10;
    int SpaReplyTimeout = 50;
    int SpaBaudRate = 9600;
    std::string TemplateName;
    std::array<int, 256> UnitTable{};

    FixedList<AnalogInputPoint, kPointListCapacity> AnalogInputs;
    FixedList<AnalogOutputPoint, kPointListCapacity> AnalogOutputs;
    FixedList<DigitalInputPoint, kPointListCapacity> DigitalInputs;
    FixedList<DigitalOutputPoint, kPointListCapacity> DigitalOutputs;
    FixedList<IndirectSpaMessage, kPointListCapacity> IndirectMessages;
};
