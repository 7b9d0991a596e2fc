#include "PrintConfiguration.h"

#include "ReportPainter.h"
#include "ReportText.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

void PrintConfiguration(const ConfigTemplate& config, WindowSystem& ui, QWidget* parent)
{
    const auto text = ReportTextThroughTemporaryFile(config, ui);
    if (text) {
        PrintReportText(*text, parent);
    }
}

void PrintReportText(std::string_view text, QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
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
        return;
    }
    if (!PaintReport(text, printer, painter)) {
        printer.abort();
    }
    painter.end();
}
