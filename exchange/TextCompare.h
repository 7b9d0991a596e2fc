#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The lines of a text: a line ends at LF, a CR before it is dropped, and a
// last line without a line end counts like any other.
std::vector<std::string> SplitLines(std::string_view text);

// How two texts differ line by line, each line compared with the line of the
// same number in the other text.
struct TextDifference {
    // Line number (from 1) of the first line that differs; 0 when the texts
    // have the same lines.
    int FirstLine = 0;
    // That line in each text; no value where the text has no such line.
    std::optional<std::string> ExpectedLine;
    std::optional<std::string> ActualLine;
    // Line numbers at which the texts differ, a line that only one text has
    // counting as a difference.
    int DifferingLines = 0;

    bool Equal() const { return FirstLine == 0; }
};

TextDifference CompareTextLines(std::string_view expected, std::string_view actual);
