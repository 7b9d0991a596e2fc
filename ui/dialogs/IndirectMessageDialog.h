#pragma once

#include "EditDialog.h"

#include <string>

struct IndirectMessageFields {
    std::string Description;
    int SlaveAddress = 0;
    int Channel = 0;
    std::string Category = "I";
    int DataNumber = 0;
    int ReadWriteIndex = 0;  // 0: "Read", 1: "Write"
    int StaticData = 0;
    float Scale = 1.0f;
    bool InUse = true;

    bool operator==(const IndirectMessageFields&) const = default;
};

// "Indirect SPA Message". Picking "Write" checks "In Use" and greys it (a
// write is always sent); picking "Read" makes it free again.
class IndirectMessageDialog : public EditDialog {
public:
    explicit IndirectMessageDialog(QWidget* parent = nullptr);

    IndirectMessageFields Fields;

    void ShowFields() override;

protected:
    bool CheckFields() override;

private:
    void ApplyReadWriteRule();

    SingleAddressRows rows_;
    QComboBox* readWrite_;
    QLineEdit* staticData_;
    QLineEdit* scaling_;
    QCheckBox* inUse_;
};
