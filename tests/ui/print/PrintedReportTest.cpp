#include "ConfigFile.h"
#include "ProcessRunner.h"
#include "ReportPainter.h"
#include "ReportPdf.h"
#include "ReportText.h"
#include "TestFiles.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <memory>
#include <iterator>
#include <sstream>

namespace {

std::unique_ptr<ConfigTemplate> Configuration(int points, const std::string& description)
{
    auto config = std::make_unique<ConfigTemplate>();
    config->TemplateName = "FEEDER";
    for (int i = 0; i < points; ++i) {
        AnalogInputPoint point;
        point.Description = description + std::to_string(i);
        point.Address = "0I" + std::to_string(i);
        config->AnalogInputs.Append(point);
    }
    return config;
}

std::vector<std::string> Words(std::string_view text)
{
    std::istringstream in{std::string(text)};
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

class PrintedReportTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "print_tests";
        static char* argv[] = {name, nullptr};
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static QGuiApplication application(argc, argv);
    }

    // A PDF device set up as halvex-cli print sets up its pages.
    PrintedReportTest() : writer_(&buffer_) { SetUpReportPdf(writer_); }

    QBuffer buffer_;
    QPdfWriter writer_;
};

}  // namespace

// The page search relies on the wrapped height growing with the text; with
// Qt's layout of a real report (tabs, CR LF, wrapped lines) it finds the same
// pages as measuring one character at a time.
TEST_F(PrintedReportTest, PagesMatchTheOneCharacterAtATimeRule)
{
    QImage device(420, 300, QImage::Format_RGB32);
    const PageRect page = ReportPageRect(device.width(), device.height());
    ReportLayout layout(device, page.Width());
    const std::string text = ReportText(*Configuration(20, "A description long enough to be wrapped "));
    std::string_view rest = text;
    for (int pageNumber = 0; pageNumber < 4; ++pageNumber) {
        std::size_t k = 1;
        while (k < rest.size() && page.Top + layout.WrappedHeight(rest.substr(0, k + 1)) < page.Bottom) {
            ++k;
        }
        ASSERT_EQ(CharactersOnPage(rest, page, layout, 2048), k) << pageNumber;
        ASSERT_EQ(CharactersOnPage(rest, page, layout, 1), k) << pageNumber;
        rest.remove_prefix(k);
    }
}

// The 9-point height is rounded to whole pixels of the device: 37.5 gives 38
// at 300 dpi, and 150 at the PDF's 1200 dpi.
TEST_F(PrintedReportTest, FontHeightIsRoundedToDevicePixels)
{
    QImage lowResolution(10, 10, QImage::Format_RGB32);
    lowResolution.setDotsPerMeterY(qRound(300 / 0.0254));
    EXPECT_EQ(lowResolution.logicalDpiY(), 300);
    EXPECT_EQ(ReportFont(lowResolution).pixelSize(), 38);
    EXPECT_EQ(ReportFont(writer_).pixelSize(), qRound(9 * writer_.logicalDpiY() / 72.0));
}

// Tab stops eight average character widths apart, at the printer's resolution
// too; line ends start lines, a final one adds none; long words are broken.
TEST_F(PrintedReportTest, TabsLineEndsAndLongWords)
{
    const qreal average = QFontMetricsF(ReportFont(writer_), &writer_).averageCharWidth();
    ReportLayout layout(writer_, static_cast<int>(20 * average));
    const int line = layout.WrappedHeight("a");
    EXPECT_EQ(layout.WrappedHeight("a\tb\tc"), line);
    EXPECT_EQ(layout.WrappedHeight("a\tb\tc\td"), 2 * line);
    EXPECT_EQ(layout.WrappedHeight("a\r\n"), line);
    EXPECT_EQ(layout.WrappedHeight("a\r"), line);
    EXPECT_EQ(layout.WrappedHeight("a\nb\rc"), 3 * line);
    EXPECT_EQ(layout.WrappedHeight("a\r\n\r\nb"), 3 * line);
    EXPECT_GT(layout.WrappedHeight(std::string(60, 'W')), line);
}

// halvex-cli print: the PDF's pages hold the report's words, cut where the
// filling rule cuts them.
TEST_F(PrintedReportTest, PdfPagesHoldTheReportCutByTheFillingRule)
{
    TemporaryDirectory directory;
    const auto config = Configuration(120, "Current ");
    ASSERT_TRUE(WriteConfigFile(*config, directory.File("long.hxc"), false));
    const ProcessResult print =
        RunProcess({HALVEX_CLI_PATH, "print", directory.File("long.hxc"), directory.File("long.pdf")});
    ASSERT_EQ(print.ExitStatus, 0);
    EXPECT_EQ(print.Err, "");

    const std::string report = ReportText(*config);
    const auto expected = ReportPagesFor(report, writer_);
    ASSERT_GE(expected.size(), 2u);
    const PageRect page = ReportPageRect(writer_.width(), writer_.height());
    ReportLayout layout(writer_, page.Width());
    EXPECT_LT(page.Top + layout.WrappedHeight(report.substr(0, expected[0].size())), page.Bottom);
    EXPECT_GE(page.Top + layout.WrappedHeight(report.substr(0, expected[0].size() + 1)), page.Bottom);

    // pdftotext gives the font's ligatures (the "ff" of "Offset") as one character.
    const ProcessResult text = RunProcess({"/usr/bin/pdftotext", "-layout", directory.File("long.pdf"), "-"});
    std::istringstream pages(QString::fromStdString(text.Out).normalized(QString::NormalizationForm_KC).toStdString());
    std::size_t count = 0;
    for (std::string pageText; std::getline(pages, pageText, '\f'); ++count) {
        ASSERT_LT(count, expected.size());
        EXPECT_EQ(Words(pageText), Words(expected[count])) << "page " << count;
    }
    EXPECT_EQ(count, expected.size());
    EXPECT_NE(text.Out.find("SPA_TEMPLATE = FEEDER"), std::string::npos);

    EXPECT_EQ(RunProcess({HALVEX_CLI_PATH, "print", directory.File("missing.hxc"), directory.File("x.pdf")}).Err,
              "Error loading configuration file!\n" + directory.File("missing.hxc") + ": No such file or directory\n");
    const ProcessResult unwritable =
        RunProcess({HALVEX_CLI_PATH, "print", directory.File("long.hxc"), directory.File("no/dir.pdf")});
    EXPECT_EQ(unwritable.ExitStatus, 1);
    EXPECT_EQ(unwritable.Err, "Unable to write the PDF file\n");
}

// halvex-cli print writes the PDF beside its target and renames it: a write
// that fails (here at a file size limit, an error and not death by signal)
// keeps the old PDF and leaves nothing behind.
TEST_F(PrintedReportTest, AFailedPrintKeepsTheOldPdf)
{
    TemporaryDirectory directory;
    const std::string in = directory.File("in.hxc");
    const std::string out = directory.File("out.pdf");
    ASSERT_TRUE(WriteConfigFile(*Configuration(120, "Current "), in, false));
    WriteTextFile(out, "old");
    const ProcessResult limited =
        RunProcess({"/bin/sh", "-c", "ulimit -f 8; exec \"$0\" print \"$1\" \"$2\"", HALVEX_CLI_PATH, in, out});
    EXPECT_EQ(limited.ExitStatus, 1);
    EXPECT_EQ(limited.Err, "Unable to write the PDF file\n");
    EXPECT_EQ(ReadTextFile(out), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory.Path()), std::filesystem::directory_iterator{}),
              2);
}
