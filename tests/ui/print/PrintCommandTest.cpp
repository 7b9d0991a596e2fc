#include "ConfigFile.h"
#include "GuiApplication.h"
#include "ProcessRunner.h"
#include "ReportPainter.h"
#include "ReportPdf.h"
#include "ReportText.h"
#include "TestFiles.h"

#include <QBuffer>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace {

std::vector<std::string> Words(std::string_view text)
{
    std::istringstream in{std::string(text)};
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

// The text of each page of a PDF, as pdftotext gives it, with the font's
// ligatures (the "ff" of "Offset") taken apart again.
std::vector<std::string> PdfPages(const std::string& path)
{
    const ProcessResult result = RunProcess({"/usr/bin/pdftotext", "-layout", path, "-"});
    EXPECT_EQ(result.ExitStatus, 0) << result.Err;
    const std::string text =
        QString::fromStdString(result.Out).normalized(QString::NormalizationForm_KC).toStdString();
    std::vector<std::string> pages;
    std::size_t start = 0;
    for (auto end = text.find('\f'); end != std::string::npos; end = text.find('\f', start)) {
        pages.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pages;
}

std::unique_ptr<ConfigTemplate> LongConfiguration()
{
    auto config = std::make_unique<ConfigTemplate>();
    config->TemplateName = "FEEDER";
    for (int i = 0; i < 120; ++i) {
        AnalogInputPoint ai;
        ai.Description = "Current " + std::to_string(i);
        ai.SlaveAddress = 5;
        ai.Address = "0I" + std::to_string(i);
        config->AnalogInputs.Append(ai);
    }
    return config;
}

}  // namespace

TEST(PrintCommand, PdfPagesHoldTheReportCutByTheFillingRule)
{
    TestGuiApplication();
    TemporaryDirectory directory;
    const auto config = LongConfiguration();
    ASSERT_TRUE(WriteConfigFile(*config, directory.File("long.hxc"), false));
    const ProcessResult print =
        RunProcess({HALVEX_CLI_PATH, "print", directory.File("long.hxc"), directory.File("long.pdf")});
    ASSERT_EQ(print.ExitStatus, 0) << print.Err;
    EXPECT_EQ(print.Err, "");

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    SetUpReportPdf(writer);
    const std::string report = ReportText(*config);
    const auto expectedPages = ReportPagesFor(report, writer);
    ASSERT_GE(expectedPages.size(), 2u);
    // The first break, checked against the rule itself: the first page ends
    // with the last character for which the text still ends above the bottom.
    const PageRect page = ReportPageRect(writer.width(), writer.height());
    ReportLayout layout(writer, page.Width());
    const std::size_t firstPage = expectedPages[0].size();
    EXPECT_LT(page.Top + layout.WrappedHeight(std::string_view(report).substr(0, firstPage)), page.Bottom);
    EXPECT_GE(page.Top + layout.WrappedHeight(std::string_view(report).substr(0, firstPage + 1)), page.Bottom);

    const auto pages = PdfPages(directory.File("long.pdf"));
    ASSERT_EQ(pages.size(), expectedPages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Words(pages[i]), Words(expectedPages[i]));
    }
    EXPECT_NE(pages[0].find("SPA_TEMPLATE = FEEDER"), std::string::npos);
    EXPECT_NE(pages[0].find("[ANALOG_INPUT]"), std::string::npos);
    EXPECT_NE(pages.back().find("[ONLINE_POLL_COMMAND]"), std::string::npos);
}

TEST(PrintCommand, FailuresAreReported)
{
    TemporaryDirectory directory;
    const ProcessResult missing =
        RunProcess({HALVEX_CLI_PATH, "print", directory.File("missing.hxc"), directory.File("out.pdf")});
    EXPECT_EQ(missing.ExitStatus, 1);
    EXPECT_EQ(missing.Err, "Error loading configuration file!\n");

    const auto config = std::make_unique<ConfigTemplate>();
    ASSERT_TRUE(WriteConfigFile(*config, directory.File("empty.hxc"), false));
    const ProcessResult unwritable =
        RunProcess({HALVEX_CLI_PATH, "print", directory.File("empty.hxc"), directory.File("no/such/dir.pdf")});
    EXPECT_EQ(unwritable.ExitStatus, 1);
    EXPECT_EQ(unwritable.Err, "Unable to write the PDF file\n");
}
