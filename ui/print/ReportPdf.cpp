#include "ReportPdf.h"

#include "ReportPainter.h"
#include "WindowSystem.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

constexpr int kPdfResolution = 1200;

}  // namespace

void SetUpReportPdf(QPdfWriter& writer)
{
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setTitle(kApplicationTitle);
    writer.setCreator(kApplicationTitle);
}

bool WriteReportPdf(std::string_view text, const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    bool painted = false;
    {
        QPdfWriter writer(&file);
        SetUpReportPdf(writer);
        QPainter painter;
        if (painter.begin(&writer)) {
            painted = PaintReport(text, writer, painter);
            painted = painter.end() && painted;
        }
    }
    return painted && file.flush() && file.error() == QFileDevice::NoError;
}
