#pragma once

#include "EditDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

// Drives an edit dialog as a user would: types into edits, picks list
// entries with the keyboard, presses OK; records the messages it shows.
class DialogDriver {
public:
    explicit DialogDriver(EditDialog& dialog) : dialog_(dialog)
    {
        dialog_.ShowMessage = [this](QWidget*, const QString& text, QMessageBox::Icon icon) {
            Messages.push_back(text.toStdString());
            Icons.push_back(icon);
        };
        dialog_.show();
    }

    template <typename Control>
    Control* Find(const char* name)
    {
        auto* control = dialog_.findChild<Control*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
    QComboBox* List(const char* name) { return Find<QComboBox>(name); }
    QCheckBox* CheckBox(const char* name) { return Find<QCheckBox>(name); }

    // Replaces the edit's text by typing.
    void Type(const char* name, const QString& text)
    {
        QLineEdit* edit = Edit(name);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    // Picks the first entry that begins with the text, moving there with the arrow keys.
    void Pick(const char* name, const QString& text)
    {
        QComboBox* list = List(name);
        int target = 0;
        while (target < list->count() && !list->itemText(target).startsWith(text)) {
            ++target;
        }
        ASSERT_LT(target, list->count()) << text.toStdString();
        if (list->currentIndex() < 0) {
            QTest::keyClick(list, Qt::Key_Home);
        }
        while (list->currentIndex() < target) {
            QTest::keyClick(list, Qt::Key_Down);
        }
        while (list->currentIndex() > target) {
            QTest::keyClick(list, Qt::Key_Up);
        }
    }

    // Enters a value as the user would, whatever the control is: types into
    // an edit, picks a list entry, clicks a check box to "1" or "0".
    void Set(const char* name, const QString& value)
    {
        auto* control = Find<QWidget>(name);
        if (qobject_cast<QLineEdit*>(control) != nullptr) {
            Type(name, value);
        } else if (qobject_cast<QComboBox*>(control) != nullptr) {
            Pick(name, value);
        } else if (auto* box = qobject_cast<QCheckBox*>(control); box != nullptr && box->isChecked() != (value == "1")) {
            box->click();
        }
    }

    // True when OK closed the dialog.
    bool PressOk()
    {
        bool accepted = false;
        const auto connection = QObject::connect(&dialog_, &QDialog::accepted, [&accepted] { accepted = true; });
        Find<QPushButton>("ok")->click();
        QObject::disconnect(connection);
        return accepted;
    }

    // The object name of the control that holds the focus.
    std::string Focused() const
    {
        QWidget* focused = dialog_.focusWidget();
        return focused == nullptr ? std::string() : focused->objectName().toStdString();
    }

    std::string LastMessage() const { return Messages.empty() ? std::string() : Messages.back(); }

    std::vector<std::string> Messages;
    std::vector<QMessageBox::Icon> Icons;

private:
    EditDialog& dialog_;
};
