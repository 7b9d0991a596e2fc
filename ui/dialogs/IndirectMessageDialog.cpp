#include "IndirectMessageDialog.h"

#include "PointDialogCommon.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>

IndirectMessageDialog::IndirectMessageDialog(QWidget* parent)
    : EditDialog(QStringLiteral("Indirect SPA Message"), 186, 151, parent)
{
    rows_ = AddSingleAddressRows(119, 51);
    AddLabel(QStringLiteral("Read/Write:"), 7, 55, 50, 8);
    readWrite_ = AddList("readWrite", {QStringLiteral("Read"), QStringLiteral("Write")}, true, 60, 53, 50, 40);
    AddLabel(QStringLiteral("Static Data:"), 7, 71, 50, 8);
    staticData_ = AddEdit("staticData", 60, 69, 50, 12);
    AddLabel(QStringLiteral("Scaling:"), 7, 87, 50, 8);
    scaling_ = AddEdit("scaling", 60, 85, 50, 12);
    QGroupBox* options = AddGroup("options", QStringLiteral("Options"), 7, 102, 172, 24);
    inUse_ = AddCheckBox("inUse", QStringLiteral("In Use"), 7, 10, 60, 10, options);
    AddButtons(75, 130, 129, 130);

    connect(readWrite_, &QComboBox::activated, this, [this] { ApplyReadWriteRule(); });
}

void IndirectMessageDialog::ShowFields()
{
    ShowSingleAddressRows(rows_, Fields.Description, Fields.SlaveAddress, Fields.Channel, Fields.Category,
                          Fields.DataNumber);
    SelectByIndex(readWrite_, Fields.ReadWriteIndex);
    staticData_->setText(IntegerText(Fields.StaticData));
    scaling_->setText(RealText(Fields.Scale));
    inUse_->setChecked(Fields.InUse);
}

void IndirectMessageDialog::ApplyReadWriteRule()
{
    const bool write = readWrite_->currentIndex() == 1;
    if (write) {
        inUse_->setChecked(true);
    }
    inUse_->setEnabled(!write);
}

bool IndirectMessageDialog::CheckFields()
{
    IndirectMessageFields fields = Fields;
    if (!ReadSelectedText(rows_.Category, kSelectCategoryMessage, fields.Category)) {
        return false;
    }
    if (!ReadDescription(rows_.Description, false, fields.Description) || !ReadScale(scaling_, fields.Scale) ||
        !ReadInteger(rows_.SlaveAddress, 0, kMaxSlaveAddressField, fields.SlaveAddress) ||
        !ReadInteger(staticData_, fields.StaticData)) {
        return false;
    }
    fields.ReadWriteIndex = readWrite_->currentIndex();
    if (!ReadInteger(rows_.Channel, 0, kMaxChannelField, fields.Channel) ||
        !ReadInteger(rows_.DataNumber, 0, kMaxDataNumberField, fields.DataNumber)) {
        return false;
    }
    fields.InUse = inUse_->isChecked();
    Fields = fields;
    return true;
}
