#include "AnalogPointDialog.h"

#include "PointDialogCommon.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>

AnalogPointDialog::AnalogPointDialog(AnalogDirection direction, QWidget* parent)
    : EditDialog(direction == AnalogDirection::Input ? QStringLiteral("Analog Input") : QStringLiteral("Analog Output"),
                 186, 135, parent),
      direction_(direction)
{
    rows_ = AddSingleAddressRows(119, 51);
    AddLabel(QStringLiteral("Scaling:"), 7, 55, 50, 8);
    scaling_ = AddEdit("scaling", 60, 53, 50, 12);
    AddLabel(QStringLiteral("Size:"), 7, 71, 50, 8);
    size_ = AddList("size", {QStringLiteral("16 Bit"), QStringLiteral("32 Bit")}, true, 60, 69, 50, 40);
    QGroupBox* options = AddGroup("options", QStringLiteral("Options"), 7, 86, 172, 24);
    inUse_ = AddCheckBox("inUse", QStringLiteral("In Use"), 7, 10, 60, 10, options);
    priority_ = AddCheckBox("priority", QStringLiteral("Priority"), 73, 10, 60, 10, options);
    options->setVisible(direction == AnalogDirection::Input);
    AddButtons(75, 114, 129, 114);
}

void AnalogPointDialog::ShowFields()
{
    ShowSingleAddressRows(rows_, Fields.Description, Fields.SlaveAddress, Fields.Channel, Fields.Category,
                          Fields.DataNumber);
    scaling_->setText(RealText(Fields.Scale));
    SelectByIndex(size_, Fields.SizeIndex);
    inUse_->setChecked(Fields.InUse);
    priority_->setChecked(Fields.Priority);
}

bool AnalogPointDialog::CheckFields()
{
    AnalogPointFields fields = Fields;
    const bool accepted =
        direction_ == AnalogDirection::Input ? CheckInputFields(fields) : CheckOutputFields(fields);
    if (accepted) {
        Fields = fields;
    }
    return accepted;
}

bool AnalogPointDialog::CheckInputFields(AnalogPointFields& fields)
{
    if (!ReadSelectedText(rows_.Category, kSelectCategoryMessage, fields.Category)) {
        return false;
    }
    if (!ReadDescription(rows_.Description, true, fields.Description) || !ReadScale(scaling_, fields.Scale)) {
        return false;
    }
    fields.SizeIndex = size_->currentIndex();
    fields.Priority = priority_->isChecked();
    if (!ReadInteger(rows_.SlaveAddress, 0, kMaxSlaveAddressField, fields.SlaveAddress)) {
        return false;
    }
    fields.InUse = inUse_->isChecked();
    return ReadInteger(rows_.DataNumber, 0, kMaxDataNumberField, fields.DataNumber) &&
           ReadInteger(rows_.Channel, 0, kMaxChannelField, fields.Channel);
}

bool AnalogPointDialog::CheckOutputFields(AnalogPointFields& fields)
{
    if (!ReadSelectedText(rows_.Category, kSelectCategoryMessage, fields.Category)) {
        return false;
    }
    if (!ReadDescription(rows_.Description, true, fields.Description)) {
        return false;
    }
    fields.Priority = priority_->isChecked();
    fields.SizeIndex = size_->currentIndex();
    if (!ReadInteger(rows_.SlaveAddress, 0, kMaxSlaveAddressField, fields.SlaveAddress) || !ReadScale(scaling_, fields.Scale)) {
        return false;
    }
    fields.InUse = inUse_->isChecked();
    return ReadInteger(rows_.DataNumber, 0, kMaxDataNumberField, fields.DataNumber) &&
           ReadInteger(rows_.Channel, 0, kMaxChannelField, fields.Channel);
}
