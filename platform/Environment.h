#pragma once

#include <optional>
#include <string>

// The process environment; no value for a variable that is not set.
std::optional<std::string> EnvironmentValue(const std::string& name);
// Sets a variable for this process and the programs it starts.
void SetEnvironmentValue(const std::string& name, const std::string& value);
