// The main view's Edit commands: Cut, Copy and Paste of points through the
// clipboard, and Find over the points of every slave.
#include "CCompanionListBox.h"
#include "CQuorvinDoc.h"
#include "CQuorvinView.h"
#include "TextConversion.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabBar>

namespace {

std::string ClipboardText() { return ToLatin1(QGuiApplication::clipboard()->text()); }

// Esc and Enter in the find field.
class FindFieldKeys : public QObject {
public:
    FindFieldKeys(QObject* parent, std::function<void()> escape, std::function<void()> enter)
        : QObject(parent), escape_(std::move(escape)), enter_(std::move(enter))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Escape) {
                escape_();
                return true;
            }
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                enter_();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> escape_;
    std::function<void()> enter_;
};

}  // namespace

std::optional<PointPosition> CQuorvinView::SelectedPointPosition() const
{
    const int selection = pointList_->CurrentSelection();
    if (selection < 0) {
        return std::nullopt;
    }
    const std::uint32_t number = pointList_->Number(selection);
    const LineKind kind = KindOfLineNumber(number);
    if (kind == LineKind::Heading) {
        return std::nullopt;
    }
    return PointPosition{kind, IndexOfLineNumber(number)};
}

bool CQuorvinView::CanCopyPoints() const
{
    if (SelectedPointPosition()) {
        return true;
    }
    // Without a selected point every point of the slave is copied; while
    // finding, the shown lines are not one slave's.
    if (Finding()) {
        return false;
    }
    for (int line = 0; line < pointList_->Count(); ++line) {
        if (KindOfLineNumber(pointList_->Number(line)) != LineKind::Heading) {
            return true;
        }
    }
    return false;
}

bool CQuorvinView::CanPastePoints() const { return !Finding() && document_.CanPaste(ClipboardText()); }

void CQuorvinView::CopyPoints()
{
    if (!CanCopyPoints()) {
        return;
    }
    const std::string text = document_.CopyPoints(SelectedPointPosition());
    if (!text.empty()) {
        QGuiApplication::clipboard()->setText(ToQString(text));
    }
}

void CQuorvinView::CutPoints()
{
    if (!CanCopyPoints()) {
        return;
    }
    const int selection = pointList_->CurrentSelection();
    const std::string text = document_.CutPoints(SelectedPointPosition());
    if (text.empty()) {
        return;
    }
    QGuiApplication::clipboard()->setText(ToQString(text));
    // A slave whose points were all cut may be gone.
    RefreshSlaveTabs();
    RefillPointList();
    pointList_->SetCurrentSelection(std::max(selection - 1, 0));
    UpdateButtons();
}

void CQuorvinView::PastePoints()
{
    if (Finding()) {
        return;
    }
    if (const std::optional<PointPosition> first = document_.PastePoints(ClipboardText())) {
        ShowNewLine(first->Kind, first->Index);
    }
}

void CQuorvinView::CreateFindField()
{
    findField_ = new QLineEdit(Form());
    findField_->setObjectName(QStringLiteral("find"));
    findField_->setPlaceholderText(QStringLiteral("Find description or Ch/Cat/Dno"));
    findField_->setClearButtonEnabled(true);
    findField_->hide();
    findField_->installEventFilter(new FindFieldKeys(
        findField_, [this] { EndFind(); }, [this] { EditFoundPoint(); }));
    connect(findField_, &QLineEdit::textChanged, this, [this] { RefillPointList(); });
}

bool CQuorvinView::Finding() const { return findField_ != nullptr && findField_->isVisible(); }

void CQuorvinView::PlaceFindField()
{
    if (findField_ != nullptr && Finding()) {
        findField_->setGeometry(slaveTabs_->geometry());
    }
}

void CQuorvinView::ShowFind()
{
    if (!Finding()) {
        findField_->setGeometry(slaveTabs_->geometry());
        slaveTabs_->hide();
        findField_->show();
        findField_->raise();
        RefillPointList();
    }
    findField_->setFocus(Qt::ShortcutFocusReason);
    findField_->selectAll();
}

void CQuorvinView::EndFind()
{
    if (!Finding()) {
        return;
    }
    findField_->hide();
    findField_->clear();
    slaveTabs_->show();
    RefreshSlaveTabs();
    RefillPointList();
    pointList_->setFocus(Qt::OtherFocusReason);
}

void CQuorvinView::EditFoundPoint()
{
    if (!SelectedPointPosition()) {
        for (int line = 0; line < pointList_->Count(); ++line) {
            if (KindOfLineNumber(pointList_->Number(line)) != LineKind::Heading) {
                pointList_->SetCurrentSelection(line);
                break;
            }
        }
    }
    if (SelectedPointPosition()) {
        EditSelectedLine();
    }
}
