#pragma once

#include "EditDialog.h"

// "SPA Slave Address": one address, 0 to 999.
class SlaveAddressDialog : public EditDialog {
public:
    explicit SlaveAddressDialog(QWidget* parent = nullptr);

    int Address = 0;

    void ShowFields() override;

protected:
    bool CheckFields() override;

private:
    QLineEdit* address_;
};
