#pragma once

#include "TextCut.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>

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

// The section that a "[NAME]" line opens, by the start of the line; unknown
// when the table does not name it.
template <typename Section, std::size_t N>
Section SectionNamed(const std::array<std::pair<std::string_view, Section>, N>& sections, std::string_view line,
                     Section unknown)
{
    for (const auto& [name, section] : sections) {
        if (StartsWith(line, name)) {
            return section;
        }
    }
    return unknown;
}

// Reads a text of sections, as the configuration and XRF files are built: a
// "[NAME]" line and the lines up to the next one. `line` is the first line
// not yet read. Lines before the first section and the lines of a section the
// table does not name are passed over. For each known section, enter(section)
// is called, then take(section, line) for each of its lines; either stops the
// reading with false. True when the text has ended.
template <typename Section, std::size_t N, typename Enter, typename Take>
bool ReadSections(TextLineReader& lines, std::string_view line,
                  const std::array<std::pair<std::string_view, Section>, N>& sections, Section unknown, Enter&& enter,
                  Take&& take)
{
    for (;;) {
        while (!line.empty() && line.front() != '[') {
            line = lines.ReadLine();
        }
        if (line.empty()) {
            return true;
        }
        const Section section = SectionNamed(sections, line, unknown);
        line = lines.ReadLine();
        if (section == unknown) {
            continue;
        }
        if (!enter(section)) {
            return false;
        }
        while (!line.empty() && line.front() != '[') {
            if (!take(section, line)) {
                return false;
            }
            line = lines.ReadLine();
        }
    }
}
