#include "DigitalInputDialog.h"

#include "PointDialogCommon.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>

DigitalInputDialog::DigitalInputDialog(QWidget* parent) : EditDialog(QStringLiteral("Digital Input"), 202, 201, parent)
{
    AddLabel(QStringLiteral("Description:"), 7, 7, 53, 8);
    description_ = AddEdit("description", 62, 5, 133, 12);
    AddLabel(QStringLiteral("Slave Address:"), 7, 23, 53, 8);
    slaveAddress_ = AddEdit("slaveAddress", 62, 21, 30, 12);
    slaveAddress_->setReadOnly(true);
    AddLabel(QStringLiteral("Ch/Cat/Dno"), 7, 39, 53, 8);
    firstChannel_ = AddEdit("firstChannel", 62, 37, 18, 12);
    AddLabel(QStringLiteral("/"), 81, 39, 4, 8);
    lastChannel_ = AddEdit("lastChannel", 86, 37, 18, 12);
    category_ = AddList("category", CategoryLetters(), true, 107, 37, 24, 110);
    firstDataNumber_ = AddEdit("firstDataNumber", 134, 37, 26, 12);
    AddLabel(QStringLiteral("/"), 161, 39, 4, 8);
    lastDataNumber_ = AddEdit("lastDataNumber", 166, 37, 29, 12);
    AddLabel(QStringLiteral("Datatype:"), 7, 55, 53, 8);
    dataType_ = AddList("dataType", {QStringLiteral("S"), QStringLiteral("D"), QStringLiteral("H"), QStringLiteral("P")},
                        false, 62, 53, 40, 60);
    AddLabel(QStringLiteral("Bitswitch:"), 7, 71, 53, 8);
    bitSwitch_ = AddList("bitSwitch", {QStringLiteral("0"), QStringLiteral("1")}, true, 62, 69, 40, 40);
    AddLabel(QStringLiteral("EventChannel:"), 7, 87, 53, 8);
    eventChannel_ = AddEdit("eventChannel", 62, 85, 40, 12);
    AddLabel(QStringLiteral("EventStart:"), 7, 103, 53, 8);
    eventStart_ = AddEdit("eventStart", 62, 101, 40, 12);
    AddLabel(QStringLiteral("EventEnd:"), 7, 119, 53, 8);
    eventEnd_ = AddEdit("eventEnd", 62, 117, 40, 12);
    AddLabel(QStringLiteral("EventVals:"), 7, 135, 53, 8);
    for (int i = 0; i < 4; ++i) {
        const std::string name = "eventValue" + std::to_string(i + 1);
        eventValues_[static_cast<std::size_t>(i)] = AddEdit(name.c_str(), 62 + i * 34, 133, 29, 12);
    }
    QGroupBox* options = AddGroup("options", QStringLiteral("Options"), 7, 150, 188, 24);
    inUse_ = AddCheckBox("inUse", QStringLiteral("In Use"), 7, 10, 60, 10, options);
    priority_ = AddCheckBox("priority", QStringLiteral("Priority"), 73, 10, 60, 10, options);
    AddButtons(87, 180, 145, 180);

    connect(dataType_, &QComboBox::activated, this, [this] { ApplyRangeRule(); });
    connect(firstChannel_, &QLineEdit::textChanged, this, [this] { FollowFirstFields(); });
    connect(firstDataNumber_, &QLineEdit::textChanged, this, [this] { FollowFirstFields(); });
}

void DigitalInputDialog::ShowFields()
{
    // The data type first: it decides whether the last fields follow the first ones.
    SelectByPrefix(dataType_, Fields.DataType);
    description_->setText(FromText(Fields.Description));
    slaveAddress_->setText(IntegerText(Fields.SlaveAddress));
    firstChannel_->setText(IntegerText(Fields.FirstChannel));
    lastChannel_->setText(IntegerText(Fields.LastChannel));
    SelectByPrefix(category_, Fields.Category);
    firstDataNumber_->setText(IntegerText(Fields.FirstDataNumber));
    lastDataNumber_->setText(IntegerText(Fields.LastDataNumber));
    SelectByIndex(bitSwitch_, Fields.BitSwitchIndex);
    eventChannel_->setText(IntegerText(Fields.EventChannel));
    eventStart_->setText(IntegerText(Fields.EventStart));
    eventEnd_->setText(IntegerText(Fields.EventEnd));
    for (std::size_t i = 0; i < eventValues_.size(); ++i) {
        eventValues_[i]->setText(IntegerText(Fields.EventValues[i]));
    }
    inUse_->setChecked(Fields.InUse);
    priority_->setChecked(Fields.Priority);
    ApplyRangeRule();
}

bool DigitalInputDialog::IsRangeType() const { return dataType_->currentText() == QStringLiteral("P"); }

void DigitalInputDialog::ApplyRangeRule()
{
    const bool range = IsRangeType();
    lastChannel_->setEnabled(range);
    lastDataNumber_->setEnabled(range);
    FollowFirstFields();
}

// A greyed last field stands for "the same as the first": it must not keep
// an old value that the address would then carry.
void DigitalInputDialog::FollowFirstFields()
{
    if (IsRangeType()) {
        return;
    }
    lastChannel_->setText(firstChannel_->text());
    lastDataNumber_->setText(firstDataNumber_->text());
}

bool DigitalInputDialog::CheckFields()
{
    DigitalInputFields fields = Fields;
    if (!ReadSelectedText(category_, kSelectCategoryMessage, fields.Category) ||
        !ReadSelectedText(dataType_, kSelectDataTypeMessage, fields.DataType)) {
        return false;
    }
    fields.BitSwitchIndex = bitSwitch_->currentIndex();
    if (!ReadDescription(description_, false, fields.Description)) {
        return false;
    }
    fields.Priority = priority_->isChecked();
    if (!ReadInteger(slaveAddress_, 0, kMaxSlaveAddressField, fields.SlaveAddress)) {
        return false;
    }
    fields.InUse = inUse_->isChecked();
    if (!ReadInteger(firstDataNumber_, 0, kMaxDataNumberField, fields.FirstDataNumber)) {
        return false;
    }
    for (std::size_t i = 0; i < eventValues_.size(); ++i) {
        if (!ReadInteger(eventValues_[i], 0, kMaxEventField, fields.EventValues[i])) {
            return false;
        }
    }
    const bool accepted = ReadInteger(eventEnd_, 0, kMaxEventField, fields.EventEnd) &&
                          ReadInteger(eventStart_, 0, kMaxEventField, fields.EventStart) &&
                          ReadInteger(firstChannel_, 0, kMaxChannelField, fields.FirstChannel) &&
                          ReadInteger(lastChannel_, 0, kMaxChannelField, fields.LastChannel) &&
                          ReadInteger(lastDataNumber_, 0, kMaxDataNumberField, fields.LastDataNumber) &&
                          ReadInteger(eventChannel_, fields.EventChannel) && CheckRange(fields);
    if (accepted) {
        Fields = fields;
    }
    return accepted;
}

bool DigitalInputDialog::CheckRange(const DigitalInputFields& fields)
{
    if (fields.DataType != "P") {
        return true;
    }
    if (fields.LastChannel < fields.FirstChannel) {
        Refuse(lastChannel_, QString::fromLatin1(kFirstChannelHigherMessage), QMessageBox::NoIcon);
        return false;
    }
    if (fields.LastDataNumber < fields.FirstDataNumber) {
        Refuse(lastDataNumber_, QString::fromLatin1(kFirstDataNumberHigherMessage), QMessageBox::NoIcon);
        return false;
    }
    return true;
}
