#include "StartOptions.h"

#include "CQuorvinDoc.h"

namespace {

bool IsExtendedModeSwitch(const std::string& argument)
{
    const std::string keyword = kExtendedModeKeyword;
    return argument == keyword || argument == "-" + keyword || argument == "--" + keyword || argument == "/" + keyword;
}

}  // namespace

StartOptions ParseStartOptions(const std::vector<std::string>& arguments)
{
    StartOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        options.CommandLine += (i == 0 ? "" : " ") + argument;
        if (i == 0 || IsExtendedModeSwitch(argument)) {
            continue;
        }
        if (argument == "--describe-window") {
            options.DescribeWindow = true;
        } else if (argument == "--help" || argument == "-h") {
            options.Help = true;
        } else if (argument == "--version") {
            options.Version = true;
        } else if (argument == "--import-xrf") {
            if (i + 1 == arguments.size()) {
                options.Error = "--import-xrf needs a file";
                break;
            }
            options.ImportXrf = arguments[++i];
            options.CommandLine += " " + options.ImportXrf;
        } else if (argument.size() > 1 && argument.front() == '-') {
            options.Error = "unknown option " + argument;
        } else if (options.File.empty()) {
            options.File = argument;
        } else {
            options.Error = "more than one file named: " + argument;
        }
    }
    return options;
}
