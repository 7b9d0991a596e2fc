#include "SlaveAddressDialog.h"

#include "PointDialogCommon.h"

#include <QLineEdit>

SlaveAddressDialog::SlaveAddressDialog(QWidget* parent)
    : EditDialog(QStringLiteral("SPA Slave Address"), 192, 54, parent)
{
    AddLabel(QStringLiteral("SPA Slave Address:"), 7, 9, 70, 8);
    address_ = AddEdit("address", 80, 7, 40, 12);
    AddButtons(135, 7, 135, 25);
}

void SlaveAddressDialog::ShowFields() { address_->setText(IntegerText(Address)); }

bool SlaveAddressDialog::CheckFields()
{
    int address = 0;
    if (!ReadInteger(address_, 0, kMaxSlaveAddressField, address)) {
        return false;
    }
    Address = address;
    return true;
}
