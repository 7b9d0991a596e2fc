#include "BatchRunner.h"

#include "ConfigFile.h"

#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

namespace {

std::string LineError(const ManifestLine& line, const std::string& text)
{
    return "line " + std::to_string(line.LineNumber) + ": " + text;
}

bool IsFolder(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

// Reads the line's configuration; the reason it cannot be read otherwise.
std::string ReadJobConfiguration(GatewayJob& job)
{
    if (job.Line.File.empty()) {
        return LineError(job.Line, std::string(BatchActionName(job.Line.Action)) + " needs a configuration file");
    }
    auto config = std::make_shared<ConfigTemplate>();
    MessageRecorder messages;
    if (!ReadConfigFile(*config, job.Line.File, messages)) {
        std::string reason = LoadErrorMessage(config->LoadError);
        if (reason.empty()) {
            reason = messages.LastText().empty() ? "it cannot be read" : messages.LastText();
        }
        return LineError(job.Line, job.Line.File + ": " + reason);
    }
    job.Config = std::move(config);
    return {};
}

std::string PlanLine(GatewayJob& job, const std::string& backupDirectory)
{
    switch (job.Line.Action) {
    case BatchAction::Download:
        job.BackupDirectory = backupDirectory;
        return ReadJobConfiguration(job);
    case BatchAction::Verify:
        return ReadJobConfiguration(job);
    case BatchAction::Upload:
        return job.Line.File.empty() ? LineError(job.Line, "upload needs a file to write") : std::string();
    case BatchAction::Backup:
        job.BackupDirectory = job.Line.File.empty() ? backupDirectory : job.Line.File;
        if (job.BackupDirectory.empty()) {
            return LineError(job.Line, "backup needs a folder (in the file column, or --backup)");
        }
        return IsFolder(job.BackupDirectory) ? std::string()
                                             : LineError(job.Line, job.BackupDirectory + " is not a folder");
    case BatchAction::Firmware:
    case BatchAction::Diagnostics:
        return {};
    }
    return {};
}

// The jobs grouped by the device they talk to, each group in manifest order.
std::vector<std::vector<std::size_t>> GroupByDevice(const std::vector<GatewayJob>& jobs)
{
    std::map<std::string, std::size_t> groupOf;
    std::vector<std::vector<std::size_t>> groups;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        std::error_code error;
        // Two names of one device (a link and its node) are one port.
        std::string device = std::filesystem::weakly_canonical(jobs[i].DevicePath, error).string();
        if (error || device.empty()) {
            device = jobs[i].DevicePath;
        }
        const auto [it, added] = groupOf.try_emplace(device, groups.size());
        if (added) {
            groups.emplace_back();
        }
        groups[it->second].push_back(i);
    }
    return groups;
}

BatchLineResult RunLine(const GatewayJob& job, const BatchOptions& options)
{
    BatchLineResult result;
    result.Line = job.Line;
    if (options.Cancel != nullptr && options.Cancel->load()) {
        result.Result = kResultCancelled;
        result.Message = "Not started: the batch was cancelled";
        return result;
    }
    const auto started = std::chrono::steady_clock::now();
    MessageRecorder ui(nullptr, options.AnswerYes);
    const std::unique_ptr<SerialLink> link = options.MakeLink ? options.MakeLink() : std::make_unique<SerialLink>();
    link->SetCancelFlag(options.Cancel);
    DeviceConnection connection{*link, job.DevicePath, ui};
    const LoggedOutcome outcome = RunGatewayJob(job, options.Log, connection);
    result.Succeeded = outcome.Succeeded;
    result.Result = outcome.Record.Result;
    result.Message = outcome.Record.Message;
    result.Messages = ui.Messages();
    result.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}

}  // namespace

BatchPlan PlanBatch(const std::vector<ManifestLine>& lines, const std::string& backupDirectory,
                    const std::function<std::optional<std::string>(const std::string& port)>& devicePathOf)
{
    BatchPlan plan;
    for (const ManifestLine& line : lines) {
        GatewayJob job{line, {}, nullptr, {}};
        const auto path = devicePathOf(line.Port);
        if (!path) {
            plan.Error = LineError(line, "the port '" + line.Port + "' is neither COM1 to COM4 nor a device path");
        } else {
            job.DevicePath = *path;
            plan.Error = PlanLine(job, backupDirectory);
        }
        if (!plan.Ok()) {
            plan.Jobs.clear();
            return plan;
        }
        plan.Jobs.push_back(std::move(job));
    }
    return plan;
}

std::vector<BatchLineResult> RunBatch(const std::vector<GatewayJob>& jobs, const BatchOptions& options,
                                      const std::function<void(const BatchLineResult&)>& lineDone)
{
    std::vector<BatchLineResult> results(jobs.size());
    const auto groups = GroupByDevice(jobs);
    std::mutex mutex;
    std::size_t nextGroup = 0;
    const auto work = [&] {
        for (;;) {
            std::size_t group = 0;
            {
                const std::lock_guard lock(mutex);
                if (nextGroup == groups.size()) {
                    return;
                }
                group = nextGroup++;
            }
            for (const std::size_t index : groups[group]) {
                BatchLineResult result = RunLine(jobs[index], options);
                const std::lock_guard lock(mutex);
                if (lineDone) {
                    lineDone(result);
                }
                results[index] = std::move(result);
            }
        }
    };
    const std::size_t threads = std::min(groups.size(), static_cast<std::size_t>(std::max(options.Jobs, 1)));
    std::vector<std::thread> workers;
    for (std::size_t i = 0; i < threads; ++i) {
        workers.emplace_back(work);
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    return results;
}
