#include "ConfigFile.h"
#include "ReportPages.h"
#include "ReportText.h"
#include "ScriptedWindowSystem.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace {

// A fixed-pitch page of `columns` characters a line and 10 units a line; a
// line break starts a new line unless it ends the text.
class GridMeasurer : public WrappedTextMeasurer {
public:
    explicit GridMeasurer(std::size_t columns) : columns_(columns) {}

    int WrappedHeight(std::string_view text) override
    {
        ++Measurements;
        if (!text.empty() && text.back() == '\n') {
            text.remove_suffix(1);
        }
        std::size_t lines = 0;
        for (std::size_t start = 0;;) {
            const auto end = std::min(text.find('\n', start), text.size());
            lines += std::max<std::size_t>(1, (end - start + columns_ - 1) / columns_);
            if (end == text.size()) {
                return static_cast<int>(lines) * 10;
            }
            start = end + 1;
        }
    }

    int Measurements = 0;

private:
    std::size_t columns_;
};

// The filling rule measured one more character at a time.
std::size_t CharactersOnPageOneByOne(std::string_view rest, const PageRect& page, WrappedTextMeasurer& measurer)
{
    std::size_t k = 1;
    while (page.Top + measurer.WrappedHeight(rest.substr(0, k)) < page.Bottom && k < rest.size()) {
        ++k;
    }
    return page.Top + measurer.WrappedHeight(rest.substr(0, k)) >= page.Bottom && k > 1 ? k - 1 : k;
}

}  // namespace

TEST(ReportPages, PageRectangleHasItsMarginsCutTowardsZero)
{
    const PageRect page = ReportPageRect(4959, 7015);
    EXPECT_EQ((std::vector{page.Left, page.Top, page.Right, page.Bottom}), (std::vector{371, 526, 4835, 6839}));
}

TEST(ReportPages, FastSearchFindsWhatMeasuringOneCharacterAtATimeFinds)
{
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        std::string text(1 + random() % 900, 'x');
        for (char& c : text) {
            c = "\n\rabcdefgh"[random() % 10];
        }
        GridMeasurer measurer(1 + round % 40);
        const PageRect page{0, 5, 100, 6 + static_cast<int>(random() % 400)};
        ASSERT_EQ(CharactersOnPage(text, page, measurer, random() % 1200),
                  CharactersOnPageOneByOne(text, page, measurer))
            << round;
    }
}

TEST(ReportPages, PagesFollowTheFillingRule)
{
    GridMeasurer measurer(20);
    const std::string text =
        CrLfLines("line 0..", "line 1..", "line 2..", "line 3..", "line 4..", "line 5..", "line 6..");
    EXPECT_EQ(SplitIntoPages(text, PageRect{0, 0, 20, 31}, measurer),
              (std::vector<std::string_view>{CrLfLines("line 0..", "line 1..", "line 2.."),
                                             CrLfLines("line 3..", "line 4..", "line 5.."), CrLfLines("line 6..")}));
    // A page too small for one line still takes one character.
    EXPECT_EQ(SplitIntoPages("abc", PageRect{0, 0, 20, 5}, measurer), (std::vector<std::string_view>{"a", "b", "c"}));
}

TEST(ReportPages, ALongReportNeedsFewMeasurementsPerPage)
{
    std::string text;
    while (text.size() < kMaxReportBytes) {
        text += "1,\tN,\t\"Point description\",\t5,\t0I12,\t1.000000,\t16\t4\t2\r\n";
    }
    GridMeasurer measurer(90);
    const auto pages = SplitIntoPages(text, ReportPageRect(1000, 700), measurer);
    EXPECT_GE(pages.size(), 20u);
    EXPECT_EQ(pages.back().data() + pages.back().size(), text.data() + text.size());
    EXPECT_LT(measurer.Measurements, static_cast<int>(pages.size()) * 25) << measurer.Measurements;
}

TEST(ReportText, IsTheFileTextWithOffsetsCutAt65536Bytes)
{
    auto config = std::make_unique<ConfigTemplate>();
    for (int i = 0; i < 256; ++i) {
        AnalogInputPoint point;
        point.Description = std::string(300, 'x');
        config->AnalogInputs.Append(point);
    }
    const std::string full = ConfigFileText(*config, true);
    ASSERT_GT(full.size(), kMaxReportBytes);
    EXPECT_EQ(ReportText(*config), full.substr(0, kMaxReportBytes));
}

#ifndef _WIN32  // the XDG directories and a POSIX file size limit
// The print writes the report to a temporary file of its own in the private
// directory (here below XDG_RUNTIME_DIR), reads it back and deletes it.
TEST(ReportText, GoesThroughATemporaryFileOfItsOwn)
{
    TemporaryDirectory directory;
    const std::string savedRuntime = std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "";
    ::setenv("XDG_RUNTIME_DIR", directory.Path().c_str(), 1);
    auto config = std::make_unique<ConfigTemplate>();
    config->TemplateName = "SECOND";
    ScriptedWindowSystem ui;
    EXPECT_EQ(ReportTextThroughTemporaryFile(*config, ui), ReportText(*config));
    EXPECT_TRUE(std::filesystem::is_empty(directory.File("halvex")));
    {
        const FileSizeLimit limit(16);
        EXPECT_FALSE(ReportTextThroughTemporaryFile(*config, ui));
    }
    EXPECT_TRUE(std::filesystem::is_empty(directory.File("halvex")));

    ::setenv("XDG_RUNTIME_DIR", "relative", 1);
    ::setenv("XDG_CACHE_HOME", "/proc/no-such-directory", 1);
    EXPECT_FALSE(ReportTextThroughTemporaryFile(*config, ui));
    ::setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
    ::unsetenv("XDG_CACHE_HOME");
    EXPECT_EQ(ui.Messages, (std::vector{ErrorMessage("Error", "Unable to write temporary file"),
                                        ErrorMessage("Error", "Unable to create temporary file")}));
}
#endif
