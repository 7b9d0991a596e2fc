#include "DigitalOutputDialog.h"

#include "PointDialogCommon.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>

DigitalOutputDialog::DigitalOutputDialog(QWidget* parent)
    : EditDialog(QStringLiteral("Digital Output"), 187, 121, parent)
{
    AddLabel(QStringLiteral("Description:"), 7, 7, 50, 8);
    description_ = AddEdit("description", 60, 5, 120, 12);
    AddLabel(QStringLiteral("Slave Address:"), 7, 23, 50, 8);
    slaveAddress_ = AddEdit("slaveAddress", 60, 21, 30, 12);
    slaveAddress_->setReadOnly(true);
    AddLabel(QStringLiteral("Ch/Cat/Dno"), 7, 39, 50, 8);
    channel_ = AddEdit("channel", 60, 37, 30, 12);
    category_ = AddList("category", CategoryLetters(), true, 94, 37, 30, 110);
    dataNumber_ = AddEdit("dataNumber", 128, 37, 52, 12);
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
    description_->setText(FromText(Fields.Description));
    slaveAddress_->setText(IntegerText(Fields.SlaveAddress));
    channel_->setText(IntegerText(Fields.Channel));
    SelectByPrefix(category_, Fields.Category);
    dataNumber_->setText(IntegerText(Fields.DataNumber));
    SelectByPrefix(dataType_, Fields.DataType);
    inUse_->setChecked(Fields.InUse);
    priority_->setChecked(Fields.Priority);
}

bool DigitalOutputDialog::CheckFields()
{
    DigitalOutputFields fields = Fields;
    if (!ReadSelectedText(category_, kSelectCategoryMessage, fields.Category) ||
        !ReadSelectedText(dataType_, kSelectDataTypeMessage, fields.DataType)) {
        return false;
    }
    fields.Description = ToText(description_->text());
    fields.Priority = priority_->isChecked();
    if (!ReadInteger(slaveAddress_, 0, kMaxSlaveAddressField, fields.SlaveAddress)) {
        return false;
    }
    fields.InUse = inUse_->isChecked();
    if (!ReadInteger(dataNumber_, 0, kMaxDataNumberField, fields.DataNumber) ||
        !ReadInteger(channel_, 0, kMaxChannelField, fields.Channel)) {
        return false;
    }
    Fields = fields;
    return true;
}
