#pragma once

#include <optional>
#include <string>

// The user's own regional list and decimal separators where the system keeps
// them apart from the locale (Windows: GetLocaleInfoEx LOCALE_SLIST and
// LOCALE_SDECIMAL, which the user may set in the control panel); no value
// elsewhere, where the locale's decimal point is all there is.
std::optional<std::string> SystemListSeparator();
std::optional<std::string> SystemDecimalSeparator();
