#include "ConfigTemplate.h"
#include "GuiApplication.h"
#include "ReportPainter.h"
#include "ReportPdf.h"
#include "ReportText.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <memory>

namespace {

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

std::string SampleReport()
{
    auto config = std::make_unique<ConfigTemplate>();
    config->TemplateName = "FEEDER";
    for (int i = 0; i < 20; ++i) {
        AnalogInputPoint ai;
        ai.Description = i % 3 == 0 ? "A description long enough to be wrapped on a narrow page " + std::to_string(i)
                                    : "Current " + std::to_string(i);
        ai.SlaveAddress = 5;
        ai.Address = "0I" + std::to_string(i);
        config->AnalogInputs.Append(ai);
    }
    return ReportText(*config);
}

class ReportLayoutTest : public ::testing::Test {
protected:
    void SetUp() override { TestGuiApplication(); }
};

}  // namespace

// The page search relies on the wrapped height growing with the text; with
// Qt's layout of a real report (tabs, CR LF, wrapped lines) it finds the same
// pages as measuring one character at a time.
TEST_F(ReportLayoutTest, PagesMatchTheOneCharacterAtATimeRule)
{
    QImage device(420, 300, QImage::Format_RGB32);
    const PageRect page = ReportPageRect(device.width(), device.height());
    ReportLayout layout(device, page.Width());
    const std::string text = SampleReport();
    std::string_view rest = text;
    for (int pageNumber = 0; pageNumber < 4 && !rest.empty(); ++pageNumber) {
        SCOPED_TRACE(pageNumber);
        const std::size_t expected = CharactersOnPageOneByOne(rest, page, layout);
        ASSERT_EQ(CharactersOnPage(rest, page, layout, 2048), expected);
        ASSERT_EQ(CharactersOnPage(rest, page, layout, 1), expected);
        rest.remove_prefix(expected);
    }
    EXPECT_FALSE(rest.empty()) << "the sample should need more than four pages";
}

// Tab stops lie eight average character widths apart on a printer's
// resolution as well.
TEST_F(ReportLayoutTest, TabsExpandToEightAverageCharacterWidths)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    SetUpReportPdf(writer);
    const qreal average = QFontMetricsF(ReportFont(), &writer).averageCharWidth();
    ReportLayout layout(writer, static_cast<int>(20 * average));
    const int oneLine = layout.WrappedHeight("a");
    EXPECT_EQ(layout.WrappedHeight("a\tb\tc"), oneLine);
    EXPECT_EQ(layout.WrappedHeight("a\tb\tc\td"), 2 * oneLine);
}

TEST_F(ReportLayoutTest, LineEndsStartLinesButATrailingOneAddsNothing)
{
    QImage device(400, 300, QImage::Format_RGB32);
    ReportLayout layout(device, 360);
    const int oneLine = layout.WrappedHeight("a");
    EXPECT_EQ(layout.WrappedHeight("a\r\n"), oneLine);
    EXPECT_EQ(layout.WrappedHeight("a\r"), oneLine);
    EXPECT_EQ(layout.WrappedHeight("a\r\nb"), 2 * oneLine);
    EXPECT_EQ(layout.WrappedHeight("a\nb\rc"), 3 * oneLine);
    EXPECT_EQ(layout.WrappedHeight("a\r\n\r\nb"), 3 * oneLine);
    // A word wider than the line is broken rather than run off the page.
    EXPECT_GT(layout.WrappedHeight(std::string(200, 'W')), oneLine);
}
