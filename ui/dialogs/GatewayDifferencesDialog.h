#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;

// "Compare with Gateway": what a download of the open document would change
// on the gateway, one difference a line, with Download and Close. Accepted
// when the user chose Download.
class GatewayDifferencesDialog : public QDialog {
public:
    explicit GatewayDifferencesDialog(const std::vector<std::string>& lines, QWidget* parent = nullptr);

    QListWidget* List() const { return list_; }

private:
    QListWidget* list_ = nullptr;
};
