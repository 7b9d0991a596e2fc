#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

// Dialog units of a font: a horizontal unit is a quarter of the font's
// average character width, a vertical unit an eighth of its height. Layouts
// given in dialog units keep their proportions under every font.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int X(int units) const;
    int Y(int units) const;
    QRect Rect(int x, int y, int width, int height) const;
    QSize Size(int width, int height) const;

private:
    int averageWidth_;
    int height_;
};
