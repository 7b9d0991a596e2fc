#pragma once

#include <string>
#include <string_view>

// Number reading and writing that never depends on the process locale: files
// and device data always use the "C" number format.

// Reads a decimal integer like atoi: leading white space, one optional sign,
// digits up to the first non-digit; 0 without digits. Values beyond 32 bits
// saturate at INT_MIN / INT_MAX.
int ReadInt(std::string_view text);

// Like ReadInt, but reports whether any digit was read and how many characters
// were used (white space and sign included).
struct IntScan {
    bool Found = false;
    int Value = 0;
    std::size_t Used = 0;
};
IntScan ScanInt(std::string_view text);

// Reads the decimal number at the start of the text like atof with "." as the
// decimal point: leading white space, sign, digits, fraction, exponent; 0 when
// the text does not start with a number.
double ReadReal(std::string_view text);

// "%f" with the given precision, always with "." as the decimal point.
std::string FormatFixed(double value, int precision = 6);

// "%d".
std::string FormatInt(long long value);

// The same, appended to a text being built.
void AppendFixed(std::string& text, double value, int precision = 6);
void AppendInt(std::string& text, long long value);

// Pads on the left to the given width, like "%3d" does.
std::string PadLeft(std::string text, std::size_t width);
