#include "TextLines.h"

#include <algorithm>

bool TextLineReader::ReadAnyLine(std::string& line)
{
    if (position_ >= text_.size()) {
        return false;
    }
    const std::size_t left = text_.size() - position_;
    const std::size_t limit = position_ + std::min(left, maxLineLength_);
    std::size_t end = text_.find('\n', position_);
    if (end == std::string::npos || end > limit) {
        end = limit;
    }
    line.assign(text_, position_, end - position_);
    position_ = (end < text_.size() && text_[end] == '\n') ? end + 1 : end;
    if (!line.empty() && line.back() == '\r' && end < text_.size() && text_[end] == '\n') {
        line.pop_back();
    }
    if (line.empty()) {
        line = " ";
    }
    return true;
}

std::string TextLineReader::ReadLine()
{
    std::string line;
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
