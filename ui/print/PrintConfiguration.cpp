#include "PrintConfiguration.h"

#include "ReportPainter.h"
#include "ReportPdf.h"
#include "ReportText.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

void PrintConfiguration(const ConfigTemplate& config, WindowSystem& ui, QWidget* parent)
{
    const auto text = ReportTextThroughTemporaryFile(config, ui);
    if (text) {
        PrintReportText(*text, ui, parent, HasInstalledPrinter());
    }
}

bool HasInstalledPrinter() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

void PrintReportText(std::string_view text, WindowSystem& ui, QWidget* parent, bool printerInstalled)
{
    if (!printerInstalled) {
        OfferReportAsPdf(text, ui);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    PrintOnChosenPrinter(text, ui, printer, parent);
}

void PrintOnChosenPrinter(std::string_view text, WindowSystem& ui, QPrinter& printer, QWidget* parent)
{
    printer.setDocName(kApplicationTitle);
    printer.setPrintRange(QPrinter::AllPages);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        ui.ErrorBox("Error", kPrintJobFailedText);
        return;
    }
    if (!PaintReport(text, printer, painter)) {
        printer.abort();
    }
    painter.end();
}

void OfferReportAsPdf(std::string_view text, WindowSystem& ui)
{
    if (!ui.Question(kApplicationTitle, kNoPrinterQuestion)) {
        return;
    }
    FileDialogRequest request;
    request.Filter = "PDF File (*.pdf)|*.pdf||";
    request.DefaultExtension = "pdf";
    request.ConfirmOverwrite = true;
    const auto path = ui.ChooseFileToSave(request);
    if (path && !WriteReportPdf(text, *path)) {
        ui.ErrorBox("Error", kPdfWriteFailedText);
    }
}
