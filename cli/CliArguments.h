#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The arguments of one halvex-cli command as the command line gave them:
// positional words, the options given with their values ("--name value" or
// "--name=value"), the flags given, and --yes.
struct CliArguments {
    std::vector<std::string> Positional;
    std::map<std::string, std::string> Options;
    std::set<std::string> Flags;
    bool Yes = false;

    std::optional<std::string> Option(const std::string& name) const;
    bool Flag(const std::string& name) const { return Flags.count(name) != 0; }
};
