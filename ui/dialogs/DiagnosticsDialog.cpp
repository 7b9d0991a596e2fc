#include "DiagnosticsDialog.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>
#include <cstring>

namespace {

// Dialog-unit layout of the window.
constexpr int kWidth = 407;
constexpr int kHeight = 326;
constexpr int kEditHeight = 15;
constexpr int kLabelHeight = 8;

struct Column {
    int LabelX;
    int LabelWidth;
    int EditX;
    int EditWidth;
};
constexpr Column kLeft{15, 53, 70, 120};
constexpr Column kRight{210, 93, 305, 81};
// A label ends this far before its edit box.
constexpr int kLabelGap = 2;

constexpr int kConfigurationRows[] = {25, 45, 65, 85, 105, 125, 145};
constexpr int kModuleRows[] = {26, 46};
constexpr int kStatisticsRows[] = {81, 100, 121, 140, 161, 180, 201, 220, 241, 260, 280};

// The dialog's texts are 8-bit text; every byte is one character.
QString Latin1(const std::string& text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

DiagnosticsDialog::DiagnosticsDialog(QWidget* parent) : QDialog(parent), units_(font())
{
    setWindowTitle(QStringLiteral("Diagnostics"));
    setFixedSize(units_.Size(kWidth, kHeight));

    AddGroup("SPA Diagnostics", 5, 5, 395, 300);
    AddGroup("Configuration", 10, 15, 190, 155);
    AddGroup("Event Buffer", 10, 175, 190, 105);
    AddGroup("Module", 205, 15, 190, 50);
    AddGroup("SPA Messages Statistics", 205, 70, 190, 230);

    // The fields come in the dialog's order; each group fills its own rows.
    std::size_t configuration = 0;
    std::size_t module = 0;
    std::size_t statistics = 0;
    for (const DiagnosticsField& field : DiagnosticsFields(Record)) {
        if (std::strcmp(field.Group, "Configuration") == 0) {
            const int y = kConfigurationRows[configuration++];
            AddField(field.Label, kLeft.LabelX, kLeft.LabelWidth, kLeft.EditX, kLeft.EditWidth, y);
        } else if (std::strcmp(field.Group, "Module") == 0) {
            const int y = kModuleRows[module++];
            AddField(field.Label, kRight.LabelX, kRight.LabelWidth, kRight.EditX, kRight.EditWidth, y);
        } else {
            const int y = kStatisticsRows[statistics++];
            AddField(field.Label, kRight.LabelX, kRight.LabelWidth, kRight.EditX, kRight.EditWidth, y);
        }
    }

    events_ = new QTreeWidget(this);
    events_->setObjectName(QStringLiteral("events"));
    events_->setGeometry(units_.Rect(15, 185, 180, 90));
    events_->setRootIsDecorated(false);
    events_->setColumnCount(static_cast<int>(kEventColumnTitles.size()));
    QStringList titles;
    for (const char* title : kEventColumnTitles) {
        titles << QString::fromLatin1(title);
    }
    events_->setHeaderLabels(titles);
    events_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    events_->header()->setStretchLastSection(false);
    // Sixteen rows never fit the list's height: with its vertical scroll bar
    // always there, the client width that the columns share is known before
    // the list is first shown.
    events_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setGeometry(units_.Rect(175, 310, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setGeometry(units_.Rect(235, 310, 50, 14));
    cancel->hide();
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void DiagnosticsDialog::AddGroup(const char* title, int x, int y, int width, int height)
{
    auto* group = new QGroupBox(QString::fromLatin1(title), this);
    group->setObjectName(QString::fromLatin1(title));
    group->setGeometry(units_.Rect(x, y, width, height));
}

void DiagnosticsDialog::AddField(const char* label, int labelX, int labelWidth, int editX, int editWidth, int y)
{
    auto* text = new QLabel(QString::fromLatin1(label), this);
    // The design width, or the text's width in the dialog's font where that
    // is wider: the label then reaches further to the left, never under its
    // edit box, so that it is never cut.
    const QRect design = units_.Rect(labelX, y + (kEditHeight - kLabelHeight) / 2, labelWidth, kLabelHeight);
    const int right = units_.X(editX - kLabelGap);
    const int width = std::max({design.width(), right - design.left(), text->sizeHint().width()});
    text->setGeometry(right - width, design.top(), width, design.height());
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(label));
    edit->setReadOnly(true);
    edit->setGeometry(units_.Rect(editX, y, editWidth, kEditHeight));
    text->setBuddy(edit);
    edits_[label] = edit;
}

void DiagnosticsDialog::ShowFields()
{
    for (const DiagnosticsField& field : DiagnosticsFields(Record)) {
        edits_.at(field.Label)->setText(Latin1(field.Value));
    }
    const int columnWidth = events_->maximumViewportSize().width() / static_cast<int>(kEventColumnTitles.size());
    for (int column = 0; column < events_->columnCount(); ++column) {
        events_->setColumnWidth(column, columnWidth);
    }
    events_->clear();
    for (const DiagnosticEvent& event : DecodeEvents(Record.EventBuffer)) {
        QStringList cells;
        for (const std::string& cell : EventCells(event)) {
            cells << Latin1(cell);
        }
        events_->addTopLevelItem(new QTreeWidgetItem(cells));
    }
}

void DiagnosticsDialog::Run()
{
    ShowFields();
    exec();
}

QLineEdit* DiagnosticsDialog::FieldEdit(const std::string& label) const
{
    const auto found = edits_.find(label);
    return found == edits_.end() ? nullptr : found->second;
}
