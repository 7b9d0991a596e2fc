#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// How the printed report is cut into pages. The text is word-wrapped into a
// page rectangle, and each page takes as many characters as stay above the
// rectangle's bottom edge, at least one.

struct PageRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
};

// The rectangle inside a printable area of the given size in device pixels:
// margins of 7.5 % on the left and top and 2.5 % on the right and bottom, each
// edge cut to an integer towards zero.
PageRect ReportPageRect(int printableWidth, int printableHeight);

// Measures text the way the page is drawn.
class WrappedTextMeasurer {
public:
    virtual ~WrappedTextMeasurer() = default;
    // The height of the text word-wrapped into the page rectangle's width, tab
    // characters expanded. It never shrinks when a character is appended.
    virtual int WrappedHeight(std::string_view text) = 0;
};

// The number of characters from the start of `rest` that go on one page: the
// largest k not above rest.size() for which the first k characters, wrapped
// from the top of the page, end above its bottom; at least 1. `hint` is a
// guess of the answer (the previous page's count, say); a good guess makes the
// search shorter, any guess gives the same answer.
std::size_t CharactersOnPage(std::string_view rest, const PageRect& page, WrappedTextMeasurer& measurer,
                             std::size_t hint);

// The whole text cut into pages, in order.
std::vector<std::string_view> SplitIntoPages(std::string_view text, const PageRect& page,
                                             WrappedTextMeasurer& measurer);
