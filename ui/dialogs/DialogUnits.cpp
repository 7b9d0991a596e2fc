#include "DialogUnits.h"

#include <QFontMetrics>

namespace {

// Rounds value * numerator / denominator to the nearest integer.
int Scale(int value, int numerator, int denominator)
{
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

// The average width of the 52 Latin letters, rounded.
int AverageLetterWidth(const QFontMetrics& metrics)
{
    const int total = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return (total / 26 + 1) / 2;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    averageWidth_ = AverageLetterWidth(metrics);
    height_ = metrics.height();
}

int DialogUnits::X(int units) const { return Scale(units, averageWidth_, 4); }

int DialogUnits::Y(int units) const { return Scale(units, height_, 8); }

QRect DialogUnits::Rect(int x, int y, int width, int height) const
{
    return QRect(X(x), Y(y), X(width), Y(height));
}

QSize DialogUnits::Size(int width, int height) const { return QSize(X(width), Y(height)); }
