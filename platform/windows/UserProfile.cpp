#include "ProfileReader.h"

#include "WideText.h"

#include <string>

namespace {

constexpr const wchar_t* kProfileKey = L"Software\\Vantrel Substation\\Halvex Configuration Tool";

// One value of a section's key as INI text: strings as they are, numbers
// (QSettings writes an int as a DWORD) in decimal.
std::optional<std::string> ValueText(HKEY section, const wchar_t* name, DWORD type)
{
    DWORD size = 0;
    if (::RegQueryValueExW(section, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (::RegQueryValueExW(section, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    switch (type) {
    case REG_DWORD:
        return std::to_string(*reinterpret_cast<const DWORD*>(buffer.data()));
    case REG_QWORD:
        return std::to_string(*reinterpret_cast<const unsigned long long*>(buffer.data()));
    case REG_SZ:
    case REG_EXPAND_SZ:
        return Utf8FromWide(buffer.c_str());
    default:
        return std::nullopt;
    }
}

// The values of one section of the profile, quoted for the INI reader.
void AppendSection(HKEY profile, const std::wstring& sectionName, std::string& ini)
{
    HKEY section = nullptr;
    if (::RegOpenKeyExW(profile, sectionName.c_str(), 0, KEY_READ, &section) != ERROR_SUCCESS) {
        return;
    }
    ini += "[" + Utf8FromWide(sectionName) + "]\n";
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(std::size(name));
        DWORD type = 0;
        if (::RegEnumValueW(section, index, name, &nameLength, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        if (const auto value = ValueText(section, name, type)) {
            std::string quoted;
            for (const char c : *value) {
                quoted += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
            }
            ini += Utf8FromWide(name) + "=\"" + quoted + "\"\n";
        }
    }
    ::RegCloseKey(section);
}

}  // namespace

// QSettings' native format on Windows: the registry, a subkey per section.
ProfileReader ProfileReader::UserProfile()
{
    HKEY profile = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kProfileKey, 0, KEY_READ, &profile) != ERROR_SUCCESS) {
        return FromIniText({});
    }
    std::string ini;
    wchar_t section[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(std::size(section));
        if (::RegEnumKeyExW(profile, index, section, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        AppendSection(profile, section, ini);
    }
    ::RegCloseKey(profile);
    return FromIniText(ini);
}
