#pragma once

#include "DialogUnits.h"

#include <QDialog>
#include <QMessageBox>
#include <QStringList>

#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// How the edit dialogs show their messages: a modal box with the application
// title as caption. Tests put a recorder in its place.
using DialogMessageFunction = std::function<void(QWidget* dialog, const QString& text, QMessageBox::Icon icon)>;
void ShowDialogMessage(QWidget* dialog, const QString& text, QMessageBox::Icon icon);

// The base of the edit dialogs: controls placed in dialog units, "OK" and
// "Cancel", and the reading of fields on OK. OK closes the dialog only when
// CheckFields accepts every field; the first field it refuses has been named
// in a message and holds the focus.
class EditDialog : public QDialog {
public:
    EditDialog(const QString& caption, int width, int height, QWidget* parent);

    DialogMessageFunction ShowMessage = ShowDialogMessage;

    // Shows the dialog's fields in its controls.
    virtual void ShowFields() = 0;
    // ShowFields, then runs modally; true on OK, with the user's values in
    // the fields. After Cancel the fields are as preset.
    bool Run();

    void accept() override;

protected:
    // Reads and checks the fields in the dialog's order; true when all are accepted.
    virtual bool CheckFields() = 0;

    QLabel* AddLabel(const QString& text, int x, int y, int width, int height);
    QLineEdit* AddEdit(const char* name, int x, int y, int width, int height);
    QComboBox* AddList(const char* name, const QStringList& entries, bool sorted, int x, int y, int width,
                       int height);
    QCheckBox* AddCheckBox(const char* name, const QString& text, int x, int y, int width, int height,
                           QWidget* parent = nullptr);
    QGroupBox* AddGroup(const char* name, const QString& title, int x, int y, int width, int height);
    // "OK" (the default button) and "Cancel", at the top-left corners given.
    void AddButtons(int okX, int okY, int cancelX, int cancelY);

    // The first rows of a dialog for a point with a single address:
    // "Description:", the read-only "Slave Address:" and "Ch/Cat/Dno" as
    // channel, category list and data number.
    struct SingleAddressRows {
        QLineEdit* Description = nullptr;
        QLineEdit* SlaveAddress = nullptr;
        QLineEdit* Channel = nullptr;
        QComboBox* Category = nullptr;
        QLineEdit* DataNumber = nullptr;
    };
    SingleAddressRows AddSingleAddressRows(int descriptionWidth, int dataNumberWidth);
    static void ShowSingleAddressRows(const SingleAddressRows& rows, const std::string& description, int slaveAddress,
                                      int channel, const std::string& category, int dataNumber);

    // Each reader leaves the value and returns true, or shows the field's
    // message, gives it the focus and returns false.
    bool ReadInteger(QLineEdit* edit, int& value);
    bool ReadInteger(QLineEdit* edit, int minimum, int maximum, int& value);
    bool ReadReal(QLineEdit* edit, float& value);
    // A real number the configuration file can carry: six decimals at most.
    bool ReadScale(QLineEdit* edit, float& value);
    bool ReadSelectedText(QComboBox* list, const char* message, std::string& text);
    // A description the configuration file can carry: no comma or line end,
    // and for the points whose reader drops a single blank, not that.
    bool ReadDescription(QLineEdit* edit, bool singleBlankStorable, std::string& text);

    void Refuse(QWidget* field, const QString& message, QMessageBox::Icon icon = QMessageBox::Warning);

private:
    DialogUnits units_;
};

// Selects the first entry that begins with the text, ignoring case; no
// entry is selected when none does or the text is empty.
void SelectByPrefix(QComboBox* list, const std::string& text);
// Selects the entry at the index; none for an index outside the list.
void SelectByIndex(QComboBox* list, int index);

// Description texts are 8-bit text; every byte maps to one character.
QString FromText(const std::string& text);
std::string ToText(const QString& text);
QString IntegerText(int value);
QString RealText(float value);
