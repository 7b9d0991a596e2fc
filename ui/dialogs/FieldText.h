#pragma once

#include <optional>
#include <string>
#include <string_view>

// Reading and writing the numbers of the dialogs' edits, always in the "C"
// number format, whatever the user's locale.

inline constexpr const char* kEnterIntegerMessage = "Please enter an integer.";
inline constexpr const char* kEnterNumberMessage = "Please enter a number.";

// "Please enter an integer between <minimum> and <maximum>."
std::string IntegerRangeMessage(int minimum, int maximum);

// An optional sign and decimal digits, blanks around them allowed; no value
// for anything else or for a number beyond 32 bits.
std::optional<int> ParseIntegerField(std::string_view text);

// A decimal number with "." as the decimal point and an optional exponent,
// blanks around it allowed; no value for anything else or for a number
// that is not a finite single-precision value.
std::optional<float> ParseRealField(std::string_view text);

// The shortest text that reads back as exactly this value ("1", "0.1", "2.5e-07").
std::string FormatRealField(float value);
