// halvex-cli commands of the exchange formats: CSV export, XRF import, print.
#include "CliCommand.h"
#include "ConfigFile.h"
#include "CsvExport.h"
#include "ReportPdf.h"
#include "ReportText.h"
#include "XrfImport.h"

#include <QGuiApplication>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <ostream>

namespace {

// The separators of a document that has no regional settings to read.
constexpr const char* kDefaultListSeparator = ",";
constexpr const char* kDefaultDecimalSeparator = ".";


int RunExportCsv(CliContext& context)
{
    const std::string list = context.Arguments.Option("list-separator").value_or(kDefaultListSeparator);
    const std::string decimal = context.Arguments.Option("decimal-separator").value_or(kDefaultDecimalSeparator);
    if (list.empty() || decimal.empty()) {
        context.Err << "halvex-cli export-csv: a separator must not be empty\n";
        return kExitUsage;
    }
    const auto config = LoadConfigurationOrReport(context, context.Arguments.Positional[0]);
    if (!config) {
        return kExitFailure;
    }
    return ExportCsvFile(*config, context.Arguments.Positional[1], list, decimal, context.Ui) ? kExitSuccess
                                                                                               : kExitFailure;
}

int RunImportXrf(CliContext& context)
{
    auto config = std::make_unique<ConfigTemplate>();
    switch (ImportXrf(*config, context.Arguments.Positional[0], context.Ui)) {
    case XrfImportResult::Unreadable:
        context.Ui.ErrorBox(kOpenErrorCaption, "Error loading file!");
        return kExitFailure;
    case XrfImportResult::NothingFound:
        context.Ui.Notice(kNothingImportedMessage);
        return kExitFailure;
    case XrfImportResult::Imported:
        break;
    }
    return SaveConfigFile(*config, context.Arguments.Positional[1], false, context.Ui) ? kExitSuccess : kExitFailure;
}

// The PDF is drawn with Qt's text layout, which needs a QGuiApplication; with
// no display to connect to, it runs on the offscreen platform.
void ChooseOffscreenWithoutDisplay()
{
    const bool hasDisplay = std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
    if (!hasDisplay && std::getenv("QT_QPA_PLATFORM") == nullptr) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
}

// Standard error carries the command's messages; Qt's own notes (such as its
// remark about a missing runtime directory) stay out of it.
void KeepSevereQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::cerr << message.toStdString() << '\n';
    }
}

int RunPrint(CliContext& context)
{
    const auto config = LoadConfigurationOrReport(context, context.Arguments.Positional[0]);
    if (!config) {
        return kExitFailure;
    }
    ChooseOffscreenWithoutDisplay();
    qInstallMessageHandler(KeepSevereQtMessages);
    static int argc = 1;
    static char name[] = "halvex-cli";
    static char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    if (!WriteReportPdf(ReportText(*config), context.Arguments.Positional[1])) {
        context.Ui.ErrorBox("Error", "Unable to write the PDF file");
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace

std::vector<CliCommand> ExchangeCommands()
{
    return {
        {"export-csv", "IN OUT [--list-separator S] [--decimal-separator D]", 2, RunExportCsv,
         "the configuration as CSV", {"list-separator", "decimal-separator"}},
        {"import-xrf", "IN.xrf OUT.hxc", 2, RunImportXrf, "a configuration from a SPA unit description file"},
        {"print", "IN OUT.pdf", 2, RunPrint, "the printed report as PDF pages"},
    };
}
