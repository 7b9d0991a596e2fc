#include "RegionalSettings.h"

std::optional<std::string> SystemListSeparator() { return std::nullopt; }

std::optional<std::string> SystemDecimalSeparator() { return std::nullopt; }
