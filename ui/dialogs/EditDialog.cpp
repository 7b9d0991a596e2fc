#include "EditDialog.h"

#include "FieldText.h"
#include "PointDialogCommon.h"
#include "StorableText.h"
#include "WindowSystem.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

void ShowDialogMessage(QWidget* dialog, const QString& text, QMessageBox::Icon icon)
{
    QMessageBox box(icon, QString::fromLatin1(kApplicationTitle), text, QMessageBox::Ok, dialog);
    box.exec();
}

EditDialog::EditDialog(const QString& caption, int width, int height, QWidget* parent)
    : QDialog(parent), units_(font())
{
    setWindowTitle(caption);
    setFixedSize(units_.Size(width, height));
}

bool EditDialog::Run()
{
    ShowFields();
    return exec() == QDialog::Accepted;
}

void EditDialog::accept()
{
    if (CheckFields()) {
        QDialog::accept();
    }
}

QLabel* EditDialog::AddLabel(const QString& text, int x, int y, int width, int height)
{
    auto* label = new QLabel(text, this);
    label->setGeometry(units_.Rect(x, y, width, height));
    return label;
}

QLineEdit* EditDialog::AddEdit(const char* name, int x, int y, int width, int height)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(units_.Rect(x, y, width, height));
    return edit;
}

QComboBox* EditDialog::AddList(const char* name, const QStringList& entries, bool sorted, int x, int y, int width,
                               int height)
{
    auto* list = new QComboBox(this);
    list->setObjectName(QString::fromLatin1(name));
    QStringList shown = entries;
    if (sorted) {
        shown.sort();
    }
    list->addItems(shown);
    list->setCurrentIndex(-1);
    // The height in dialog units is that of the dropped-down list; the closed
    // list is one edit line high.
    list->setGeometry(units_.Rect(x, y, width, 12));
    list->setMaxVisibleItems(std::max(1, (height - 12) / 8));
    return list;
}

QCheckBox* EditDialog::AddCheckBox(const char* name, const QString& text, int x, int y, int width, int height,
                                   QWidget* parent)
{
    auto* box = new QCheckBox(text, parent != nullptr ? parent : this);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(units_.Rect(x, y, width, height));
    return box;
}

QGroupBox* EditDialog::AddGroup(const char* name, const QString& title, int x, int y, int width, int height)
{
    auto* group = new QGroupBox(title, this);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(units_.Rect(x, y, width, height));
    return group;
}

void EditDialog::AddButtons(int okX, int okY, int cancelX, int cancelY)
{
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setGeometry(units_.Rect(okX, okY, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &EditDialog::accept);

    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setGeometry(units_.Rect(cancelX, cancelY, 50, 14));
    connect(cancel, &QPushButton::clicked, this, &EditDialog::reject);
}

EditDialog::SingleAddressRows EditDialog::AddSingleAddressRows(int descriptionWidth, int dataNumberWidth)
{
    SingleAddressRows rows;
    AddLabel(QStringLiteral("Description:"), 7, 7, 50, 8);
    rows.Description = AddEdit("description", 60, 5, descriptionWidth, 12);
    AddLabel(QStringLiteral("Slave Address:"), 7, 23, 50, 8);
    rows.SlaveAddress = AddEdit("slaveAddress", 60, 21, 30, 12);
    rows.SlaveAddress->setReadOnly(true);
    AddLabel(QStringLiteral("Ch/Cat/Dno"), 7, 39, 50, 8);
    rows.Channel = AddEdit("channel", 60, 37, 30, 12);
    rows.Category = AddList("category", CategoryLetters(), true, 94, 37, 30, 110);
    rows.DataNumber = AddEdit("dataNumber", 128, 37, dataNumberWidth, 12);
    return rows;
}

void EditDialog::ShowSingleAddressRows(const SingleAddressRows& rows, const std::string& description,
                                       int slaveAddress, int channel, const std::string& category, int dataNumber)
{
    rows.Description->setText(FromText(description));
    rows.SlaveAddress->setText(IntegerText(slaveAddress));
    rows.Channel->setText(IntegerText(channel));
    SelectByPrefix(rows.Category, category);
    rows.DataNumber->setText(IntegerText(dataNumber));
}

void EditDialog::Refuse(QWidget* field, const QString& message, QMessageBox::Icon icon)
{
    ShowMessage(this, message, icon);
    field->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->selectAll();
    }
}

bool EditDialog::ReadInteger(QLineEdit* edit, int& value)
{
    const auto parsed = ParseIntegerField(ToText(edit->text()));
    if (!parsed) {
        Refuse(edit, QString::fromLatin1(kEnterIntegerMessage));
        return false;
    }
    value = *parsed;
    return true;
}

bool EditDialog::ReadInteger(QLineEdit* edit, int minimum, int maximum, int& value)
{
    if (!ReadInteger(edit, value)) {
        return false;
    }
    if (value < minimum || value > maximum) {
        Refuse(edit, QString::fromStdString(IntegerRangeMessage(minimum, maximum)));
        return false;
    }
    return true;
}

bool EditDialog::ReadReal(QLineEdit* edit, float& value)
{
    const auto parsed = ParseRealField(ToText(edit->text()));
    if (!parsed) {
        Refuse(edit, QString::fromLatin1(kEnterNumberMessage));
        return false;
    }
    value = *parsed;
    return true;
}

bool EditDialog::ReadScale(QLineEdit* edit, float& value)
{
    float scale = 0.0f;
    if (!ReadReal(edit, scale)) {
        return false;
    }
    if (!ScaleStorable(scale)) {
        Refuse(edit, QString::fromLatin1(kScaleDecimalsMessage));
        return false;
    }
    value = scale;
    return true;
}

bool EditDialog::ReadSelectedText(QComboBox* list, const char* message, std::string& text)
{
    if (list->currentIndex() < 0) {
        Refuse(list, QString::fromLatin1(message));
        return false;
    }
    text = ToText(list->currentText());
    return true;
}

bool EditDialog::ReadDescription(QLineEdit* edit, bool singleBlankStorable, std::string& text)
{
    std::string typed = ToText(edit->text());
    if (const auto character = UnstorableCharacter(typed, StoredText::Description)) {
        Refuse(edit, QString::fromStdString(UnstorableCharacterMessage(*character, StoredText::Description)));
        return false;
    }
    if (!DescriptionStorable(typed, singleBlankStorable)) {
        Refuse(edit, QString::fromLatin1(kSingleBlankDescriptionMessage));
        return false;
    }
    text = std::move(typed);
    return true;
}

void SelectByPrefix(QComboBox* list, const std::string& text)
{
    const QString prefix = FromText(text);
    int found = -1;
    for (int i = 0; i < list->count() && !prefix.isEmpty(); ++i) {
        if (list->itemText(i).startsWith(prefix, Qt::CaseInsensitive)) {
            found = i;
            break;
        }
    }
    list->setCurrentIndex(found);
}

void SelectByIndex(QComboBox* list, int index) { list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1); }

QString FromText(const std::string& text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

std::string ToText(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString IntegerText(int value) { return QString::number(value); }

QString RealText(float value) { return QString::fromStdString(FormatRealField(value)); }
