#include "DigitalOutputDialog.h"

#include "PointDialogCommon.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>

DigitalOutputDialog::DigitalOutputDialog(QWidget* parent)
    : EditDialog(QStringLiteral("Digital Output"), 187, 121, parent)
{
    rows_ = AddSingleAddressRows(120, 52);
    AddLabel(QStringLiteral("Datatype:"), 7, 55, 50, 8);
    dataType_ = AddList("dataType", {QStringLiteral("B"), QStringLiteral("S"), QStringLiteral("D"), QStringLiteral("H")},
                        false, 60, 53, 40, 60);
    QGroupBox* options = AddGroup("options", QStringLiteral("Options"), 7, 70, 173, 24);
    inUse_ = AddCheckBox("inUse", QStringLiteral("In Use"), 7, 10, 60, 10, options);
    priority_ = AddCheckBox("priority", QStringLiteral("Priority"), 73, 10, 60, 10, options);
    options->setVisible(false);
    AddButtons(76, 100, 130, 100);
}

void DigitalOutputDialog::ShowFields()
{
    ShowSingleAddressRows(rows_, Fields.Description, Fields.SlaveAddress, Fields.Channel, Fields.Category,
                          Fields.DataNumber);
    SelectByPrefix(dataType_, Fields.DataType);
    inUse_->setChecked(Fields.InUse);
    priority_->setChecked(Fields.Priority);
}

bool DigitalOutputDialog::CheckFields()
{
    DigitalOutputFields fields = Fields;
    if (!ReadSelectedText(rows_.Category, kSelectCategoryMessage, fields.Category) ||
        !ReadSelectedText(dataType_, kSelectDataTypeMessage, fields.DataType)) {
        return false;
    }
    if (!ReadDescription(rows_.Description, false, fields.Description)) {
        return false;
    }
    fields.Priority = priority_->isChecked();
    if (!ReadInteger(rows_.SlaveAddress, 0, kMaxSlaveAddressField, fields.SlaveAddress)) {
        return false;
    }
    fields.InUse = inUse_->isChecked();
    if (!ReadInteger(rows_.DataNumber, 0, kMaxDataNumberField, fields.DataNumber) ||
        !ReadInteger(rows_.Channel, 0, kMaxChannelField, fields.Channel)) {
        return false;
    }
    Fields = fields;
    return true;
}
