#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

// The window program's per-user profile ("Vantrel Substation" / "Halvex
// Configuration Tool"), read without Qt: values by section and key
// ("Settings"/"COMPort"), as the window program's QSettings keeps them. On
// Windows that is the registry key HKCU\Software\Vantrel Substation\Halvex
// Configuration Tool; elsewhere the INI file
// $XDG_CONFIG_HOME/Vantrel Substation/Halvex Configuration Tool.conf (else
// ~/.config/...).
class ProfileReader {
public:
    // The user's profile.
    static ProfileReader UserProfile();
    // A profile in an INI file of QSettings' format (any system).
    static ProfileReader FromIniFile(const std::string& path);
    // A profile in INI text.
    static ProfileReader FromIniText(std::string_view text);

    std::optional<std::string> ReadString(const std::string& section, const std::string& key) const;
    // A value that is a whole number; the default otherwise.
    int ReadInt(const std::string& section, const std::string& key, int defaultValue) const;

private:
    // "Section/Key" to its text.
    std::map<std::string, std::string> values_;
};
