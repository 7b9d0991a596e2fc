// halvex-cli commands for commissioning many gateways: a manifest run over
// them in parallel, and the operations log.
#include "BatchRunner.h"
#include "CliCommand.h"
#include "FileAccess.h"
#include "InterruptCancel.h"
#include "JsonOutput.h"
#include "PortName.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iomanip>
#include <mutex>
#include <ostream>
#include <sstream>

namespace {

int UsageError(CliContext& context, const std::string& command, const std::string& message)
{
    context.Err << "halvex-cli " << command << ": " << message << '\n';
    return kExitUsage;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

std::string Seconds(double seconds)
{
    std::ostringstream text;
    text << std::fixed << std::setprecision(1) << seconds;
    return text.str();
}

// A line's block of output, printed as the line ends: its result, then
// every message it showed, indented.
void PrintLineBlock(std::ostream& out, const BatchLineResult& result)
{
    out << result.Line.Name << " (" << result.Line.Port << ", " << BatchActionName(result.Line.Action)
        << "): " << result.Result << " in " << Seconds(result.Seconds) << " s\n";
    for (const RecordedMessage& message : result.Messages) {
        std::istringstream lines(message.Text);
        for (std::string line; std::getline(lines, line);) {
            out << "    " << line << '\n';
        }
    }
}

// Prints rows as columns padded to their widest cell, the last one unpadded.
void PrintTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows)
{
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            out << row[i];
            if (i + 1 < row.size()) {
                out << std::string(widths[i] - row[i].size() + 2, ' ');
            }
        }
        out << '\n';
    }
}

void PrintSummary(std::ostream& out, const std::vector<BatchLineResult>& results)
{
    std::vector<std::vector<std::string>> rows{{"NAME", "PORT", "ACTION", "RESULT", "SECONDS", "MESSAGE"}};
    int succeeded = 0;
    for (const BatchLineResult& result : results) {
        rows.push_back({result.Line.Name, result.Line.Port, BatchActionName(result.Line.Action), result.Result,
                        Seconds(result.Seconds), FirstLine(result.Message)});
        succeeded += result.Succeeded ? 1 : 0;
    }
    PrintTable(out, rows);
    out << results.size() << " lines: " << succeeded << " ok, " << results.size() - static_cast<std::size_t>(succeeded)
        << " not\n";
}

nlohmann::json SummaryJson(const std::vector<BatchLineResult>& results)
{
    nlohmann::json array = nlohmann::json::array();
    for (const BatchLineResult& result : results) {
        array.push_back({{"name", result.Line.Name},
                         {"port", result.Line.Port},
                         {"action", BatchActionName(result.Line.Action)},
                         {"result", result.Result},
                         {"message", result.Message},
                         {"seconds", std::round(result.Seconds * 1000) / 1000}});
    }
    return array;
}

std::optional<int> ParseJobs(const std::string& text)
{
    if (text.empty() || text.size() > 3 || !std::all_of(text.begin(), text.end(), ::isdigit)) {
        return std::nullopt;
    }
    const int jobs = std::stoi(text);
    return jobs >= 1 ? std::optional<int>(jobs) : std::nullopt;
}

int RunBatchCommand(CliContext& context)
{
    const auto jobs = ParseJobs(context.Arguments.Option("jobs").value_or("4"));
    if (!jobs) {
        return UsageError(context, "batch", "--jobs takes a number of at least 1");
    }
    const std::string backup = context.Arguments.Option("backup").value_or("");
    std::error_code error;
    if (!backup.empty() && !std::filesystem::is_directory(backup, error)) {
        return UsageError(context, "batch", "--backup takes an existing folder");
    }
    const std::string& manifestPath = context.Arguments.Positional[0];
    const auto text = ReadFileBytes(manifestPath);
    if (!text) {
        return UsageError(context, "batch", manifestPath + " cannot be read");
    }
    const ManifestParse manifest = ParseManifest(*text);
    if (!manifest.Ok()) {
        return UsageError(context, "batch", manifestPath + ", " + manifest.Error);
    }
    // The port names are mapped here, on this thread, where the profile is read.
    const BatchPlan plan = PlanBatch(manifest.Lines, backup, [&context](const std::string& port) {
        return PortArgumentDevicePath(port, context.Ui);
    });
    if (!plan.Ok()) {
        return UsageError(context, "batch", manifestPath + ", " + plan.Error);
    }

    const bool json = context.Arguments.Flag("json");
    std::ostream& done = json ? context.Err : context.Out;
    std::mutex errLock;
    std::ostream& err = context.Err;
    const InterruptCancel interrupt;
    BatchOptions options{*jobs, &interrupt.Flag(),
                         OperationLog{"halvex-cli", context.OperationsLogPath,
                                      [&err, &errLock](const std::string& warning) {
                                          const std::lock_guard lock(errLock);
                                          err << "halvex-cli: " << warning << '\n';
                                      }},
                         context.Arguments.Yes};
    const auto results = RunBatch(plan.Jobs, options, [&](const BatchLineResult& result) {
        const std::lock_guard lock(errLock);
        PrintLineBlock(result.Succeeded ? done : context.Err, result);
    });
    if (json) {
        PrintJson(context.Out, SummaryJson(results));
    } else {
        context.Out << '\n';
        PrintSummary(context.Out, results);
    }
    const bool allSucceeded =
        std::all_of(results.begin(), results.end(), [](const BatchLineResult& result) { return result.Succeeded; });
    return allSucceeded ? kExitSuccess : kExitFailure;
}

int RunLog(CliContext& context)
{
    const auto since = context.Arguments.Option("since");
    if (since && !IsSinceText(*since)) {
        return UsageError(context, "log", "--since takes a date YYYY-MM-DD or a time YYYY-MM-DDTHH:MM:SSZ");
    }
    const OperationsLogContents log = ReadOperationsLog(context.OperationsLogPath);
    if (log.UnreadableLines > 0) {
        context.Err << "halvex-cli log: " << log.UnreadableLines << " line(s) of " << context.OperationsLogPath
                    << " are no record and were skipped\n";
    }
    // The entries keep their keys in the order the log has them.
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    std::vector<std::vector<std::string>> rows{{"TIME", "ACTION", "PORT", "FILE", "RESULT", "MESSAGE"}};
    for (std::size_t i = 0; i < log.Records.size(); ++i) {
        const OperationRecord& record = log.Records[i];
        if (since && !RecordIsSince(record, *since)) {
            continue;
        }
        array.push_back(nlohmann::ordered_json::parse(log.Lines[i], nullptr, false));
        rows.push_back({record.Time, record.Action, record.Port, record.File, record.Result,
                        FirstLine(record.Message)});
    }
    if (context.Arguments.Flag("json")) {
        context.Out << array.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    } else {
        PrintTable(context.Out, rows);
    }
    return kExitSuccess;
}

}  // namespace

std::vector<CliCommand> CommissioningCommands()
{
    return {
        {"batch", "MANIFEST [--jobs N] [--json] [--backup DIR]", 1, RunBatchCommand,
         "run a manifest's lines (name,port,file,action) over many gateways", {"jobs", "backup"}, {"json"}},
        {"log", "[--json] [--since DATE]", 0, RunLog, "the operations log of the device operations", {"since"},
         {"json"}},
    };
}
