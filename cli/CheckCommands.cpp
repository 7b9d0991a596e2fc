// halvex-cli check and diff: what a download would refuse, and how two
// configurations differ.
#include "CliCommand.h"
#include "ConfigurationCheck.h"
#include "ConfigurationDiff.h"
#include "JsonOutput.h"

#include <ostream>

namespace {

void PrintFindings(std::ostream& out, const char* kind, const std::vector<CheckFinding>& findings)
{
    for (const CheckFinding& finding : findings) {
        out << kind << ": " << finding.Text << '\n';
        if (!finding.Detail.empty()) {
            out << "  " << finding.Detail << '\n';
        }
    }
}

int RunCheck(CliContext& context)
{
    const std::string& path = context.Arguments.Positional[0];
    const auto config = LoadConfigurationOrReport(context, path);
    if (!config) {
        return kExitFailure;
    }
    const ConfigurationCheck check = CheckConfiguration(*config);
    if (context.Arguments.Flag("json")) {
        PrintJson(context.Out, CheckJson(path, check));
    } else {
        PrintFindings(context.Out, "error", check.Errors);
        PrintFindings(context.Out, "warning", check.Warnings);
        context.Out << CheckSummary(check) << '\n';
    }
    return check.Errors.empty() ? kExitSuccess : kExitFailure;
}

// Exit 0 for equal configurations, 1 when they differ; a file that cannot
// be read leaves nothing to compare: 2, as for a usage error.
int RunDiff(CliContext& context)
{
    // One file and the gateway in place of the other.
    if (context.Arguments.Positional.size() == 1) {
        if (!context.Arguments.Option("port")) {
            context.Err << "halvex-cli diff: give two files, or one file and --port P\n";
            return kExitUsage;
        }
        return RunGatewayDiff(context);
    }
    const auto from = LoadConfigurationOrReport(context, context.Arguments.Positional[0]);
    const auto to = from ? LoadConfigurationOrReport(context, context.Arguments.Positional[1]) : nullptr;
    if (!to) {
        return kExitUsage;
    }
    const std::vector<std::string> lines = DiffConfigurations(*from, *to);
    for (const std::string& line : lines) {
        context.Out << line << '\n';
    }
    return lines.empty() ? kExitSuccess : kExitFailure;
}

}  // namespace

std::vector<CliCommand> CheckCommands()
{
    return {
        {"check", "IN [--json]", 1, RunCheck, "every problem a download would refuse, and warnings", {}, {"json"}},
        {"diff", "A B | A --port P", 2, RunDiff, "the differences of two configurations, or of one with the gateway's",
         {"port", "trace"}, {}, 1},
    };
}
