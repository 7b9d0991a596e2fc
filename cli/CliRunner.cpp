#include "CliRunner.h"

#include "CliCommand.h"
#include "UserState.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <map>
#include <ostream>

namespace {

constexpr const char* kProgram = "halvex-cli";

std::vector<CliCommand> AllCommands()
{
    std::vector<CliCommand> commands = FileCommands();
    for (auto group : {CheckCommands(), ExchangeCommands(), DeviceCommands(), CommissioningCommands(), PortCommands()}) {
        commands.insert(commands.end(), group.begin(), group.end());
    }
    return commands;
}

// Where the parser puts what it reads for one command.
struct ParsedCommand {
    std::vector<std::string> Positional;
    std::map<std::string, std::string> Options;
    std::map<std::string, bool> Flags;
    bool Yes = false;
};

// The synopsis up to its first option: the names of the positional arguments.
std::string PositionalWords(const std::string& synopsis)
{
    const std::size_t options = std::min(synopsis.find(" --"), synopsis.find(" ["));
    return synopsis.substr(0, options);
}

bool IsCommand(const std::vector<CliCommand>& commands, const std::string& word)
{
    return std::any_of(commands.begin(), commands.end(),
                       [&word](const CliCommand& command) { return command.Name == word; });
}

void AddCommand(CLI::App& app, const CliCommand& command, ParsedCommand& parsed)
{
    CLI::App* sub = app.add_subcommand(command.Name, command.Summary);
    sub->footer("usage: " + std::string(kProgram) + " " + command.Name + " " + command.Synopsis + "\n");
    if (command.PositionalCount > 0) {
        sub->add_option("arguments", parsed.Positional, PositionalWords(command.Synopsis))
            ->expected(static_cast<int>(command.FewestPositional > 0 ? command.FewestPositional
                                                                     : command.PositionalCount),
                       static_cast<int>(command.PositionalCount))
            ->required();
    }
    for (const std::string& option : command.Options) {
        sub->add_option("--" + option, parsed.Options[option]);
    }
    for (const std::string& flag : command.Flags) {
        sub->add_flag("--" + flag, parsed.Flags[flag]);
    }
    sub->add_flag("--yes", parsed.Yes, "answer Yes to every question");
}

// The arguments of the command that was given, with only the options that
// appeared on the command line.
CliArguments ArgumentsOf(const CLI::App& sub, const CliCommand& command, const ParsedCommand& parsed)
{
    CliArguments arguments;
    arguments.Positional = parsed.Positional;
    arguments.Yes = parsed.Yes;
    for (const std::string& option : command.Options) {
        if (sub.count("--" + option) > 0) {
            arguments.Options[option] = parsed.Options.at(option);
        }
    }
    for (const std::string& flag : command.Flags) {
        if (parsed.Flags.at(flag)) {
            arguments.Flags.insert(flag);
        }
    }
    return arguments;
}

}  // namespace

int RunCli(const std::vector<std::string>& words, const CliEnvironment& environment)
{
    const std::vector<CliCommand> commands = AllCommands();
    CLI::App app("file and device operations of the Halvex Configuration Tool", kProgram);
    app.set_version_flag("--version", std::string(kProgram) + " " + HALVEX_VERSION);
    app.require_subcommand(1);
    std::string usage = "Usage of each command:\n";
    for (const CliCommand& command : commands) {
        usage += "  " + std::string(kProgram) + " " + command.Name + " " + command.Synopsis + "\n";
    }
    app.footer(usage + "\nPORT is COM1..COM4, a serial device path (see halvex-cli ports), or a serial device\n"
                       "server's socket://HOST:PORT (raw TCP) or rfc2217://HOST:PORT ([::1]:PORT for IPv6).\n"
                       "--trace TRACE writes every frame of a device command to the file TRACE\n"
                       "(- for standard error); Ctrl-C cancels a device command.\n"
                       "--yes answers Yes to every question.\n"
                       "Exit status: 0 success, 1 the operation failed, 2 usage error.\n");
    std::vector<ParsedCommand> parsed(commands.size());
    for (std::size_t i = 0; i < commands.size(); ++i) {
        AddCommand(app, commands[i], parsed[i]);
    }
    if (!words.empty() && !words[0].empty() && words[0][0] != '-' && !IsCommand(commands, words[0])) {
        environment.Err << kProgram << ": unknown command '" << words[0] << "'\n(see " << kProgram << " --help)\n";
        return kExitUsage;
    }
    std::vector<std::string> reversed(words.rbegin(), words.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        environment.Out << app.help();
        return kExitSuccess;
    } catch (const CLI::CallForVersion&) {
        environment.Out << kProgram << ' ' << HALVEX_VERSION << '\n';
        return kExitSuccess;
    } catch (const CLI::ParseError& error) {
        environment.Err << kProgram << ": " << error.what() << "\n(see " << kProgram << " --help)\n";
        return kExitUsage;
    }
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const CLI::App* sub = app.get_subcommand(commands[i].Name);
        if (sub->parsed()) {
            const CliArguments arguments = ArgumentsOf(*sub, commands[i], parsed[i]);
            TerminalWindowSystem ui(environment.Out, environment.Err, arguments.Yes, environment.ProfilePath);
            if (arguments.Flag("json")) {
                ui.KeepOutputForData();
            }
            CliContext context{arguments,
                               ui,
                               environment.Out,
                               environment.Err,
                               environment.PortTransport,
                               environment.PortClock,
                               environment.SystemRoot,
                               environment.OperationsLogPath.empty() ? OperationsLogPath()
                                                                     : environment.OperationsLogPath};
            return commands[i].Run(context);
        }
    }
    return kExitUsage;
}
