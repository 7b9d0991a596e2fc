#pragma once

#include "DiagnosticsRecord.h"
#include "DialogUnits.h"

#include <QDialog>

#include <map>
#include <string>

class QLineEdit;
class QTreeWidget;

// "Diagnostics": what the gateway reported, in read-only edit boxes grouped
// as Configuration, Module and SPA Messages Statistics, and its event buffer
// as a 16-row list. Nothing is written back; OK, Escape and the close box end
// it alike.
class DiagnosticsDialog : public QDialog {
public:
    explicit DiagnosticsDialog(QWidget* parent = nullptr);

    // The fields shown when the dialog opens.
    DiagnosticsRecord Record;

    // Transfers the fields into the edit boxes, gives each of the list's seven
    // columns a seventh of its width and fills its 16 rows from the event buffer.
    void ShowFields();
    // ShowFields, then runs modally until the user closes the dialog.
    void Run();

    // The edit box of a field, by its label ("Status :").
    QLineEdit* FieldEdit(const std::string& label) const;
    QTreeWidget* EventList() const { return events_; }

private:
    void AddGroup(const char* title, int x, int y, int width, int height);
    void AddField(const char* label, int labelX, int labelWidth, int editX, int editWidth, int y);

    DialogUnits units_;
    std::map<std::string, QLineEdit*> edits_;
    QTreeWidget* events_ = nullptr;
};
