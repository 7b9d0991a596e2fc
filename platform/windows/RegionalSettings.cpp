#include "RegionalSettings.h"

#include "WideText.h"

namespace {

std::optional<std::string> UserLocaleText(LCTYPE item)
{
    wchar_t text[16]{};
    const int length = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, text, static_cast<int>(std::size(text)));
    if (length <= 1) {
        return std::nullopt;
    }
    return Utf8FromWide(text);
}

}  // namespace

std::optional<std::string> SystemListSeparator() { return UserLocaleText(LOCALE_SLIST); }

std::optional<std::string> SystemDecimalSeparator() { return UserLocaleText(LOCALE_SDECIMAL); }
