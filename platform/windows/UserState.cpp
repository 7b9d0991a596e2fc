#include "UserState.h"

#include "WideText.h"

#include <cstdlib>

// %LOCALAPPDATA%\Halvex\operations.jsonl: the user's own, not roaming.
std::string OperationsLogPath()
{
    const wchar_t* base = ::_wgetenv(L"LOCALAPPDATA");
    if (base == nullptr || *base == L'\0') {
        return {};
    }
    return Utf8FromWide(base) + "\\Halvex\\operations.jsonl";
}

std::string CurrentUserName()
{
    wchar_t name[257]{};
    DWORD length = static_cast<DWORD>(std::size(name));
    if (::GetUserNameW(name, &length)) {
        return Utf8FromWide(name);
    }
    const wchar_t* user = ::_wgetenv(L"USERNAME");
    return user != nullptr ? Utf8FromWide(user) : std::string();
}

std::string CurrentHostName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1]{};
    DWORD length = static_cast<DWORD>(std::size(name));
    return ::GetComputerNameW(name, &length) ? Utf8FromWide(name) : std::string();
}

// Windows has no by-id links: a COM port keeps its name in the registry
// whichever USB socket the adapter is in.
std::string StableDevicePath(const std::string&, const std::string&) { return {}; }
