#include "AboutBox.h"

#include "DialogUnits.h"
#include "ToolbarIcons.h"

#include <QLabel>
#include <QPushButton>

AboutBox::AboutBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Halvex Configuration Tool"));
    const DialogUnits units(font());
    setFixedSize(units.Size(252, 55));

    auto* icon = new QLabel(this);
    icon->setPixmap(ApplicationIcon().pixmap(32, 32));
    icon->setGeometry(units.Rect(11, 17, 20, 20));

    auto* name = new QLabel(QStringLiteral("Halvex Configuration Tool"), this);
    name->setGeometry(units.Rect(40, 10, 119, 8));
    auto* version = new QLabel(QStringLiteral("Version 2.000"), this);
    version->setGeometry(units.Rect(40, 25, 119, 8));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(units.Rect(195, 7, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
