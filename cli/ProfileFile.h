#pragma once

#include <optional>
#include <string>

// The window program keeps its per-user settings in an INI file
// (~/.config/Vantrel Substation/Halvex Configuration Tool.conf, below
// $XDG_CONFIG_HOME when that is set). halvex-cli reads the same file, so that
// COM1 names the same device in both programs.
std::string ProfileFilePath();

// The value of key in [section]; surrounding double quotes are removed. No
// value when the file, the section or the key is missing.
std::optional<std::string> ReadProfileFileValue(const std::string& path, const std::string& section,
                                                const std::string& key);
