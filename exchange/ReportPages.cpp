#include "ReportPages.h"

#include <algorithm>

namespace {

// The first guess for a first page: a few dozen report lines.
constexpr std::size_t kFirstPageGuess = 2048;

class PageFit {
public:
    PageFit(std::string_view rest, const PageRect& page, WrappedTextMeasurer& measurer)
        : rest_(rest), page_(page), measurer_(measurer)
    {
    }

    bool Fits(std::size_t count) const
    {
        return page_.Top + measurer_.WrappedHeight(rest_.substr(0, count)) < page_.Bottom;
    }

private:
    std::string_view rest_;
    const PageRect& page_;
    WrappedTextMeasurer& measurer_;
};

}  // namespace

PageRect ReportPageRect(int printableWidth, int printableHeight)
{
    const auto part = [](int length, int perThousand) {
        return static_cast<int>(static_cast<long long>(length) * perThousand / 1000);
    };
    return {part(printableWidth, 75), part(printableHeight, 75), part(printableWidth, 975),
            part(printableHeight, 975)};
}

// Since the height grows with the count, the counts that fit form a prefix of
// 1..size: the answer is the last of them. A bracket [fitting, failing] is
// found by stepping out from the hint with doubling steps, then halved down to
// neighbours. Count 0 counts as fitting.
std::size_t CharactersOnPage(std::string_view rest, const PageRect& page, WrappedTextMeasurer& measurer,
                             std::size_t hint)
{
    const std::size_t size = rest.size();
    if (size <= 1) {
        return size;
    }
    const PageFit fit(rest, page, measurer);
    const std::size_t guess = std::clamp<std::size_t>(hint, 1, size);
    std::size_t step = std::max<std::size_t>(1, guess / 16);
    std::size_t fitting = 0;
    std::size_t failing = 0;
    if (fit.Fits(guess)) {
        fitting = guess;
        while (true) {
            if (fitting == size) {
                return size;
            }
            const std::size_t probe = std::min(size, fitting + step);
            if (!fit.Fits(probe)) {
                failing = probe;
                break;
            }
            fitting = probe;
            step *= 2;
        }
    } else {
        failing = guess;
        while (failing > 1) {
            const std::size_t probe = failing > step ? failing - step : 0;
            if (probe == 0 || fit.Fits(probe)) {
                fitting = probe;
                break;
            }
            failing = probe;
            step *= 2;
        }
    }
    while (failing - fitting > 1) {
        const std::size_t middle = fitting + (failing - fitting) / 2;
        if (fit.Fits(middle)) {
            fitting = middle;
        } else {
            failing = middle;
        }
    }
    return std::max<std::size_t>(fitting, 1);
}

std::vector<std::string_view> SplitIntoPages(std::string_view text, const PageRect& page,
                                             WrappedTextMeasurer& measurer)
{
    std::vector<std::string_view> pages;
    std::size_t hint = kFirstPageGuess;
    while (!text.empty()) {
        const std::size_t count = CharactersOnPage(text, page, measurer, hint);
        pages.push_back(text.substr(0, count));
        text.remove_prefix(count);
        hint = count;
    }
    return pages;
}
