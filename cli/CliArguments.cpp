#include "CliArguments.h"

std::optional<std::string> CliArguments::Option(const std::string& name) const
{
    const auto found = Options.find(name);
    if (found == Options.end()) {
        return std::nullopt;
    }
    return found->second;
}
