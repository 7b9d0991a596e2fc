#include "LocalTime.h"

std::optional<std::tm> LocalTimeOf(std::time_t time)
{
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) {
        return std::nullopt;
    }
    return local;
}

std::optional<std::tm> UtcTimeOf(std::time_t time)
{
    std::tm utc{};
    if (gmtime_r(&time, &utc) == nullptr) {
        return std::nullopt;
    }
    return utc;
}
