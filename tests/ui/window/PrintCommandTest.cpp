#include "CMainFrame.h"
#include "CQuorvinDoc.h"
#include "CQuorvinView.h"
#include "PrintConfiguration.h"
#include "WindowTestSupport.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

#include <gtest/gtest.h>

namespace {

// Accepts a file dialog with the path typed in.
std::function<void(QWidget*)> SaveAs(const std::string& path)
{
    return [path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog == nullptr) {
            qobject_cast<QDialog*>(modal)->reject();
            FAIL() << "expected a file dialog, got " << modal->metaObject()->className();
        }
        dialog->selectFile(QString::fromStdString(path));
        QMetaObject::invokeMethod(dialog, "accept");
    };
}

}  // namespace

// Where no printer is installed, File > Print offers the report as a PDF file.
TEST(PrintCommand, WithoutPrinterTheReportBecomesAPdfFile)
{
    if (HasInstalledPrinter()) {
        GTEST_SKIP() << "a printer is installed here";
    }
    TemporaryDirectory directory;
    const std::string file = directory.File("station.hxc");
    WriteConfiguration(file, SampleConfiguration());
    TestApplication app(file);
    ModalScript modals;
    modals.Answer(QMessageBox::Yes);
    modals.Then(SaveAs(directory.File("report.pdf")));
    app->Frame().CommandAction(CommandId::FilePrint)->trigger();
    ASSERT_TRUE(WaitFor([&modals] { return modals.Done(); }));
    ASSERT_EQ(modals.Boxes.size(), 1u);
    EXPECT_EQ(modals.Boxes[0].Text, kNoPrinterQuestion);
    EXPECT_EQ(ReadTextFile(directory.File("report.pdf")).substr(0, 5), "%PDF-");

    // A PDF that cannot be written is an error box.
    modals.Answer(QMessageBox::Yes);
    modals.Then(SaveAs(directory.File("report.pdf/inside.pdf")));
    modals.Answer(QMessageBox::Ok);
    app->Frame().CommandAction(CommandId::FilePrint)->trigger();
    ASSERT_TRUE(WaitFor([&modals] { return modals.Done(); }));
    ASSERT_EQ(modals.Boxes.size(), 3u);
    EXPECT_EQ(modals.Boxes[2].Text, kPdfWriteFailedText);
    EXPECT_EQ(modals.Unexpected, 0);
}

// A print job that cannot start is an error box; the printer dialog offers
// neither a page range nor printing to a file.
TEST(PrintCommand, AJobThatCannotStartIsAnErrorBox)
{
    TestApplication app;
    ModalScript modals;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(QStringLiteral("/nonexistent/directory/report.pdf"));
    modals.Then([](QWidget* modal) {
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
        EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintPageRange));
        EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintToFile));
        dialog->accept();
    });
    modals.Answer(QMessageBox::Ok);
    PrintOnChosenPrinter("report text", app->Document().Ui(), printer, &app->Frame());
    ASSERT_TRUE(modals.Done());
    ASSERT_EQ(modals.Boxes.size(), 1u);
    EXPECT_EQ(modals.Boxes[0].Text, kPrintJobFailedText);
    EXPECT_EQ(modals.Boxes[0].Icon, QMessageBox::Critical);
}
