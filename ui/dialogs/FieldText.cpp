#include "FieldText.h"

#include <charconv>
#include <cmath>

namespace {

std::string_view TrimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Leaves text without a leading '+'; false when the sign is not followed by a digit or point.
bool DropPlusSign(std::string_view& text)
{
    if (text.empty() || text.front() != '+') {
        return true;
    }
    text.remove_prefix(1);
    return !text.empty() && (IsDigit(text.front()) || text.front() == '.');
}

}  // namespace

std::string IntegerRangeMessage(int minimum, int maximum)
{
    return "Please enter an integer between " + std::to_string(minimum) + " and " + std::to_string(maximum) + ".";
}

std::optional<int> ParseIntegerField(std::string_view text)
{
    text = TrimBlanks(text);
    if (!DropPlusSign(text)) {
        return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<float> ParseRealField(std::string_view text)
{
    text = TrimBlanks(text);
    if (!DropPlusSign(text)) {
        return std::nullopt;
    }
    // Only digits, a point, signs and an exponent: no "inf", "nan" or hex.
    if (text.empty() || text.find_first_not_of("0123456789.eE+-") != std::string_view::npos) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    // Everything that rounds to a finite float is one, also the shortest text
    // of the largest float, which as a double lies a little above it.
    const double firstRoundingToInfinity = std::ldexp(2.0 - std::ldexp(1.0, -24), 127);
    if (!std::isfinite(value) || std::fabs(value) >= firstRoundingToInfinity) {
        return std::nullopt;
    }
    return static_cast<float>(value);
}

std::string FormatRealField(float value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}
