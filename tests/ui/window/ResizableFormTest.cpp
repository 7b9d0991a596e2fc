#include "AnchorLayout.h"
#include "CCompanionListBox.h"
#include "CMainFrame.h"
#include "CQuorvinView.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyle>

#include <gtest/gtest.h>

namespace {

TEST(AnchorLayout, EdgesKeepTheirDistanceFromTheirAnchors)
{
    const QSize reference(400, 300);
    const QRect design(100, 50, 200, 100);
    const AnchorMargins stretched = MarginsFor(design, kAnchorTopLeft, kAnchorBottomRight, reference);
    EXPECT_EQ(AnchoredRect(stretched, reference), design);
    EXPECT_EQ(AnchoredRect(stretched, QSize(500, 420)), QRect(100, 50, 300, 220));

    const AnchorMargins centred = MarginsFor(design, kAnchorTopCenter, kAnchorMiddleCenter, reference);
    EXPECT_EQ(AnchoredRect(centred, QSize(600, 500)), QRect(200, 50, 200, 200));
}

TEST(AnchorLayout, WithoutABottomRightAnchorTheControlKeepsItsSize)
{
    const AnchorMargins margins = MarginsFor(QRect(10, 250, 60, 20), kAnchorBottomLeft, kNoAnchor, QSize(400, 300));
    EXPECT_EQ(AnchoredRect(margins, QSize(700, 450)), QRect(10, 400, 60, 20));
}

TEST(AnchorLayout, TheEffectiveSizeNeverFallsBelowTheDesign)
{
    EXPECT_EQ(EffectiveFormSize(QSize(300, 900), QSize(400, 300)), QSize(400, 900));
    EXPECT_EQ(EffectiveFormSize(QSize(500, 200), QSize(400, 300)), QSize(500, 300));
}

class MainFormLayout : public ::testing::Test {
protected:
    void ResizeFrame(QSize size)
    {
        app->Frame().resize(size);
        for (int i = 0; i < 5; ++i) {
            QApplication::processEvents();
        }
    }

    QRect Geometry(int id) { return app->View().Control(id)->geometry(); }

    TestApplication app;
};

TEST_F(MainFormLayout, TheFirstDisplayFitsTheFrameToTheForm)
{
    CQuorvinView& view = app->View();
    EXPECT_EQ(view.viewport()->size(), view.ReferenceSize());
    EXPECT_EQ(view.Form()->size(), view.ReferenceSize());
    EXPECT_LE(app->Frame().width(), 800);
    EXPECT_LE(app->Frame().height(), 600);
}

TEST_F(MainFormLayout, EnlargingStretchesTheListAndMovesTheButtonsDown)
{
    const QRect list = Geometry(FormId::PointList);
    const QRect info = Geometry(FormId::TemplateInfo);
    const QRect tabs = Geometry(FormId::SlaveTabs);
    const QRect edit = Geometry(FormId::EditButton);
    const QRect add = Geometry(FormId::AddIndirectMessage);
    const QRect group = Geometry(FormId::ButtonGroup);
    const QRect progress = Geometry(FormId::ProgressBar);
    const QRect timeout = Geometry(FormId::ReplyTimeout);

    ResizeFrame(app->Frame().size() + QSize(200, 100));

    EXPECT_EQ(Geometry(FormId::PointList), list.adjusted(0, 0, 200, 100));
    EXPECT_EQ(Geometry(FormId::TemplateInfo), info.adjusted(0, 0, 200, 100));
    EXPECT_EQ(Geometry(FormId::SlaveTabs), tabs.adjusted(0, 0, 200, 100));
    EXPECT_EQ(Geometry(FormId::EditButton), edit.translated(0, 100));
    EXPECT_EQ(Geometry(FormId::AddIndirectMessage), add.translated(0, 100));
    EXPECT_EQ(Geometry(FormId::ButtonGroup), group.adjusted(0, 100, 200, 100));
    EXPECT_EQ(Geometry(FormId::ProgressBar), progress.adjusted(0, 100, 200, 100));
    EXPECT_EQ(Geometry(FormId::ReplyTimeout), timeout);

    // Back to the first size: everything is where it was designed.
    ResizeFrame(app->Frame().size() - QSize(200, 100));
    EXPECT_EQ(Geometry(FormId::PointList), list);
    EXPECT_EQ(Geometry(FormId::EditButton), edit);
}

TEST_F(MainFormLayout, ASmallerWindowKeepsTheDesignAndScrolls)
{
    const QRect list = Geometry(FormId::PointList);
    const QRect progress = Geometry(FormId::ProgressBar);
    ResizeFrame(QSize(400, 300));
    CQuorvinView& view = app->View();
    EXPECT_EQ(Geometry(FormId::PointList), list);
    EXPECT_EQ(Geometry(FormId::ProgressBar), progress);
    EXPECT_EQ(view.Form()->size(), view.ReferenceSize());
    EXPECT_GT(view.horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(view.verticalScrollBar()->maximum(), 0);

    // Taller than the design but narrower: the height follows, the width stays.
    ResizeFrame(QSize(400, 900));
    EXPECT_EQ(Geometry(FormId::PointList).width(), list.width());
    EXPECT_GT(Geometry(FormId::PointList).height(), list.height());
}

TEST_F(MainFormLayout, ASecondFirstDisplayAfterResizingGivesTheSameLayout)
{
    ResizeFrame(app->Frame().size() + QSize(150, 80));
    const QRect list = Geometry(FormId::PointList);
    const QRect remove = Geometry(FormId::RemoveButton);
    app->OnFileNew();
    QApplication::processEvents();
    EXPECT_EQ(Geometry(FormId::PointList), list);
    EXPECT_EQ(Geometry(FormId::RemoveButton), remove);
}

TEST(CompanionListBox, HorizontalRangeFollowsTheWidestLineAlsoAfterItIsDeleted)
{
    CCompanionListBox list;
    list.resize(200, 100);
    list.show();
    const int border = 3 * list.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &list);
    const auto width = [&list, border](const char* text) {
        return list.fontMetrics().horizontalAdvance(QString::fromLatin1(text)) + border;
    };
    list.AddLine(QStringLiteral("short"));
    EXPECT_EQ(list.WidestLine(), width("short"));
    EXPECT_EQ(list.horizontalScrollBar()->maximum(), 0);

    const QString longest(120, QLatin1Char('W'));
    const QString middle(60, QLatin1Char('W'));
    list.InsertLine(0, longest, 7);
    list.AddLine(middle);
    EXPECT_EQ(list.WidestLine(), width(longest.toLatin1().constData()));
    EXPECT_EQ(list.horizontalScrollBar()->maximum(), list.WidestLine() - list.viewport()->width());
    list.horizontalScrollBar()->setValue(list.horizontalScrollBar()->maximum());

    list.DeleteLine(0);
    EXPECT_EQ(list.WidestLine(), width(middle.toLatin1().constData()));
    EXPECT_EQ(list.horizontalScrollBar()->maximum(), list.WidestLine() - list.viewport()->width());
    EXPECT_LE(list.horizontalScrollBar()->value(), list.horizontalScrollBar()->maximum());

    list.ResetContent();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.WidestLine(), 0);
    EXPECT_EQ(list.horizontalScrollBar()->maximum(), 0);

    list.AddLines({{QStringLiteral("ab"), 1}, {middle, 2}, {QStringLiteral("c"), 3}});
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Number(2), 3u);
    EXPECT_EQ(list.WidestLine(), width(middle.toLatin1().constData()));
    EXPECT_EQ(list.horizontalScrollBar()->maximum(), list.WidestLine() - list.viewport()->width());
}

TEST(CompanionListBox, SelectionFollowsInsertsAndDeletes)
{
    CCompanionListBox list;
    for (const char* text : {"a", "b", "c"}) {
        list.AddLine(QString::fromLatin1(text), static_cast<std::uint32_t>(text[0]));
    }
    list.SetCurrentSelection(1);
    list.InsertLine(0, QStringLiteral("z"));
    EXPECT_EQ(list.CurrentSelection(), 2);
    EXPECT_EQ(list.Number(list.CurrentSelection()), static_cast<std::uint32_t>('b'));
    list.DeleteLine(0);
    EXPECT_EQ(list.Text(list.CurrentSelection()), QStringLiteral("b"));
    list.DeleteLine(1);
    EXPECT_EQ(list.CurrentSelection(), -1);
    list.SetCurrentSelection(5);
    EXPECT_EQ(list.CurrentSelection(), -1);
}

}  // namespace
