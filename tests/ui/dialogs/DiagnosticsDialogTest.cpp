#include "DiagnosticsDialog.h"

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

namespace L = DiagnosticsLayout;

DiagnosticsRecord SampleRecord()
{
    std::vector<std::uint8_t> bytes(L::kLengthWithPollCycle, 0);
    const std::uint8_t clock[] = {0x07, 0xD5, 0x05, 0x0A, 0x08, 0x03, 0x09};
    std::copy(std::begin(clock), std::end(clock), bytes.begin());
    bytes[L::kModuleStatus] = 1;
    bytes[L::kFileRevision] = 2;
    std::fill_n(bytes.begin() + L::kCounters, 4, 0xFF);
    const std::uint8_t event[] = {0x00, 0x07, 0x0C, 0x01, 0xF4, 0x00, 0x02, 0x45, 0x03, 0xFF, 0xFF, 0xFF, 0xFF};
    std::copy(std::begin(event), std::end(event), bytes.begin() + L::kEvents + 13);
    bytes[L::kStatusCode] = 134;
    bytes[L::kProblemCategory] = 'I';
    bytes[L::kPollCycleTime + 3] = 50;
    return *DecodeDiagnostics(bytes.data(), bytes.size());
}

}  // namespace

TEST(DiagnosticsDialog, ShowsEveryFieldReadOnlyWhereTheLayoutPutsIt)
{
    DiagnosticsDialog dialog;
    dialog.Record = SampleRecord();
    dialog.ShowFields();
    dialog.show();
    const DialogUnits units(dialog.font());
    EXPECT_EQ(dialog.windowTitle(), "Diagnostics");
    EXPECT_EQ(dialog.size(), units.Size(407, 326));

    const std::pair<const char*, const char*> shown[] = {
        {"File Revision :", "2.00"},
        {"Status :", "OK"},
        {"Error Type:", "InUse flag cleared"},
        {"Problem Cat.:", "I"},
        {"SPA Gateway Time:", "2005-05-10 08:03:09"},
        {"Transmitted:", "4294967295"},
        {"Poll Cycle Time (ms):", "50"},
    };
    for (const auto& [label, value] : shown) {
        QLineEdit* edit = dialog.FieldEdit(label);
        ASSERT_NE(edit, nullptr) << label;
        EXPECT_EQ(edit->text().toStdString(), value) << label;
    }
    int edits = 0;
    for (const DiagnosticsField& field : DiagnosticsFields(dialog.Record)) {
        QLineEdit* edit = dialog.FieldEdit(field.Label);
        ASSERT_NE(edit, nullptr) << field.Label;
        EXPECT_TRUE(edit->isReadOnly()) << field.Label;
        ++edits;
    }
    EXPECT_EQ(edits, 20);
    EXPECT_EQ(dialog.FieldEdit("ProblemDno:")->geometry(), units.Rect(70, 145, 120, 15));
    EXPECT_EQ(dialog.FieldEdit("Module Status Word:")->geometry(), units.Rect(305, 46, 81, 15));
    EXPECT_EQ(dialog.FieldEdit("Poll Cycle Time (ms):")->geometry(), units.Rect(305, 280, 81, 15));

    // Each edit has its label to the left of it, whole, inside the group.
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        const std::string text = label->text().toStdString();
        ASSERT_NE(label->buddy(), nullptr) << text;
        EXPECT_LT(label->geometry().right(), label->buddy()->geometry().left()) << text;
        EXPECT_EQ(label->buddy()->objectName(), label->text());
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << text;
        const int groupLeft = units.X(label->buddy()->x() < units.X(205) ? 10 : 205);
        EXPECT_GT(label->x(), groupLeft) << text;
    }

    const std::pair<const char*, QRect> groups[] = {
        {"SPA Diagnostics", units.Rect(5, 5, 395, 300)},
        {"Configuration", units.Rect(10, 15, 190, 155)},
        {"Event Buffer", units.Rect(10, 175, 190, 105)},
        {"Module", units.Rect(205, 15, 190, 50)},
        {"SPA Messages Statistics", units.Rect(205, 70, 190, 230)},
    };
    for (const auto& [title, rect] : groups) {
        auto* group = dialog.findChild<QGroupBox*>(QString::fromLatin1(title));
        ASSERT_NE(group, nullptr) << title;
        EXPECT_EQ(group->title().toStdString(), title);
        EXPECT_EQ(group->geometry(), rect) << title;
    }
}

TEST(DiagnosticsDialog, EventListOfSixteenRowsInSevenEqualColumns)
{
    DiagnosticsDialog dialog;
    dialog.Record = SampleRecord();
    dialog.ShowFields();
    dialog.show();
    QTreeWidget* list = dialog.EventList();
    const DialogUnits units(dialog.font());
    EXPECT_EQ(list->geometry(), units.Rect(15, 185, 180, 90));
    ASSERT_EQ(list->columnCount(), 7);
    // The client width is what the vertical scroll bar leaves: the seven
    // columns fit it, no horizontal scroll bar.
    QApplication::processEvents();
    const int width = list->viewport()->width() / 7;
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(list->verticalScrollBar()->isVisible());
    const char* titles[] = {"Slv", "sec", "msec", "Ch", "Type", "Nr", "Val"};
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(list->headerItem()->text(column).toStdString(), titles[column]);
        EXPECT_EQ(list->columnWidth(column), width) << column;
    }
    EXPECT_TRUE(list->header()->defaultAlignment() & Qt::AlignLeft);
    ASSERT_EQ(list->topLevelItemCount(), 16);
    QStringList second;
    QStringList first;
    for (int column = 0; column < 7; ++column) {
        first << list->topLevelItem(0)->text(column);
        second << list->topLevelItem(1)->text(column);
    }
    EXPECT_EQ(first, (QStringList{"0", "0", "0", "0", "", "0", "0"}));
    EXPECT_EQ(second, (QStringList{"7", "12", "500", "2", "E", "3", "-1"}));

    // Showing the fields again does not add rows.
    dialog.ShowFields();
    EXPECT_EQ(list->topLevelItemCount(), 16);
}

TEST(DiagnosticsDialog, OkEscapeAndTheCloseBoxEndIt)
{
    DiagnosticsDialog dialog;
    auto* cancel = dialog.findChild<QPushButton*>("cancel");
    ASSERT_NE(cancel, nullptr);
    auto* ok = dialog.findChild<QPushButton*>("ok");
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());

    QTimer::singleShot(0, ok, &QPushButton::click);
    dialog.Run();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(cancel->isVisible());

    QTimer::singleShot(0, &dialog, [&dialog] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    dialog.Run();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    QTimer::singleShot(0, &dialog, [&dialog] { dialog.close(); });
    dialog.Run();
    EXPECT_FALSE(dialog.isVisible());
}
