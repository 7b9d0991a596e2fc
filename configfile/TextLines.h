#pragma once

#include <string>
#include <string_view>

// Reads a text held in memory line by line, as the configuration and XRF
// readers need it: a line ends at LF, a CR before the LF is dropped, one read
// takes at most maxLineLength characters (the rest of a longer line comes with
// the next read), and an empty line reads as a single blank. A last line
// without a line end is read like any other.
class TextLineReader {
public:
    static constexpr std::size_t kMaxLineLength = 1023;
    // No limit: a line of any length is read as one line.
    static constexpr std::size_t kWholeLines = std::string::npos;

    explicit TextLineReader(std::string text, std::size_t maxLineLength = kMaxLineLength)
        : text_(std::move(text)), maxLineLength_(maxLineLength)
    {
    }

    // The next line; false at the end of the text. The view stays valid as
    // long as the reader.
    bool ReadAnyLine(std::string_view& line);
    bool ReadAnyLine(std::string& line);

    // ReadLine: the next line that does not begin with ";"; the empty text at
    // the end of the file.
    std::string_view ReadLine();

private:
    std::string text_;
    std::size_t maxLineLength_;
    std::size_t position_ = 0;
};

// Drops the text up to and including the first separator n times (empty when
// the separator runs out before), then returns the text up to the next
// separator, or the whole rest when there is none.
std::string_view GetField(std::string_view text, int n, std::string_view separator);
