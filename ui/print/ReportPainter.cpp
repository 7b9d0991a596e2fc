#include "ReportPainter.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <QtMath>

namespace {

constexpr int kReportPointSize = 9;
constexpr int kTabStopCharacters = 8;

// QTextLayout scales tab distances by the ratio of the device's resolution to
// the screen's; the scale is found by laying out one tab.
qreal TabDistanceScale(const QFont& font, QPaintDevice& device)
{
    constexpr qreal kProbeDistance = 1000;
    QTextOption option;
    option.setTabStopDistance(kProbeDistance);
    QTextLayout probe(QStringLiteral("\tx"), font, &device);
    probe.setTextOption(option);
    probe.beginLayout();
    const QTextLine line = probe.createLine();
    probe.endLayout();
    const qreal scale = line.cursorToX(1) / kProbeDistance;
    return scale > 0 ? scale : 1;
}

}  // namespace

QFont ReportFont(const QPaintDevice& device)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(qRound(kReportPointSize * device.logicalDpiY() / 72.0));
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

ReportLayout::ReportLayout(QPaintDevice& device, int width) : device_(device), font_(ReportFont(device)), width_(width)
{
    option_.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const qreal tabDistance = kTabStopCharacters * QFontMetricsF(font_, &device_).averageCharWidth();
    option_.setTabStopDistance(tabDistance / TabDistanceScale(font_, device_));
}

// The 8-bit report text as display text: CR LF, CR and LF become line
// separators, and a line end at the very end is dropped.
QString ReportLayout::DisplayText(std::string_view text) const
{
    QString display;
    display.reserve(static_cast<qsizetype>(text.size()));
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            if (i + 1 < text.size()) {
                display += QChar::LineSeparator;
            }
        } else {
            display += QChar::fromLatin1(c);
        }
    }
    return display;
}

int ReportLayout::WrappedHeight(std::string_view text)
{
    QTextLayout layout(DisplayText(text), font_, &device_);
    layout.setTextOption(option_);
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width_);
        height += line.height();
    }
    layout.endLayout();
    return qCeil(height);
}

void ReportLayout::Draw(QPainter& painter, std::string_view text, const QPointF& topLeft)
{
    QTextLayout layout(DisplayText(text), font_, &device_);
    layout.setTextOption(option_);
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width_);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    layout.draw(&painter, topLeft);
}

std::vector<std::string_view> ReportPagesFor(std::string_view text, QPaintDevice& device)
{
    const PageRect page = ReportPageRect(device.width(), device.height());
    ReportLayout layout(device, page.Width());
    return SplitIntoPages(text, page, layout);
}

bool PaintReport(std::string_view text, QPagedPaintDevice& device, QPainter& painter)
{
    const PageRect page = ReportPageRect(device.width(), device.height());
    ReportLayout layout(device, page.Width());
    bool first = true;
    for (std::string_view pageText : SplitIntoPages(text, page, layout)) {
        if (!first && !device.newPage()) {
            return false;
        }
        first = false;
        layout.Draw(painter, pageText, QPointF(page.Left, page.Top));
    }
    return true;
}
