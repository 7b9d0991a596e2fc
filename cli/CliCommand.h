#pragma once

#include "CliArguments.h"
#include "TerminalWindowSystem.h"

#include <iosfwd>
#include <string>
#include <vector>

enum CliExitStatus {
    kExitSuccess = 0,
    kExitFailure = 1,
    kExitUsage = 2,
};

struct CliContext {
    const CliArguments& Arguments;
    TerminalWindowSystem& Ui;
    std::ostream& Out;
    std::ostream& Err;
};

struct CliCommand {
    std::string Name;
    std::string Synopsis;  // the arguments, as shown by --help
    std::size_t PositionalCount;
    int (*Run)(CliContext& context);
};

// The command groups; each lives in its own file.
std::vector<CliCommand> FileCommands();
std::vector<CliCommand> DeviceCommands();
std::vector<CliCommand> ExchangeCommands();
