#pragma once

#include <string>
#include <string_view>

// The small text cuts that the file readers are built from.

inline constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

std::string_view TrimLeft(std::string_view text);
std::string_view Trim(std::string_view text);

// The text before the first occurrence of any of the characters; the whole
// text when none occurs.
std::string_view CutBeforeAny(std::string_view text, std::string_view characters);

// The text after leading white space up to the first of the stop characters.
std::string_view LeadingWord(std::string_view text, std::string_view stops);

// The text after the first occurrence of the separator; empty when it does not
// occur.
std::string_view AfterFirst(std::string_view text, std::string_view separator);

bool Contains(std::string_view text, std::string_view part);
bool StartsWith(std::string_view text, std::string_view prefix);

// Replaces every occurrence of `from` by `to`.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Keeps the first n characters of a longer text; appends blanks to a shorter one.
std::string CutTo(std::string text, std::size_t n);
std::string PadTo(std::string text, std::size_t n);
