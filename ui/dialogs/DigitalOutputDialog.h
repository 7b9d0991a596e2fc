#pragma once

#include "EditDialog.h"

#include <string>

struct DigitalOutputFields {
    std::string Description;
    int SlaveAddress = 0;
    int Channel = 0;
    std::string Category = "A";
    int DataNumber = 0;
    std::string DataType = "B";  // "B", "S", "D" or "H"
    bool InUse = true;
    bool Priority = false;

    bool operator==(const DigitalOutputFields&) const = default;
};

// "Digital Output". Its "Options" group is not shown; "In Use" and
// "Priority" pass through unchanged.
class DigitalOutputDialog : public EditDialog {
public:
    explicit DigitalOutputDialog(QWidget* parent = nullptr);

    DigitalOutputFields Fields;

    void ShowFields() override;

protected:
    bool CheckFields() override;

private:
    SingleAddressRows rows_;
    QComboBox* dataType_;
    QCheckBox* inUse_;
    QCheckBox* priority_;
};
