#include "GatewayDifferencesDialog.h"

#include "DialogUnits.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

GatewayDifferencesDialog::GatewayDifferencesDialog(const std::vector<std::string>& lines, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Compare with Gateway"));
    resize(DialogUnits(font()).Size(360, 180));
    auto* summary = new QLabel(lines.empty() ? QStringLiteral("The gateway holds this configuration.")
                                             : QStringLiteral("A download would change on the gateway (%1):")
                                                   .arg(static_cast<int>(lines.size())));
    list_ = new QListWidget;
    list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    for (const std::string& line : lines) {
        list_->addItem(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QPushButton* download = buttons->addButton(QStringLiteral("&Download"), QDialogButtonBox::AcceptRole);
    download->setObjectName(QStringLiteral("download"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);
}
