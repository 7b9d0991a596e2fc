#include "AnchorLayout.h"

#include <algorithm>

AnchorMargins MarginsFor(const QRect& designRect, AnchorPoint topLeft, AnchorPoint bottomRight, QSize referenceSize)
{
    if (bottomRight == kNoAnchor) {
        bottomRight = topLeft;
    }
    const int width = referenceSize.width();
    const int height = referenceSize.height();
    AnchorMargins margins;
    margins.TopLeft = topLeft;
    margins.BottomRight = bottomRight;
    margins.Left = designRect.left() - width * topLeft.X / 100;
    margins.Top = designRect.top() - height * topLeft.Y / 100;
    margins.Right = designRect.x() + designRect.width() - width * bottomRight.X / 100;
    margins.Bottom = designRect.y() + designRect.height() - height * bottomRight.Y / 100;
    return margins;
}

QRect AnchoredRect(const AnchorMargins& margins, QSize formSize)
{
    const int width = formSize.width();
    const int height = formSize.height();
    const int left = width * margins.TopLeft.X / 100 + margins.Left;
    const int top = height * margins.TopLeft.Y / 100 + margins.Top;
    const int right = width * margins.BottomRight.X / 100 + margins.Right;
    const int bottom = height * margins.BottomRight.Y / 100 + margins.Bottom;
    return QRect(left, top, right - left, bottom - top);
}

QSize EffectiveFormSize(QSize clientSize, QSize referenceSize)
{
    return QSize(std::max(clientSize.width(), referenceSize.width()),
                 std::max(clientSize.height(), referenceSize.height()));
}
