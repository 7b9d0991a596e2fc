#include "SpaAddress.h"

#include "NumberText.h"

#include <tuple>
#include <utility>
#include <vector>

namespace {

// An address is a C text: it ends at a zero byte, whatever follows it.
std::string_view UpToZero(std::string_view text) { return text.substr(0, text.find('\0')); }

std::size_t FirstLetterAt(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsAsciiLetter(text[i])) {
            return i;
        }
    }
    return std::string_view::npos;
}

// One "%d" conversion of a scan: skips white space, needs at least one digit.
bool ScanNumber(std::string_view& rest, int& value)
{
    const IntScan scan = ScanInt(rest);
    if (!scan.Found) {
        return false;
    }
    value = scan.Value;
    rest.remove_prefix(scan.Used);
    return true;
}

bool ScanLiteral(std::string_view& rest, char literal)
{
    if (rest.empty() || rest.front() != literal) {
        return false;
    }
    rest.remove_prefix(1);
    return true;
}

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

// The values of the digit runs of the text, in order; each saturates.
std::vector<int> DigitRuns(std::string_view text)
{
    std::vector<int> values;
    std::size_t i = 0;
    while (i < text.size()) {
        if (!IsDecimalDigit(text[i])) {
            ++i;
            continue;
        }
        const IntScan scan = ScanInt(text.substr(i));
        values.push_back(scan.Value);
        i += scan.Used;
    }
    return values;
}

// The first value and the last one of a range: the second run, else the first.
std::pair<int, int> FirstAndLast(const std::vector<int>& runs)
{
    const int first = runs.empty() ? 0 : runs[0];
    return {first, runs.size() > 1 ? runs[1] : first};
}

}  // namespace

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string FormatSingle(int channel, char category, int dataNumber)
{
    std::string text = FormatInt(channel);
    if (category != '\0') {
        text += category;
    }
    text += FormatInt(dataNumber);
    return text;
}

std::string FormatSingle(const SpaAddress& address)
{
    return FormatSingle(address.Channel, address.Category, address.DataNumber);
}

SpaAddress ParseSingle(std::string_view text)
{
    text = UpToZero(text);
    SpaAddress address;
    const std::size_t letter = FirstLetterAt(text);
    if (letter == std::string_view::npos) {
        address.Channel = 0;
        address.Category = 'A';
        address.DataNumber = ReadInt(text);
        return address;
    }
    address.Channel = ReadInt(text.substr(0, letter));
    address.Category = text[letter];
    address.DataNumber = ReadInt(text.substr(letter + 1));
    return address;
}

std::string FormatRange(int firstChannel, int lastChannel, char category, int firstDataNumber, int lastDataNumber)
{
    std::string text = FormatInt(firstChannel) + "/" + FormatInt(lastChannel);
    if (category != '\0') {
        text += category;
    }
    text += FormatInt(firstDataNumber) + "/" + FormatInt(lastDataNumber);
    return text;
}

std::string FormatRange(const SpaAddressRange& range)
{
    return FormatRange(range.FirstChannel, range.LastChannel, range.Category, range.FirstDataNumber,
                       range.LastDataNumber);
}

std::optional<SpaAddressRange> ParseRange(std::string_view text)
{
    SpaAddressRange range;
    std::string_view rest = UpToZero(text);
    if (!ScanNumber(rest, range.FirstChannel) || !ScanLiteral(rest, '/') || !ScanNumber(rest, range.LastChannel)) {
        return std::nullopt;
    }
    if (rest.empty()) {
        return std::nullopt;
    }
    range.Category = rest.front();
    rest.remove_prefix(1);
    if (!ScanNumber(rest, range.FirstDataNumber) || !ScanLiteral(rest, '/') ||
        !ScanNumber(rest, range.LastDataNumber)) {
        return std::nullopt;
    }
    return range;
}

std::optional<SpaRangeConversion> SingleToRange(std::string_view text)
{
    text = UpToZero(text);
    if (FirstLetterAt(text) == std::string_view::npos) {
        return std::nullopt;
    }
    const SpaAddress single = ParseSingle(text);
    return SpaRangeConversion{
        FormatRange(single.Channel, single.Channel, single.Category, single.DataNumber, single.DataNumber),
        single.Channel};
}

SpaAddressRange SalvageRange(std::string_view text)
{
    const std::size_t letter = FirstLetterAt(text);
    const bool hasLetter = letter != std::string_view::npos;
    SpaAddressRange range;
    range.Category = hasLetter ? text[letter] : '\0';
    std::tie(range.FirstChannel, range.LastChannel) = FirstAndLast(DigitRuns(hasLetter ? text.substr(0, letter) : ""));
    std::tie(range.FirstDataNumber, range.LastDataNumber) =
        FirstAndLast(DigitRuns(hasLetter ? text.substr(letter + 1) : text));
    return range;
}
