#include "TextLines.h"

#include <algorithm>

bool TextLineReader::ReadAnyLine(std::string_view& line)
{
    if (position_ >= text_.size()) {
        return false;
    }
    // The line end is looked for only as far as one read may take, so that
    // reading a long line in pieces stays linear in its length.
    const std::size_t left = text_.size() - position_;
    const std::size_t piece = std::min(left, maxLineLength_);
    const std::size_t found = std::string_view(text_).substr(position_, piece).find('\n');
    const std::size_t end = found == std::string_view::npos ? position_ + piece : position_ + found;
    const bool endsAtLineFeed = end < text_.size() && text_[end] == '\n';
    std::size_t length = end - position_;
    if (length > 0 && endsAtLineFeed && text_[end - 1] == '\r') {
        --length;
    }
    line = std::string_view(text_).substr(position_, length);
    position_ = endsAtLineFeed ? end + 1 : end;
    if (line.empty()) {
        line = " ";
    }
    return true;
}

bool TextLineReader::ReadAnyLine(std::string& line)
{
    std::string_view view;
    if (!ReadAnyLine(view)) {
        return false;
    }
    line.assign(view);
    return true;
}

std::string_view TextLineReader::ReadLine()
{
    std::string_view line;
    while (ReadAnyLine(line)) {
        if (line.front() != ';') {
            return line;
        }
    }
    return {};
}

std::string_view GetField(std::string_view text, int n, std::string_view separator)
{
    for (int i = 0; i < n; ++i) {
        const auto at = text.find(separator);
        if (at == std::string_view::npos) {
            return {};
        }
        text.remove_prefix(at + separator.size());
    }
    const auto at = text.find(separator);
    return at == std::string_view::npos ? text : text.substr(0, at);
}
