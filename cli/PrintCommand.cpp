// halvex-cli print: the printed report as PDF pages, drawn with Qt.
#include "CliCommand.h"
#include "Environment.h"
#include "ReportPdf.h"
#include "ReportText.h"

#include <QGuiApplication>

#include <iostream>

namespace {

// The PDF is drawn with Qt's text layout, which needs a QGuiApplication; with
// no display to connect to, it runs on the offscreen platform.
void ChooseOffscreenWithoutDisplay()
{
    const bool hasDisplay = EnvironmentValue("DISPLAY") || EnvironmentValue("WAYLAND_DISPLAY");
    if (!hasDisplay && !EnvironmentValue("QT_QPA_PLATFORM")) {
        SetEnvironmentValue("QT_QPA_PLATFORM", "offscreen");
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

int RunPrintCommand(CliContext& context) { return RunPrint(context); }
