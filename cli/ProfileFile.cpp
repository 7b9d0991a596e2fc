#include "ProfileFile.h"

#include "FileAccess.h"
#include "TextCut.h"
#include "TextLines.h"
#include "WindowSystem.h"

#include <cstdlib>

std::string ProfileFilePath()
{
    std::string base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config == '/') {
        base = config;
    } else if (const char* home = std::getenv("HOME"); home != nullptr) {
        base = std::string(home) + "/.config";
    }
    return base + "/Vantrel Substation/" + kApplicationTitle + ".conf";
}

std::optional<std::string> ReadProfileFileValue(const std::string& path, const std::string& section,
                                                const std::string& key)
{
    const auto text = ReadFileBytes(path, 1 << 20);
    if (!text) {
        return std::nullopt;
    }
    TextLineReader lines(*text);
    std::string line;
    bool inSection = false;
    while (lines.ReadAnyLine(line)) {
        const std::string_view trimmed = Trim(line);
        if (StartsWith(trimmed, "[")) {
            inSection = trimmed == "[" + section + "]";
            continue;
        }
        const auto equals = trimmed.find('=');
        if (!inSection || equals == std::string_view::npos || Trim(trimmed.substr(0, equals)) != key) {
            continue;
        }
        std::string_view value = Trim(trimmed.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        return std::string(value);
    }
    return std::nullopt;
}
