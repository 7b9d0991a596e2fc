// halvex-cli commands that talk to the gateway or build its device image.
#include "ArchiveTransfer.h"
#include "CliCommand.h"
#include "NetworkAddress.h"
#include "ConfigFile.h"
#include "ConfigurationBackup.h"
#include "ConfigurationDownload.h"
#include "ConfigurationUpload.h"
#include "ConfigurationDiff.h"
#include "ConfigurationVerify.h"
#include "DeviceImage.h"
#include "DiagnosticsTransfer.h"
#include "FileAccess.h"
#include "FirmwareVersion.h"
#include "GatewayJob.h"
#include "InterruptCancel.h"
#include "JsonOutput.h"
#include "LinkTrace.h"
#include "LoggedOperation.h"
#include "PortName.h"
#include "Sha256.h"
#include "SlaveSet.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

namespace {

// "2.00" or "1.02" as a FormatVersion.
std::optional<int> ParseLayout(const std::string& text)
{
    if (text == "2.00") {
        return kFormatVersion200;
    }
    if (text == "1.02") {
        return kFormatVersion102;
    }
    return std::nullopt;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// A calendar date written YYYY-MM-DD.
std::optional<ImageDate> ParseDate(const std::string& text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
    }
    const ImageDate date{std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)), std::stoi(text.substr(8, 2))};
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (date.Month < 1 || date.Month > 12) {
        return std::nullopt;
    }
    const int days = kDays[date.Month - 1] + (date.Month == 2 && IsLeapYear(date.Year) ? 1 : 0);
    if (date.Day < 1 || date.Day > days) {
        return std::nullopt;
    }
    return date;
}

bool IsFolder(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

int UsageError(CliContext& context, const std::string& command, const std::string& message)
{
    context.Err << "halvex-cli " << command << ": " << message << '\n';
    return kExitUsage;
}

int RunImage(CliContext& context)
{
    const auto layout = ParseLayout(context.Arguments.Option("layout").value_or("2.00"));
    if (!layout) {
        return UsageError(context, "image", "--layout takes 2.00 or 1.02");
    }
    std::optional<ImageDate> date = TodaysDate();
    if (const auto text = context.Arguments.Option("date")) {
        date = ParseDate(*text);
        if (!date) {
            return UsageError(context, "image", "--date takes a date as YYYY-MM-DD");
        }
    }
    const auto config = LoadConfigurationOrReport(context, context.Arguments.Positional[0]);
    if (!config) {
        return kExitFailure;
    }
    std::vector<std::uint8_t> image(kDeviceImageBufferSize, 0);
    const int length = BuildDeviceImage(*config, image.data(), kDeviceImageBufferSize, *layout, *date, context.Ui);
    if (length <= 0) {
        const auto addresses = AddressRefusals(*config);
        const std::string message = "Unable to build the device image - incorrect configuration";
        context.Ui.ErrorBox("Error", addresses.empty() ? message : message + "\n" + addresses.front().Detail);
        return kExitFailure;
    }
    const std::string& out = context.Arguments.Positional[1];
    if (!ReplaceFileContents(out, std::string_view(reinterpret_cast<const char*>(image.data()),
                                                   static_cast<std::size_t>(length)))) {
        context.Ui.ErrorBox("Error", "Unable to write " + out);
        return kExitFailure;
    }
    context.Out << "Device image: " << length << " bytes\n";
    return kExitSuccess;
}

// Runs a device operation on the port named by --port; a missing or
// malformed port is a usage error. With --trace every frame and time-out of
// the link is written as a trace line to the file named, or to standard error
// for "-"; a file that cannot be written fails before the port is opened.
// SIGINT cancels the operation meanwhile. The operation is appended to the
// operations log; it fills in the record's file, digest and the like.
using LoggedOperationFunction = std::function<bool(DeviceConnection&, OperationRecord&)>;

int WithGateway(CliContext& context, const char* command, const LoggedOperationFunction& operation)
{
    const auto port = context.Arguments.Option("port");
    const auto path = port ? PortArgumentDevicePath(*port, context.Ui) : std::nullopt;
    if (!path) {
        return UsageError(context, command, "--port takes COM1 to COM4, a device path or a network address");
    }
    if (std::string reason; LooksLikeNetworkAddress(*path) && !ParseNetworkAddress(*path, reason)) {
        return UsageError(context, command, "--port " + *path + ": " + reason);
    }
    std::ofstream traceFile;
    std::unique_ptr<TraceWriter> trace;
    if (const auto tracePath = context.Arguments.Option("trace")) {
        if (*tracePath != "-") {
            errno = 0;
            traceFile.open(*tracePath, std::ios::binary | std::ios::trunc);
            if (!traceFile) {
                const std::string reason = errno != 0 ? std::strerror(errno) : "cannot be written";
                context.Ui.ErrorBox(kErrorCaption, "Unable to write the trace file\n" + *tracePath + ": " + reason);
                return kExitFailure;
            }
        }
        trace = std::make_unique<TraceWriter>(*tracePath == "-" ? context.Err : traceFile);
    }
    const InterruptCancel interrupt;
    std::unique_ptr<SerialLink> link = context.PortTransport != nullptr
                                           ? std::make_unique<SerialLink>(*context.PortTransport, *context.PortClock)
                                           : std::make_unique<SerialLink>();
    link->SetCancelFlag(&interrupt.Flag());
    link->SetObserver(trace.get());
    DeviceConnection connection{*link, *path, context.Ui};
    return RunLoggedOperation(CliOperationLog(context), command, *port, connection, operation).Succeeded
               ? kExitSuccess
               : kExitFailure;
}

// The same for an operation that fills in nothing of its record.
int WithGateway(CliContext& context, const char* command, const std::function<bool(DeviceConnection&)>& operation)
{
    return WithGateway(context, command,
                       [&operation](DeviceConnection& connection, OperationRecord&) { return operation(connection); });
}

// Compares the gateway's configuration with the file's and says how they
// compare; true when they match.
bool Verify(CliContext& context, DeviceConnection& connection, const ConfigTemplate& config, OperationRecord& record)
{
    const auto difference = VerifyConfiguration(connection, config);
    if (!difference) {
        return false;
    }
    record.Verify = difference->Equal() ? "equal" : "different";
    ReportVerifyResult(connection.Ui, *difference);
    if (context.Arguments.Flag("json")) {
        PrintJson(context.Out, VerifyJson(context.Arguments.Positional[0], *difference));
    }
    return difference->Equal();
}

int RunDownload(CliContext& context)
{
    const auto layoutOption = context.Arguments.Option("layout");
    const auto layout = ParseLayout(layoutOption.value_or("2.00"));
    if (!layout) {
        return UsageError(context, "download", "--layout takes 2.00 or 1.02");
    }
    const auto backup = context.Arguments.Option("backup");
    if (backup && !IsFolder(*backup)) {
        return UsageError(context, "download", "--backup takes an existing folder");
    }
    const std::string& file = context.Arguments.Positional[0];
    return WithGateway(context, "download", [&](DeviceConnection& connection, OperationRecord& record) {
        record.File = file;
        const auto config = LoadConfigurationOrReport(connection.Ui, file);
        if (!config) {
            return false;
        }
        record.Sha256 = Sha256Hex(ConfigFileText(*config, false));
        // The plain command first makes sure there is something to send.
        if (!layoutOption && SlaveCount(CollectSlaveAddresses(*config)) == 0) {
            context.Ui.Notice(kNoSlavesNotice);
            return false;
        }
        if (backup && !BackupBeforeDownload(CliOperationLog(context), *context.Arguments.Option("port"), connection,
                                            *backup, BackupNameOf(file))) {
            return false;
        }
        if (DownloadConfiguration(connection, *config, *layout) != DownloadOutcome::Succeeded) {
            return false;
        }
        return !context.Arguments.Flag("verify") || Verify(context, connection, *config, record);
    });
}

int RunVerify(CliContext& context)
{
    return WithGateway(context, "verify", [&](DeviceConnection& connection, OperationRecord& record) {
        record.File = context.Arguments.Positional[0];
        const auto config = LoadConfigurationOrReport(connection.Ui, record.File);
        if (config) {
            record.Sha256 = Sha256Hex(ConfigFileText(*config, false));
        }
        return config && Verify(context, connection, *config, record);
    });
}

// The uploaded configuration is kept in memory until it can be written.
class UploadToFile : public ConfigurationUploadTarget {
public:
    ConfigTemplate& NewConfiguration() override { return *config_; }
    void TextReceived(const std::string& text) override { digest_ = Sha256Hex(text); }
    void ConfigurationLoaded() override {}
    const ConfigTemplate& Config() const { return *config_; }
    const std::string& Digest() const { return digest_; }

private:
    std::unique_ptr<ConfigTemplate> config_ = std::make_unique<ConfigTemplate>();
    std::string digest_;
};

int RunUpload(CliContext& context)
{
    return WithGateway(context, "upload", [&](DeviceConnection& connection, OperationRecord& record) {
        UploadToFile target;
        record.File = context.Arguments.Positional[0];
        const UploadOutcome outcome = UploadConfiguration(connection, target);
        record.Sha256 = target.Digest();
        if (outcome != UploadOutcome::Loaded) {
            return false;
        }
        return SaveConfigFile(target.Config(), record.File, false, connection.Ui);
    });
}

int RunArchiveDownload(CliContext& context)
{
    return WithGateway(context, "archive-download", [&](DeviceConnection& connection, OperationRecord& record) {
        record.File = context.Arguments.Positional[0];
        context.Ui.QueueFileAnswer(record.File);
        return DownloadArchive(connection);
    });
}

int RunArchiveUpload(CliContext& context)
{
    return WithGateway(context, "archive-upload", [&](DeviceConnection& connection, OperationRecord& record) {
        record.File = context.Arguments.Positional[0];
        context.Ui.QueueFileAnswer(record.File);
        return UploadArchive(connection);
    });
}

// One line per dialog field ("Status : OK"), then the event list: its column
// titles and 16 rows, fields separated by a tab.
void PrintDiagnostics(std::ostream& out, const DiagnosticsRecord& record)
{
    for (const DiagnosticsField& field : DiagnosticsFields(record)) {
        out << field.Label << ' ' << field.Value << '\n';
    }
    const auto printRow = [&out](const auto& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            out << (i == 0 ? "" : "\t") << cells[i];
        }
        out << '\n';
    };
    printRow(kEventColumnTitles);
    for (const DiagnosticEvent& event : DecodeEvents(record.EventBuffer)) {
        printRow(EventCells(event));
    }
}

int RunDiagnostics(CliContext& context)
{
    return WithGateway(context, "diagnostics", [&](DeviceConnection& connection) {
        const auto record = UploadDiagnostics(connection);
        if (record && context.Arguments.Flag("json")) {
            PrintJson(context.Out, DiagnosticsJson(*record));
        } else if (record) {
            PrintDiagnostics(context.Out, *record);
        }
        return record.has_value();
    });
}

int RunClearDiagnostics(CliContext& context)
{
    return WithGateway(context, "clear-diagnostics", ClearDiagnostics);
}

int RunFirmware(CliContext& context)
{
    return WithGateway(context, "firmware", [&](DeviceConnection& connection, OperationRecord& record) {
        const auto version = QueryFirmwareVersion(connection);
        if (version) {
            record.Firmware = FirmwareRecordText(*version);
        }
        if (version && context.Arguments.Flag("json")) {
            PrintJson(context.Out, FirmwareJson(*version));
        }
        return version.has_value();
    });
}

}  // namespace

int RunGatewayDiff(CliContext& context)
{
    const std::string& file = context.Arguments.Positional[0];
    const auto config = LoadConfigurationOrReport(context, file);
    if (!config) {
        return kExitUsage;
    }
    std::optional<std::vector<std::string>> lines;
    const int status = WithGateway(context, "compare", [&](DeviceConnection& connection, OperationRecord& record) {
        record.File = file;
        if (const auto gateway = UploadForComparison(connection)) {
            lines = DiffConfigurations(*config, *gateway);
        }
        return lines.has_value();
    });
    if (!lines) {
        return status;
    }
    for (const std::string& line : *lines) {
        context.Out << line << '\n';
    }
    return lines->empty() ? kExitSuccess : kExitFailure;
}

std::vector<CliCommand> DeviceCommands()
{
    return {
        {"image", "IN OUT [--layout 2.00|1.02] [--date YYYY-MM-DD]", 2, RunImage,
         "the binary device image of a configuration", {"layout", "date"}},
        {"download", "IN --port PORT [--layout 2.00|1.02] [--verify] [--backup DIR] [--trace TRACE]", 1, RunDownload,
         "send a configuration to the gateway (and verify it)", {"port", "layout", "backup", "trace"}, {"verify"}},
        {"verify", "IN --port PORT [--json] [--trace TRACE]", 1, RunVerify,
         "does the gateway hold the configuration?", {"port", "trace"}, {"json"}},
        {"upload", "OUT --port PORT [--trace TRACE]", 1, RunUpload, "fetch the gateway's configuration into a file",
         {"port", "trace"}},
        {"archive-download", "FILE --port PORT [--trace TRACE]", 1, RunArchiveDownload,
         "send an archive file to the gateway", {"port", "trace"}},
        {"archive-upload", "OUT --port PORT [--trace TRACE]", 1, RunArchiveUpload, "fetch the gateway's archive file",
         {"port", "trace"}},
        {"diagnostics", "--port PORT [--json] [--trace TRACE]", 0, RunDiagnostics, "the gateway's diagnostics",
         {"port", "trace"}, {"json"}},
        {"clear-diagnostics", "--port PORT [--trace TRACE]", 0, RunClearDiagnostics,
         "clear the gateway's diagnostics", {"port", "trace"}},
        {"firmware", "--port PORT [--json] [--trace TRACE]", 0, RunFirmware, "the gateway's firmware version",
         {"port", "trace"}, {"json"}},
    };
}
