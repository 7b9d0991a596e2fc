#include "ReportPdf.h"

#include "FileAccess.h"
#include "ReportPainter.h"
#include "WindowSystem.h"

#include <QBuffer>
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

std::optional<std::string> ReportPdfBytes(std::string_view text)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    {
        QPdfWriter writer(&buffer);
        SetUpReportPdf(writer);
        QPainter painter;
        if (painter.begin(&writer)) {
            painted = PaintReport(text, writer, painter);
            painted = painter.end() && painted;
        }
    }
    if (!painted) {
        return std::nullopt;
    }
    const QByteArray& bytes = buffer.data();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool WriteReportPdf(std::string_view text, const std::string& path)
{
    const auto bytes = ReportPdfBytes(text);
    return bytes && ReplaceFileContents(path, *bytes);
}
