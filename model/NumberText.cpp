#include "NumberText.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <system_error>

namespace {

bool IsWhite(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Skips leading white space and one sign, as the C library's conversions do;
// true for a minus.
bool SkipSpaceAndSign(std::string_view text, std::size_t& i)
{
    while (i < text.size() && IsWhite(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    return negative;
}

}  // namespace

IntScan ScanInt(std::string_view text)
{
    IntScan scan;
    std::size_t i = 0;
    const bool negative = SkipSpaceAndSign(text, i);
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    while (i < text.size() && IsDigit(text[i])) {
        scan.Found = true;
        if (magnitude < limit) {
            magnitude = magnitude * 10 + (text[i] - '0');
            if (magnitude > limit) {
                magnitude = limit;
            }
        }
        ++i;
    }
    if (!scan.Found) {
        return scan;
    }
    scan.Used = i;
    scan.Value = static_cast<int>(negative ? -magnitude : magnitude);
    return scan;
}

int ReadInt(std::string_view text) { return ScanInt(text).Value; }

double ReadReal(std::string_view text)
{
    // atof in the "C" locale: leading white space, a sign, the longest number
    // that follows, "." as the decimal point whatever the user's locale; 0
    // when no number is there, HUGE_VAL on overflow and 0 on underflow.
    std::size_t i = 0;
    const bool negative = SkipSpaceAndSign(text, i);
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    auto format = std::chars_format::general;
    if (last - first > 2 && first[0] == '0' && (first[1] == 'x' || first[1] == 'X')) {
        first += 2;
        format = std::chars_format::hex;
    }
    if (first < last && *first == '-') {
        return 0.0;  // from_chars takes a sign of its own; strtod only one
    }
    double value = 0.0;
    const auto result = std::from_chars(first, last, value, format);
    if (result.ec == std::errc::result_out_of_range) {
        // Too many digits in the exponent's direction: saturate like strtod.
        const bool tiny = std::any_of(first, result.ptr, [](char c) { return c == '-'; });
        value = tiny ? 0.0 : HUGE_VAL;
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

void AppendFixed(std::string& text, double value, int precision)
{
    char buffer[512];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    if (result.ec != std::errc()) {
        text += '0';
        return;
    }
    text.append(buffer, result.ptr);
}

void AppendInt(std::string& text, long long value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.append(buffer, result.ptr);
}

std::string FormatFixed(double value, int precision)
{
    std::string text;
    AppendFixed(text, value, precision);
    return text;
}

std::string FormatInt(long long value)
{
    std::string text;
    AppendInt(text, value);
    return text;
}

std::string PadLeft(std::string text, std::size_t width)
{
    if (text.size() < width) {
        text.insert(0, width - text.size(), ' ');
    }
    return text;
}
