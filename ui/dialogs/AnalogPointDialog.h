#pragma once

#include "EditDialog.h"

#include <string>

// The fields of the "Analog Input" and "Analog Output" dialogs.
struct AnalogPointFields {
    std::string Description;
    int SlaveAddress = 0;
    int Channel = 0;
    std::string Category = "A";
    int DataNumber = 0;
    float Scale = 1.0f;
    int SizeIndex = 0;  // 0: "16 Bit", 1: "32 Bit"
    bool InUse = true;
    bool Priority = false;

    bool operator==(const AnalogPointFields&) const = default;
};

enum class AnalogDirection { Input, Output };

// "Analog Input" and "Analog Output": the same controls; the output's
// "Options" group is not shown and its two values pass through unchanged.
class AnalogPointDialog : public EditDialog {
public:
    AnalogPointDialog(AnalogDirection direction, QWidget* parent);

    AnalogPointFields Fields;

    void ShowFields() override;

protected:
    bool CheckFields() override;

private:
    bool CheckInputFields(AnalogPointFields& fields);
    bool CheckOutputFields(AnalogPointFields& fields);

    AnalogDirection direction_;
    SingleAddressRows rows_;
    QLineEdit* scaling_;
    QComboBox* size_;
    QCheckBox* inUse_;
    QCheckBox* priority_;
};

class AnalogInputDialog : public AnalogPointDialog {
public:
    explicit AnalogInputDialog(QWidget* parent = nullptr) : AnalogPointDialog(AnalogDirection::Input, parent) {}
};

class AnalogOutputDialog : public AnalogPointDialog {
public:
    explicit AnalogOutputDialog(QWidget* parent = nullptr) : AnalogPointDialog(AnalogDirection::Output, parent) {}
};
