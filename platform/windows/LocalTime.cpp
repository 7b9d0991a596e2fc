#include "LocalTime.h"

std::optional<std::tm> LocalTimeOf(std::time_t time)
{
    std::tm local{};
    if (localtime_s(&local, &time) != 0) {
        return std::nullopt;
    }
    return local;
}

std::optional<std::tm> UtcTimeOf(std::time_t time)
{
    std::tm utc{};
    if (gmtime_s(&utc, &time) != 0) {
        return std::nullopt;
    }
    return utc;
}
