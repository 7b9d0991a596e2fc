#pragma once

#include "ConfigurationCheck.h"

#include <QDialog>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// "Check Configuration": the errors (what a download would refuse) and then
// the warnings of a configuration check, one row each with the problem and
// what it concerns, under a line that counts them. A double-click on a row
// that concerns a point or a slave chooses it and closes the dialog, so that
// the main view can show it; Close and Escape end it without a choice.
class ConfigurationCheckDialog : public QDialog {
public:
    explicit ConfigurationCheckDialog(ConfigurationCheck check, QWidget* parent = nullptr);

    // The finding double-clicked; none when the dialog was closed otherwise.
    const CheckFinding* Chosen() const { return chosen_; }

    QTreeWidget* List() const { return list_; }
    QLabel* Summary() const { return summary_; }

private:
    void AddRows(const std::vector<CheckFinding>& findings, const QString& severity);
    void Choose(QTreeWidgetItem* item);

    ConfigurationCheck check_;
    std::vector<const CheckFinding*> rows_;
    const CheckFinding* chosen_ = nullptr;
    QLabel* summary_ = nullptr;
    QTreeWidget* list_ = nullptr;
};
