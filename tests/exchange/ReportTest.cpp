#include "ConfigFile.h"
#include "ReportPages.h"
#include "ReportText.h"
#include "ScriptedWindowSystem.h"
#include "TemporaryFile.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>

namespace {

// A fixed-pitch page: a line holds `columns` characters, a line break starts
// a new line (a break at the very end reaches no further), every line is 10
// units high. Counts how often it measured.
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
        std::size_t start = 0;
        while (true) {
            const auto end = text.find('\n', start);
            const std::size_t length = (end == std::string_view::npos ? text.size() : end) - start;
            lines += length == 0 ? 1 : (length + columns_ - 1) / columns_;
            if (end == std::string_view::npos) {
                break;
            }
            start = end + 1;
        }
        return static_cast<int>(lines) * 10;
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
    if (page.Top + measurer.WrappedHeight(rest.substr(0, k)) >= page.Bottom && k > 1) {
        --k;
    }
    return k;
}

std::string RandomText(std::mt19937& random, std::size_t size)
{
    std::uniform_int_distribution<int> pick(0, 9);
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        const int c = pick(random);
        text += c == 0 ? '\n' : c == 1 ? '\r' : static_cast<char>('a' + c);
    }
    return text;
}

}  // namespace

TEST(ReportPages, PageRectangleHasItsMarginsCutTowardsZero)
{
    const PageRect page = ReportPageRect(1000, 2000);
    EXPECT_EQ(page.Left, 75);
    EXPECT_EQ(page.Top, 150);
    EXPECT_EQ(page.Right, 975);
    EXPECT_EQ(page.Bottom, 1950);
    const PageRect odd = ReportPageRect(4959, 7015);
    EXPECT_EQ(odd.Left, 371);     // 371.925
    EXPECT_EQ(odd.Top, 526);      // 526.125
    EXPECT_EQ(odd.Right, 4835);   // 4835.025
    EXPECT_EQ(odd.Bottom, 6839);  // 6839.625
}

TEST(ReportPages, FastSearchFindsWhatMeasuringOneCharacterAtATimeFinds)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> sizes(1, 900);
    std::uniform_int_distribution<int> bottoms(1, 400);
    std::uniform_int_distribution<std::size_t> hints(0, 1200);
    for (int round = 0; round < 400; ++round) {
        const std::string text = RandomText(random, sizes(random));
        GridMeasurer measurer(1 + round % 40);
        const PageRect page{0, 5, 100, 5 + bottoms(random)};
        SCOPED_TRACE(round);
        ASSERT_EQ(CharactersOnPage(text, page, measurer, hints(random)),
                  CharactersOnPageOneByOne(text, page, measurer));
    }
}

TEST(ReportPages, PagesFollowTheFillingRule)
{
    // Lines of 9 characters and CR LF on a page of 3 lines of 20 columns.
    std::string text;
    for (int line = 0; line < 7; ++line) {
        text += "line " + std::to_string(line) + "..\r\n";
    }
    GridMeasurer measurer(20);
    const PageRect page{0, 0, 20, 31};
    const auto pages = SplitIntoPages(text, page, measurer);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0], "line 0..\r\nline 1..\r\nline 2..\r\n");
    EXPECT_EQ(pages[1], "line 3..\r\nline 4..\r\nline 5..\r\n");
    EXPECT_EQ(pages[2], "line 6..\r\n");

    // A page too small for one line still takes one character.
    const auto tiny = SplitIntoPages("abc", PageRect{0, 0, 20, 5}, measurer);
    EXPECT_EQ(tiny, (std::vector<std::string_view>{"a", "b", "c"}));
}

TEST(ReportPages, ALongReportNeedsFewMeasurementsPerPage)
{
    std::string text;
    while (text.size() < kMaxReportBytes) {
        text += "1,\tN,\t\"Point description\",\t5,\t0I12,\t1.000000,\t16\t4\t2\r\n";
    }
    text.resize(kMaxReportBytes);
    GridMeasurer measurer(90);
    const PageRect page = ReportPageRect(1000, 700);
    const auto pages = SplitIntoPages(text, page, measurer);
    std::size_t total = 0;
    for (std::string_view part : pages) {
        total += part.size();
    }
    EXPECT_EQ(total, text.size());
    EXPECT_GE(pages.size(), 20u);
    EXPECT_LT(measurer.Measurements, static_cast<int>(pages.size()) * 25) << measurer.Measurements;
}

TEST(ReportText, IsTheFileTextWithOffsetsCutAt65536Bytes)
{
    auto config = std::make_unique<ConfigTemplate>();
    EXPECT_EQ(ReportText(*config), ConfigFileText(*config, true));
    for (int i = 0; i < 256; ++i) {
        AnalogInputPoint point;
        point.Description = std::string(300, 'x');
        config->AnalogInputs.Append(point);
    }
    const std::string full = ConfigFileText(*config, true);
    ASSERT_GT(full.size(), kMaxReportBytes);
    EXPECT_EQ(ReportText(*config), full.substr(0, kMaxReportBytes));
}

class ReportTemporaryFileTest : public ::testing::Test {
protected:
    ReportTemporaryFileTest()
    {
        for (const char* name : {"XDG_RUNTIME_DIR", "XDG_CACHE_HOME", "HOME"}) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
        ::setenv("XDG_RUNTIME_DIR", directory_.Path().c_str(), 1);
    }
    ~ReportTemporaryFileTest() override
    {
        for (const auto& [name, value] : saved_) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    }

    std::string TemporaryPath() const { return directory_.File("halvex/hxc1E240.tmp"); }

    TemporaryDirectory directory_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
    std::unique_ptr<ConfigTemplate> config_ = std::make_unique<ConfigTemplate>();
    ScriptedWindowSystem ui_;
};

TEST_F(ReportTemporaryFileTest, EveryPrintReusesTheOneTemporaryFile)
{
    const auto first = ReportTextThroughTemporaryFile(*config_, ui_);
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, ReportText(*config_));
    config_->TemplateName = "SECOND";
    const auto second = ReportTextThroughTemporaryFile(*config_, ui_);
    ASSERT_TRUE(second);
    EXPECT_EQ(*second, ReportText(*config_));
    EXPECT_EQ(ReadTextFile(TemporaryPath()), *second);
    EXPECT_EQ(std::filesystem::status(TemporaryPath()).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_TRUE(ui_.Messages.empty());
}

TEST_F(ReportTemporaryFileTest, TemporaryFileProblemsShowTheirErrorBoxes)
{
    // A symbolic link in place of the temporary file is not followed.
    std::filesystem::create_directories(directory_.File("halvex"));
    std::filesystem::permissions(directory_.File("halvex"), std::filesystem::perms::owner_all);
    std::filesystem::create_symlink(directory_.File("elsewhere"), TemporaryPath());
    EXPECT_FALSE(ReportTextThroughTemporaryFile(*config_, ui_));
    EXPECT_FALSE(std::filesystem::exists(directory_.File("elsewhere")));

    ::setenv("XDG_RUNTIME_DIR", "relative", 1);
    ::setenv("XDG_CACHE_HOME", "/proc/no-such-directory", 1);
    EXPECT_FALSE(ReportTextThroughTemporaryFile(*config_, ui_));
    EXPECT_EQ(ui_.Messages, (std::vector{ErrorMessage("Error", "Unable to write temporary file"),
                                         ErrorMessage("Error", "Unable to create temporary file")}));
}
