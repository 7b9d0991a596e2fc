#include "ProfileReader.h"

#include "FileAccess.h"

#include <charconv>

namespace {

std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// QSettings writes a key's characters outside letters, digits and a few
// signs as %XX, and '/' in a section name as '\'.
std::string DecodeKey(std::string_view key)
{
    std::string decoded;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (key[i] == '%' && i + 2 < key.size() && HexValue(key[i + 1]) >= 0 && HexValue(key[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(key[i + 1]) * 16 + HexValue(key[i + 2]));
            i += 2;
        } else if (key[i] == '\\') {
            decoded += '/';
        } else {
            decoded += key[i];
        }
    }
    return decoded;
}

// A value as QSettings writes it: bare, or in double quotes when it has
// leading or trailing blanks, commas or quotes; backslash escapes inside.
std::string DecodeValue(std::string_view value)
{
    std::string decoded;
    bool quoted = false;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            decoded += next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next == '0' ? '\0' : next;
        } else {
            decoded += c;
        }
    }
    return decoded;
}

}  // namespace

ProfileReader ProfileReader::FromIniText(std::string_view text)
{
    ProfileReader reader;
    std::string section = "General";
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[' && line.back() == ']') {
            section = DecodeKey(line.substr(1, line.size() - 2));
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        const std::string key = DecodeKey(Trim(line.substr(0, equals)));
        const std::string name = section == "General" ? key : section + "/" + key;
        reader.values_[name] = DecodeValue(Trim(line.substr(equals + 1)));
    }
    return reader;
}

ProfileReader ProfileReader::FromIniFile(const std::string& path)
{
    return FromIniText(ReadFileBytes(path).value_or(std::string()));
}

std::optional<std::string> ProfileReader::ReadString(const std::string& section, const std::string& key) const
{
    const auto found = values_.find(section + "/" + key);
    if (found == values_.end()) {
        return std::nullopt;
    }
    return found->second;
}

int ProfileReader::ReadInt(const std::string& section, const std::string& key, int defaultValue) const
{
    const auto text = ReadString(section, key);
    if (!text) {
        return defaultValue;
    }
    const std::string_view digits = Trim(*text);
    int value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return result.ec == std::errc() && result.ptr == digits.data() + digits.size() ? value : defaultValue;
}
