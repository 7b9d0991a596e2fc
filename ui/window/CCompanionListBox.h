#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QString>

#include <cstdint>
#include <vector>

class QPainter;

// A single-selection list box of text lines, each carrying a number. Its
// horizontal scroll range follows its widest line: appending or inserting a
// line widens it when the line is wider than any before; deleting a line
// measures the remaining lines again.
class CCompanionListBox : public QAbstractScrollArea {
    Q_OBJECT

public:
    struct Line {
        QString Text;
        std::uint32_t Number = 0;
    };

    explicit CCompanionListBox(QWidget* parent = nullptr);

    void ResetContent();
    int AddLine(const QString& text, std::uint32_t number = 0);
    // Appends the lines with one repaint and one scroll bar update.
    void AddLines(std::vector<Line> lines);
    int InsertLine(int index, const QString& text, std::uint32_t number = 0);
    void DeleteLine(int index);

    int Count() const { return static_cast<int>(lines_.size()); }
    QString Text(int index) const;
    std::uint32_t Number(int index) const;

    // -1 when no line is selected. Setting an index outside the list clears
    // the selection.
    int CurrentSelection() const { return selection_; }
    void SetCurrentSelection(int index);

    // The widest line in pixels, three border widths included; the
    // horizontal extent that the scroll bar covers.
    int WidestLine() const { return widest_; }

    // The index of the line at a point of the viewport; -1 below the last line.
    int LineAt(const QPoint& viewportPoint) const;
    QRect LineRect(int index) const;

signals:
    // The user changed the selection (mouse or keyboard).
    void SelectionChanged();
    void LineDoubleClicked();
    void FocusChanged(bool hasFocus);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void DrawFocusRect(QPainter& painter, const QRect& rect, const QColor& background);
    int MeasureLine(const QString& text) const;
    void WidenTo(int width);
    void MeasureAllLines();
    void UpdateScrollBars();
    int LineHeight() const;
    int VisibleLineCount() const;
    void EnsureVisible(int index);
    void SelectByUser(int index);

    std::vector<Line> lines_;
    int selection_ = -1;
    int widest_ = 0;
};
