#include "CCompanionListBox.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>

namespace {

// Space between the left edge and the text of a line.
constexpr int kTextIndent = 2;

}  // namespace

CCompanionListBox::CCompanionListBox(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    UpdateScrollBars();
}

void CCompanionListBox::ResetContent()
{
    lines_.clear();
    selection_ = -1;
    widest_ = 0;
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    UpdateScrollBars();
    viewport()->update();
}

int CCompanionListBox::AddLine(const QString& text, std::uint32_t number)
{
    return InsertLine(Count(), text, number);
}

void CCompanionListBox::AddLines(std::vector<Line> lines)
{
    lines_.reserve(lines_.size() + lines.size());
    for (Line& line : lines) {
        WidenTo(MeasureLine(line.Text));
        lines_.push_back(std::move(line));
    }
    UpdateScrollBars();
    viewport()->update();
}

int CCompanionListBox::InsertLine(int index, const QString& text, std::uint32_t number)
{
    if (index < 0 || index > Count()) {
        index = Count();
    }
    lines_.insert(lines_.begin() + index, Line{text, number});
    if (selection_ >= index) {
        ++selection_;
    }
    WidenTo(MeasureLine(text));
    UpdateScrollBars();
    viewport()->update();
    return index;
}

void CCompanionListBox::DeleteLine(int index)
{
    if (index < 0 || index >= Count()) {
        return;
    }
    lines_.erase(lines_.begin() + index);
    if (selection_ == index) {
        selection_ = -1;
    } else if (selection_ > index) {
        --selection_;
    }
    MeasureAllLines();
    UpdateScrollBars();
    viewport()->update();
}

QString CCompanionListBox::Text(int index) const
{
    return index >= 0 && index < Count() ? lines_[static_cast<std::size_t>(index)].Text : QString();
}

std::uint32_t CCompanionListBox::Number(int index) const
{
    return index >= 0 && index < Count() ? lines_[static_cast<std::size_t>(index)].Number : 0;
}

void CCompanionListBox::SetCurrentSelection(int index)
{
    selection_ = index >= 0 && index < Count() ? index : -1;
    if (selection_ >= 0) {
        EnsureVisible(selection_);
    }
    viewport()->update();
}

int CCompanionListBox::LineAt(const QPoint& viewportPoint) const
{
    if (viewportPoint.y() < 0) {
        return -1;
    }
    const int index = verticalScrollBar()->value() + viewportPoint.y() / LineHeight();
    return index < Count() ? index : -1;
}

QRect CCompanionListBox::LineRect(int index) const
{
    const int top = (index - verticalScrollBar()->value()) * LineHeight();
    return QRect(0, top, std::max(viewport()->width(), widest_), LineHeight());
}

int CCompanionListBox::MeasureLine(const QString& text) const
{
    const int border = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    return fontMetrics().horizontalAdvance(text) + 3 * border;
}

void CCompanionListBox::WidenTo(int width)
{
    widest_ = std::max(widest_, width);
}

void CCompanionListBox::MeasureAllLines()
{
    widest_ = 0;
    for (const Line& line : lines_) {
        WidenTo(MeasureLine(line.Text));
    }
}

int CCompanionListBox::LineHeight() const { return std::max(1, fontMetrics().height()); }

int CCompanionListBox::VisibleLineCount() const { return std::max(1, viewport()->height() / LineHeight()); }

void CCompanionListBox::UpdateScrollBars()
{
    const int visible = VisibleLineCount();
    verticalScrollBar()->setRange(0, std::max(0, Count() - visible));
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setRange(0, std::max(0, widest_ - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(std::max(1, fontMetrics().averageCharWidth()));
}

void CCompanionListBox::EnsureVisible(int index)
{
    QScrollBar* bar = verticalScrollBar();
    const int visible = VisibleLineCount();
    if (index < bar->value()) {
        bar->setValue(index);
    } else if (index >= bar->value() + visible) {
        bar->setValue(index - visible + 1);
    }
}

void CCompanionListBox::SelectByUser(int index)
{
    index = std::clamp(index, 0, Count() - 1);
    if (Count() == 0 || index == selection_) {
        return;
    }
    SetCurrentSelection(index);
    emit SelectionChanged();
}

void CCompanionListBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.setClipRect(event->rect());
    const int first = verticalScrollBar()->value();
    const int last = std::min(Count() - 1, first + VisibleLineCount());
    const int shift = horizontalScrollBar()->value();
    const QPalette& colours = palette();
    for (int index = first; index <= last; ++index) {
        const QRect row = LineRect(index).translated(-shift, 0);
        const bool selected = index == selection_;
        if (selected) {
            painter.fillRect(row, colours.brush(QPalette::Highlight));
        }
        painter.setPen(colours.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter.drawText(row.adjusted(kTextIndent, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         lines_[static_cast<std::size_t>(index)].Text);
        if (selected && hasFocus()) {
            DrawFocusRect(painter, row, colours.color(QPalette::Highlight));
        }
    }
    // Without a selection the focus is shown on the first line, or around
    // the empty list, so that a user who tabs here sees where the keys go.
    if (hasFocus() && (selection_ < 0 || selection_ >= Count())) {
        const QRect focus = Count() > 0 ? LineRect(0).translated(-shift, 0) : viewport()->rect().adjusted(1, 1, -1, -1);
        DrawFocusRect(painter, focus, colours.color(QPalette::Base));
    }
}

void CCompanionListBox::DrawFocusRect(QPainter& painter, const QRect& rect, const QColor& background)
{
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect;
    option.backgroundColor = background;
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void CCompanionListBox::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CCompanionListBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const int index = LineAt(event->position().toPoint());
    if (index >= 0) {
        SelectByUser(index);
    }
}

void CCompanionListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && LineAt(event->position().toPoint()) >= 0) {
        emit LineDoubleClicked();
    }
}

void CCompanionListBox::keyPressEvent(QKeyEvent* event)
{
    const int page = VisibleLineCount();
    const int current = selection_;
    switch (event->key()) {
    case Qt::Key_Up:
        SelectByUser(current < 0 ? 0 : current - 1);
        break;
    case Qt::Key_Down:
        SelectByUser(current + 1);
        break;
    case Qt::Key_PageUp:
        SelectByUser(current - page + 1);
        break;
    case Qt::Key_PageDown:
        SelectByUser(current < 0 ? page - 1 : current + page - 1);
        break;
    case Qt::Key_Home:
        SelectByUser(0);
        break;
    case Qt::Key_End:
        SelectByUser(Count() - 1);
        break;
    case Qt::Key_Left:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Right:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CCompanionListBox::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    emit FocusChanged(true);
}

void CCompanionListBox::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
    emit FocusChanged(false);
}

void CCompanionListBox::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        MeasureAllLines();
        UpdateScrollBars();
        viewport()->update();
    }
}
