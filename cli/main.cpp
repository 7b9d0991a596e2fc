#include "CliCommand.h"
#include "FileAccess.h"

#include <clocale>
#include <iostream>

namespace {

std::vector<CliCommand> AllCommands()
{
    std::vector<CliCommand> commands = FileCommands();
    for (auto group : {ExchangeCommands(), DeviceCommands()}) {
        commands.insert(commands.end(), group.begin(), group.end());
    }
    return commands;
}

void PrintHelp(std::ostream& out, const std::vector<CliCommand>& commands)
{
    out << "halvex-cli - file and device operations of the Halvex Configuration Tool\n\n"
           "usage: halvex-cli COMMAND [ARGUMENTS] [OPTIONS]\n\ncommands:\n";
    for (const CliCommand& command : commands) {
        out << "  halvex-cli " << command.Name << (command.Synopsis.empty() ? "" : " ") << command.Synopsis
            << '\n';
    }
    out << "\nPORT is COM1..COM4 or a serial device path. --yes answers Yes to every question.\n"
           "Exit status: 0 success, 1 the operation failed, 2 usage error.\n";
}

}  // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    IgnoreFileSizeSignal();
    const std::vector<CliCommand> commands = AllCommands();
    if (argc < 2) {
        PrintHelp(std::cerr, commands);
        return kExitUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintHelp(std::cout, commands);
        return kExitSuccess;
    }
    const CliCommand* command = nullptr;
    for (const CliCommand& candidate : commands) {
        if (candidate.Name == name) {
            command = &candidate;
        }
    }
    if (command == nullptr) {
        std::cerr << "halvex-cli: unknown command '" << name << "' (see halvex-cli --help)\n";
        return kExitUsage;
    }
    std::string error;
    const auto arguments = ParseCliArguments(std::vector<std::string>(argv + 2, argv + argc), error);
    if (!arguments) {
        std::cerr << "halvex-cli " << name << ": " << error << '\n';
        return kExitUsage;
    }
    if (arguments->Help) {
        std::cout << "usage: halvex-cli " << command->Name << ' ' << command->Synopsis << '\n';
        return kExitSuccess;
    }
    if (arguments->Positional.size() != command->PositionalCount) {
        std::cerr << "usage: halvex-cli " << command->Name << ' ' << command->Synopsis << '\n';
        return kExitUsage;
    }
    TerminalWindowSystem ui(std::cout, std::cerr, arguments->Yes);
    CliContext context{*arguments, ui, std::cout, std::cerr};
    return command->Run(context);
}
