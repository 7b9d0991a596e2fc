#pragma once

#include "CliArguments.h"
#include "ConfigTemplate.h"
#include "TerminalWindowSystem.h"

#include <iosfwd>
#include <memory>
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

// Reads the configuration file; when that fails, says so as the window
// program's open does and gives no configuration.
std::unique_ptr<ConfigTemplate> LoadConfigurationOrReport(CliContext& context, const std::string& path);

// The command groups; each lives in its own file.
std::vector<CliCommand> FileCommands();
std::vector<CliCommand> DeviceCommands();
std::vector<CliCommand> ExchangeCommands();
