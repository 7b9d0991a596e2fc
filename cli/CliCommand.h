#pragma once

#include "CliArguments.h"
#include "Clock.h"
#include "ConfigTemplate.h"
#include "LoggedOperation.h"
#include "TerminalWindowSystem.h"
#include "Transport.h"

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

enum CliExitStatus {
    kExitSuccess = 0,
    kExitFailure = 1,
    kExitUsage = 2,
};

// What a command runs with: its arguments, the terminal window system, the
// output streams and, for device commands, the transport and clock of the
// serial link (none: a serial port of its own on the machine's clock).
struct CliContext {
    const CliArguments& Arguments;
    TerminalWindowSystem& Ui;
    std::ostream& Out;
    std::ostream& Err;
    Transport* PortTransport = nullptr;
    Clock* PortClock = nullptr;
    // Where the serial devices are looked for: "/" for this machine.
    std::string SystemRoot = "/";
    // The operations log every device command appends to.
    std::string OperationsLogPath = {};
};

struct CliCommand {
    std::string Name;
    std::string Synopsis;  // the arguments, as shown by --help
    std::size_t PositionalCount;
    int (*Run)(CliContext& context);
    std::string Summary;                     // one line in the command list
    std::vector<std::string> Options = {};   // options with a value: "port" for --port PORT
    std::vector<std::string> Flags = {};     // options without one, besides --yes and --help
    std::size_t FewestPositional = 0;        // when some positional arguments may be left out
};

// halvex-cli diff A --port P: the differences of the file's configuration
// with what the gateway holds.
int RunGatewayDiff(CliContext& context);

// Reads the configuration file; when that fails, says so as the window
// program's open does and gives no configuration.
std::unique_ptr<ConfigTemplate> LoadConfigurationOrReport(CliContext& context, const std::string& path);
std::unique_ptr<ConfigTemplate> LoadConfigurationOrReport(WindowSystem& ui, const std::string& path);

// The operations log of halvex-cli; a log that cannot be written is a
// warning on standard error.
OperationLog CliOperationLog(CliContext& context);

// The command groups; each lives in its own file.
std::vector<CliCommand> FileCommands();
std::vector<CliCommand> CheckCommands();
std::vector<CliCommand> DeviceCommands();
std::vector<CliCommand> ExchangeCommands();
std::vector<CliCommand> PortCommands();
std::vector<CliCommand> CommissioningCommands();

// print: the report as PDF pages where halvex-cli is built with Qt
// (PrintCommand.cpp); without Qt it says so and fails (PrintCommandWithoutQt.cpp).
int RunPrintCommand(CliContext& context);
