#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// The arguments of one halvex-cli command: positional words and "--name value"
// options ("--yes" and "--help" are flags without a value).
struct CliArguments {
    std::vector<std::string> Positional;
    std::map<std::string, std::string> Options;
    bool Yes = false;
    bool Help = false;

    std::optional<std::string> Option(const std::string& name) const;
};

// Parses argv after the command word; no value (and a message in `error`)
// for an option without its value.
std::optional<CliArguments> ParseCliArguments(const std::vector<std::string>& words, std::string& error);
