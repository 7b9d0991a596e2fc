#pragma once

#include <ctime>
#include <optional>
#include <string>

// The calendar time in the user's time zone; no value when the system cannot
// convert it.
std::optional<std::tm> LocalTimeOf(std::time_t time);
// The same in UTC.
std::optional<std::tm> UtcTimeOf(std::time_t time);

// The time formatted by strftime's conversions in the "C" locale (English
// day and month names), whatever the process locale is.
std::string FormatTimeC(const char* format, const std::tm& time);
