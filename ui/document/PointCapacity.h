#pragma once

#include "ConfigTemplate.h"
#include "PointList.h"

inline constexpr const char* kIndirectMessagesFullNotice = "There can be max 127 indirect SPA commands";

// How many points a list of the configuration may hold, and the notice when
// it holds that many.
template <typename Point>
using ConfigPointList = FixedList<Point, kPointListCapacity>;

template <typename Point>
int CapacityOf(const ConfigPointList<Point>&)
{
    return kPointListCapacity;
}
inline int CapacityOf(const ConfigPointList<IndirectSpaMessage>&) { return kMaxIndirectMessages; }

inline const char* FullNoticeOf(const ConfigPointList<AnalogInputPoint>&) { return "There can be max 256 analog inputs"; }
inline const char* FullNoticeOf(const ConfigPointList<DigitalInputPoint>&) { return "There can be max 256 digital inputs"; }
inline const char* FullNoticeOf(const ConfigPointList<AnalogOutputPoint>&) { return "There can be max 256 analog outputs"; }
inline const char* FullNoticeOf(const ConfigPointList<DigitalOutputPoint>&) { return "There can be max 256 digital outputs"; }
inline const char* FullNoticeOf(const ConfigPointList<IndirectSpaMessage>&) { return kIndirectMessagesFullNotice; }

// Calls visit(kind, ownList, otherList) for each of the five lists of two
// configurations, in the order of the configuration file.
template <typename Visit>
void ForEachPointListPair(ConfigTemplate& own, const ConfigTemplate& other, Visit&& visit)
{
    visit(LineKind::AnalogInput, own.AnalogInputs, other.AnalogInputs);
    visit(LineKind::DigitalInput, own.DigitalInputs, other.DigitalInputs);
    visit(LineKind::AnalogOutput, own.AnalogOutputs, other.AnalogOutputs);
    visit(LineKind::DigitalOutput, own.DigitalOutputs, other.DigitalOutputs);
    visit(LineKind::IndirectMessage, own.IndirectMessages, other.IndirectMessages);
}
