#include "TextCompare.h"

#include <algorithm>

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

TextDifference CompareTextLines(std::string_view expected, std::string_view actual)
{
    const std::vector<std::string> left = SplitLines(expected);
    const std::vector<std::string> right = SplitLines(actual);
    const auto lineOf = [](const std::vector<std::string>& lines, std::size_t i) {
        return i < lines.size() ? std::optional<std::string>(lines[i]) : std::nullopt;
    };
    TextDifference difference;
    for (std::size_t i = 0; i < std::max(left.size(), right.size()); ++i) {
        const auto one = lineOf(left, i);
        const auto other = lineOf(right, i);
        if (one == other) {
            continue;
        }
        if (difference.FirstLine == 0) {
            difference.FirstLine = static_cast<int>(i) + 1;
            difference.ExpectedLine = one;
            difference.ActualLine = other;
        }
        ++difference.DifferingLines;
    }
    return difference;
}
