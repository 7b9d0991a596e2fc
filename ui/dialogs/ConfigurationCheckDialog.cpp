#include "ConfigurationCheckDialog.h"

#include "DialogUnits.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The configuration's texts are 8-bit text; every byte is one character.
QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ConfigurationCheckDialog::ConfigurationCheckDialog(ConfigurationCheck check, QWidget* parent)
    : QDialog(parent), check_(std::move(check))
{
    setWindowTitle(QStringLiteral("Check Configuration"));
    const DialogUnits units(font());
    resize(units.Size(420, 200));

    summary_ = new QLabel(Latin1(CheckSummary(check_)));
    list_ = new QTreeWidget;
    list_->setColumnCount(3);
    list_->setHeaderLabels({QStringLiteral("Kind"), QStringLiteral("Problem"), QStringLiteral("Where")});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    AddRows(check_.Errors, QStringLiteral("Error"));
    AddRows(check_.Warnings, QStringLiteral("Warning"));
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { Choose(item); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);
}

void ConfigurationCheckDialog::AddRows(const std::vector<CheckFinding>& findings, const QString& severity)
{
    for (const CheckFinding& finding : findings) {
        auto* item = new QTreeWidgetItem(list_, {severity, Latin1(finding.Text), Latin1(finding.Detail)});
        item->setData(0, Qt::UserRole, static_cast<int>(rows_.size()));
        rows_.push_back(&finding);
    }
}

void ConfigurationCheckDialog::Choose(QTreeWidgetItem* item)
{
    const CheckFinding* finding = rows_.at(static_cast<std::size_t>(item->data(0, Qt::UserRole).toInt()));
    if (!finding->Point && !finding->Slave) {
        return;
    }
    chosen_ = finding;
    accept();
}
