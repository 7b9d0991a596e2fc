#pragma once

#include <optional>
#include <string>
#include <string_view>

// The SPA "Ch/Cat/Dno" notation of a point address.
//
// Single form: channel, category letter, data number with nothing between
// them ("%d%s%d", e.g. 0I0 or 1O12). Range form, used by digital inputs:
// "%d/%d%s%d/%d", first and last channel, category, first and last data
// number (e.g. 1/8E10/17).

struct SpaAddress {
    int Channel = 0;
    char Category = 'A';
    int DataNumber = 0;
};

struct SpaAddressRange {
    int FirstChannel = 0;
    int LastChannel = 0;
    char Category = 'A';
    int FirstDataNumber = 0;
    int LastDataNumber = 0;
};

// What SingleToRange gives: the range text and the channel.
struct SpaRangeConversion {
    std::string Text;
    int Channel = 0;
};

bool IsAsciiLetter(char c);

std::string FormatSingle(int channel, char category, int dataNumber);
std::string FormatSingle(const SpaAddress& address);

// Never fails: the first ASCII letter is the category, the numbers before and
// after it are channel and data number. Without a letter: channel 0,
// category 'A', data number read from the whole text.
SpaAddress ParseSingle(std::string_view text);

std::string FormatRange(int firstChannel, int lastChannel, char category, int firstDataNumber, int lastDataNumber);
std::string FormatRange(const SpaAddressRange& range);

// Scans "%d/%d%c%d/%d": the character right after the second number is the
// category, whatever it is. Fails unless all five items are read.
std::optional<SpaAddressRange> ParseRange(std::string_view text);

// A single address as a range of one datum (ch/ch<cat>dn/dn) with its channel;
// fails when the text holds no letter.
std::optional<SpaRangeConversion> SingleToRange(std::string_view text);

// What can be read of a digital input address that is no range, so that the
// user can repair it: the first ASCII letter is the category ('\0' when there
// is none); the digit runs before it are the first and last channel, those
// after it the first and last data number (all of them when there is no
// letter). A missing last value is the first one; a missing first value is 0.
SpaAddressRange SalvageRange(std::string_view text);
