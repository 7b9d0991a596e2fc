#pragma once

#include <QRect>
#include <QSize>

// A point of a form given in percent (0..100) of its width and height.
struct AnchorPoint {
    int X = -1;
    int Y = -1;

    bool operator==(const AnchorPoint&) const = default;
};

inline constexpr AnchorPoint kAnchorTopLeft{0, 0};
inline constexpr AnchorPoint kAnchorTopCenter{50, 0};
inline constexpr AnchorPoint kAnchorTopRight{100, 0};
inline constexpr AnchorPoint kAnchorMiddleLeft{0, 50};
inline constexpr AnchorPoint kAnchorMiddleCenter{50, 50};
inline constexpr AnchorPoint kAnchorMiddleRight{100, 50};
inline constexpr AnchorPoint kAnchorBottomLeft{0, 100};
inline constexpr AnchorPoint kAnchorBottomCenter{50, 100};
inline constexpr AnchorPoint kAnchorBottomRight{100, 100};
// The bottom-right point of a control that keeps its size and follows its
// top-left anchor.
inline constexpr AnchorPoint kNoAnchor{-1, -1};

// Where a control's edges stand relative to its two anchors: each edge keeps
// its distance (the margin) from its anchor's share of the form size.
struct AnchorMargins {
    AnchorPoint TopLeft;
    AnchorPoint BottomRight;
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// The margins of a control at its design rectangle in a form of the
// reference size. A bottom-right point of kNoAnchor takes the top-left one.
AnchorMargins MarginsFor(const QRect& designRect, AnchorPoint topLeft, AnchorPoint bottomRight, QSize referenceSize);

// The control's rectangle in a form of the given size.
QRect AnchoredRect(const AnchorMargins& margins, QSize formSize);

// The size the controls are laid out for: the client size, never below the
// reference size (a smaller window scrolls the form instead).
QSize EffectiveFormSize(QSize clientSize, QSize referenceSize);
