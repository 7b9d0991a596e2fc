#pragma once

#include "ReportPages.h"

#include <QFont>
#include <QTextOption>

#include <string_view>
#include <vector>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
class QPointF;
class QString;

// The printed report's font on the device: the system's default sans font,
// 9 points high rounded to whole device pixels, its default weight, upright,
// neither underlined nor struck out.
QFont ReportFont(const QPaintDevice& device);

// Lays the report text out as it is printed: in the report font on the given
// device, word-wrapped into the page width (a word wider than the line is
// broken), tab stops every eight average character widths. Line ends (CR LF,
// or a lone CR or LF) start a new line; a line end at the very end of a text
// adds nothing. Measuring and drawing share this one layout.
class ReportLayout : public WrappedTextMeasurer {
public:
    ReportLayout(QPaintDevice& device, int width);

    int WrappedHeight(std::string_view text) override;
    void Draw(QPainter& painter, std::string_view text, const QPointF& topLeft);

private:
    QString DisplayText(std::string_view text) const;

    QPaintDevice& device_;
    QFont font_;
    QTextOption option_;
    int width_;
};

// The report text cut into the pages of the device.
std::vector<std::string_view> ReportPagesFor(std::string_view text, QPaintDevice& device);

// Paints the report on the device, one page after the other, through a painter
// already begun on it. False when a new page could not be started: the job has
// then failed.
bool PaintReport(std::string_view text, QPagedPaintDevice& device, QPainter& painter);
