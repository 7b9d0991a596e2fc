#include "Environment.h"

#include "WideText.h"

#include <cstdlib>

std::optional<std::string> EnvironmentValue(const std::string& name)
{
    const wchar_t* value = ::_wgetenv(WideFromUtf8(name).c_str());
    if (value == nullptr) {
        return std::nullopt;
    }
    return Utf8FromWide(value);
}

void SetEnvironmentValue(const std::string& name, const std::string& value)
{
    ::_wputenv_s(WideFromUtf8(name).c_str(), WideFromUtf8(value).c_str());
}
