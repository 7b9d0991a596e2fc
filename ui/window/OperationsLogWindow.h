#pragma once

#include <QWidget>

#include <string>
#include <vector>

class QTableWidget;

// View > "Operations Log": the device operations of the user's operations
// log (both programs'), one row each with time, action, port, file, result
// and message, newest last. The log is read again when the window is shown
// and on Refresh; a double-click shows the whole entry.
class OperationsLogWindow : public QWidget {
public:
    OperationsLogWindow(std::string logPath, QWidget* parent);

    QTableWidget* Table() const { return table_; }
    void Reload();
    // The whole record of a row, one "key: value" line per field.
    QString EntryText(int row) const;
    void ShowEntry(int row);

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::string logPath_;
    QTableWidget* table_;
    std::vector<QString> entries_;
};
