#include "TextCut.h"

std::string_view TrimLeft(std::string_view text)
{
    const auto first = text.find_first_not_of(kWhiteSpace);
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

std::string_view Trim(std::string_view text)
{
    text = TrimLeft(text);
    const auto last = text.find_last_not_of(kWhiteSpace);
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

std::string_view CutBeforeAny(std::string_view text, std::string_view characters)
{
    const auto at = text.find_first_of(characters);
    return at == std::string_view::npos ? text : text.substr(0, at);
}

std::string_view AfterFirst(std::string_view text, std::string_view separator)
{
    const auto at = text.find(separator);
    return at == std::string_view::npos ? std::string_view{} : text.substr(at + separator.size());
}

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to)
{
    std::string result;
    if (from.empty()) {
        return std::string(text);
    }
    std::size_t start = 0;
    for (auto at = text.find(from); at != std::string_view::npos; at = text.find(from, start)) {
        result.append(text.substr(start, at - start));
        result.append(to);
        start = at + from.size();
    }
    result.append(text.substr(start));
    return result;
}

std::string CutTo(std::string text, std::size_t n)
{
    if (text.size() > n) {
        text.resize(n);
    }
    return text;
}

std::string PadTo(std::string text, std::size_t n)
{
    if (text.size() < n) {
        text.append(n - text.size(), ' ');
    }
    return text;
}

std::string_view LeadingWord(std::string_view text, std::string_view stops) { return CutBeforeAny(TrimLeft(text), stops); }
