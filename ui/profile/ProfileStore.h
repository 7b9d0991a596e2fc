#pragma once

#include <QSettings>

#include <memory>
#include <optional>
#include <string>

// The per-user profile: "Vantrel Substation" / "Halvex Configuration Tool",
// with values by section and key ("Settings"/"COMPort").
class ProfileStore {
public:
    // The user's profile file of the organisation and application.
    ProfileStore();
    // A profile in the given file (tests).
    explicit ProfileStore(const QString& fileName);

    int ReadInt(const std::string& section, const std::string& key, int defaultValue) const;
    void WriteInt(const std::string& section, const std::string& key, int value);
    std::optional<std::string> ReadString(const std::string& section, const std::string& key) const;
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void Remove(const std::string& section, const std::string& key);

private:
    std::unique_ptr<QSettings> settings_;
};

inline constexpr const char* kProfileOrganisation = "Vantrel Substation";
