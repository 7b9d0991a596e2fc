#pragma once

#include "EditDialog.h"

#include <array>
#include <string>

inline constexpr const char* kFirstChannelHigherMessage = "First channel can not be higher than last channel";
inline constexpr const char* kFirstDataNumberHigherMessage = "First datanumber can not be higher than last datanumber";

struct DigitalInputFields {
    std::string Description;
    int SlaveAddress = 0;
    int FirstChannel = 0;
    int LastChannel = 0;
    std::string Category = "A";
    int FirstDataNumber = 0;
    int LastDataNumber = 0;
    std::string DataType = "S";  // "S", "D", "H" or "P"
    int BitSwitchIndex = 0;      // 0: "0", 1: "1"
    int EventChannel = 0;
    int EventStart = 0;
    int EventEnd = 0;
    std::array<int, 4> EventValues{0, 0, 0, 0};
    bool InUse = true;
    bool Priority = false;

    bool operator==(const DigitalInputFields&) const = default;
};

// "Digital Input". Only the data type "P" reads a range of channels and data
// numbers; for the other types the last channel and last data number are
// greyed and follow the first ones.
class DigitalInputDialog : public EditDialog {
public:
    explicit DigitalInputDialog(QWidget* parent = nullptr);

    DigitalInputFields Fields;

    void ShowFields() override;

protected:
    bool CheckFields() override;

private:
    bool IsRangeType() const;
    void ApplyRangeRule();
    void FollowFirstFields();
    bool CheckRange(const DigitalInputFields& fields);

    QLineEdit* description_;
    QLineEdit* slaveAddress_;
    QLineEdit* firstChannel_;
    QLineEdit* lastChannel_;
    QComboBox* category_;
    QLineEdit* firstDataNumber_;
    QLineEdit* lastDataNumber_;
    QComboBox* dataType_;
    QComboBox* bitSwitch_;
    QLineEdit* eventChannel_;
    QLineEdit* eventStart_;
    QLineEdit* eventEnd_;
    std::array<QLineEdit*, 4> eventValues_{};
    QCheckBox* inUse_;
    QCheckBox* priority_;
};
