#include "AnalogPointDialog.h"
#include "DialogDriver.h"
#include "DigitalInputDialog.h"
#include "DigitalOutputDialog.h"
#include "IndirectMessageDialog.h"
#include "SlaveAddressDialog.h"

#include <QApplication>
#include <QTimer>

#include <memory>

namespace {

const std::string kAddressRange = "Please enter an integer between 0 and 999.";
const std::string kDataNumberRange = "Please enter an integer between 0 and 999999.";
const std::string kEventRange = "Please enter an integer between 0 and 255.";
const std::string kNotANumber = "Please enter a number.";

QStringList Entries(QComboBox* list)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) {
        entries << list->itemText(i);
    }
    return entries;
}

TEST(PointDialogsTest, CaptionsAndSizesFollowTheDialogUnitsOfTheirFont)
{
    struct Expected {
        std::unique_ptr<EditDialog> Dialog;
        QString Caption;
        int Width;
        int Height;
    };
    const Expected dialogs[] = {
        {std::make_unique<AnalogInputDialog>(), "Analog Input", 186, 135},
        {std::make_unique<AnalogOutputDialog>(), "Analog Output", 186, 135},
        {std::make_unique<DigitalInputDialog>(), "Digital Input", 202, 201},
        {std::make_unique<DigitalOutputDialog>(), "Digital Output", 187, 121},
        {std::make_unique<IndirectMessageDialog>(), "Indirect SPA Message", 186, 151},
        {std::make_unique<SlaveAddressDialog>(), "SPA Slave Address", 192, 54},
    };
    for (const Expected& expected : dialogs) {
        EXPECT_EQ(expected.Dialog->windowTitle(), expected.Caption);
        EXPECT_EQ(expected.Dialog->size(), DialogUnits(expected.Dialog->font()).Size(expected.Width, expected.Height));
        for (const QWidget* child : expected.Dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            EXPECT_TRUE(expected.Dialog->rect().contains(child->geometry())) << child->objectName().toStdString();
        }
    }
}

TEST(PointDialogsTest, CategoryIsPickedFromTheSortedListByItsLetterIgnoringCase)
{
    DigitalOutputDialog dialog;
    dialog.Fields.Category = "i";
    dialog.ShowFields();
    DialogDriver driver(dialog);
    EXPECT_EQ(Entries(driver.List("category")),
              QStringList({"A", "B", "C", "D", "F", "I", "L", "M", "O", "S", "T", "V"}));
    ASSERT_TRUE(driver.PressOk());
    EXPECT_EQ(dialog.Fields.Category, "I");

    // A letter that matches no entry leaves none selected: OK asks for one.
    dialog.Fields.Category = "E";
    dialog.ShowFields();
    EXPECT_FALSE(driver.PressOk());
    EXPECT_EQ(driver.LastMessage(), "Please select a category.");
    EXPECT_EQ(driver.Focused(), "category");
    driver.Pick("category", "S");
    ASSERT_TRUE(driver.PressOk());
    EXPECT_EQ(dialog.Fields.Category, "S");
}

TEST(PointDialogsTest, DataNumberAboveItsRangeIsRefusedInEveryPointDialog)
{
    std::unique_ptr<EditDialog> dialogs[] = {std::make_unique<AnalogInputDialog>(),
                                             std::make_unique<AnalogOutputDialog>(),
                                             std::make_unique<DigitalOutputDialog>(),
                                             std::make_unique<IndirectMessageDialog>()};
    for (auto& dialog : dialogs) {
        dialog->ShowFields();
        DialogDriver driver(*dialog);
        driver.Type("dataNumber", "1000000");
        EXPECT_FALSE(driver.PressOk()) << dialog->windowTitle().toStdString();
        EXPECT_EQ(driver.LastMessage(), kDataNumberRange);
        EXPECT_EQ(driver.Focused(), "dataNumber");
        driver.Type("dataNumber", "999999");
        EXPECT_TRUE(driver.PressOk()) << dialog->windowTitle().toStdString();
    }
}

TEST(AnalogPointDialogTest, InputChecksScalingThenDataNumberThenChannel)
{
    AnalogInputDialog dialog;
    dialog.Fields = {"Feeder current", 12, 0, "I", 1, 1.0f, 0, true, false};
    dialog.ShowFields();
    DialogDriver driver(dialog);
    EXPECT_TRUE(driver.Edit("slaveAddress")->isReadOnly());
    EXPECT_TRUE(driver.Find<QGroupBox>("options")->isVisible());
    EXPECT_EQ(Entries(driver.List("size")), QStringList({"16 Bit", "32 Bit"}));

    driver.Type("description", "Busbar voltage");
    driver.Type("channel", "1000");
    driver.Type("dataNumber", "1000000");
    driver.Type("scaling", "x1");
    const std::pair<const char*, const char*> fixes[] = {{"scaling", "0.25"}, {"dataNumber", "42"}, {"channel", "3"}};
    const std::string messages[] = {kNotANumber, kDataNumberRange, kAddressRange};
    for (std::size_t i = 0; i < std::size(fixes); ++i) {
        EXPECT_FALSE(driver.PressOk());
        EXPECT_EQ(driver.Focused(), fixes[i].first);
        EXPECT_EQ(driver.LastMessage(), messages[i]);
        driver.Type(fixes[i].first, fixes[i].second);
    }
    EXPECT_EQ(dialog.Fields.Description, "Feeder current");  // nothing taken over while refused
    driver.Pick("size", "3");
    driver.CheckBox("priority")->click();
    driver.CheckBox("inUse")->click();
    ASSERT_TRUE(driver.PressOk());
    EXPECT_EQ(dialog.Fields, (AnalogPointFields{"Busbar voltage", 12, 3, "I", 42, 0.25f, 1, false, true}));
}

TEST(AnalogPointDialogTest, OutputChecksSlaveAddressBeforeScalingAndPassesItsHiddenOptionsThrough)
{
    AnalogOutputDialog dialog;
    dialog.Fields = {"Setpoint", 1000, 0, "S", 1, 1.0f, 1, false, true};
    dialog.ShowFields();
    DialogDriver driver(dialog);
    EXPECT_FALSE(driver.Find<QGroupBox>("options")->isVisible());
    driver.Type("scaling", "abc");
    EXPECT_FALSE(driver.PressOk());
    EXPECT_EQ(driver.LastMessage(), kAddressRange);
    EXPECT_EQ(driver.Focused(), "slaveAddress");

    dialog.Fields.SlaveAddress = 7;
    dialog.ShowFields();
    driver.Type("scaling", "abc");
    EXPECT_FALSE(driver.PressOk());
    EXPECT_EQ(driver.LastMessage(), kNotANumber);
    driver.Type("scaling", "2");
    ASSERT_TRUE(driver.PressOk());
    EXPECT_EQ(dialog.Fields, (AnalogPointFields{"Setpoint", 7, 0, "S", 1, 2.0f, 1, false, true}));
}

TEST(DigitalInputDialogTest, LastChannelAndDataNumberAreGreyedCopiesUnlessTheTypeIsP)
{
    DigitalInputDialog dialog;
    dialog.Fields = {"Trip", 1, 3, 8, "A", 10, 17, "S", 0, 0, 0, 0, {0, 0, 0, 0}, true, false};
    dialog.ShowFields();
    DialogDriver driver(dialog);
    EXPECT_EQ(Entries(driver.List("dataType")), QStringList({"S", "D", "H", "P"}));
    EXPECT_EQ(Entries(driver.List("bitSwitch")), QStringList({"0", "1"}));
    EXPECT_FALSE(driver.Edit("lastChannel")->isEnabled() || driver.Edit("lastDataNumber")->isEnabled());
    EXPECT_EQ(driver.Edit("lastChannel")->text() + "/" + driver.Edit("lastDataNumber")->text(), "3/10");

    // While greyed they follow the first ones, so the address never carries a stale range.
    driver.Type("firstChannel", "5");
    EXPECT_EQ(driver.Edit("lastChannel")->text(), "5");

    driver.Pick("dataType", "P");
    EXPECT_TRUE(driver.Edit("lastChannel")->isEnabled() && driver.Edit("lastDataNumber")->isEnabled());
    EXPECT_EQ(driver.Edit("lastChannel")->text(), "5");
    driver.Type("lastChannel", "9");
    driver.Type("firstChannel", "6");
    ASSERT_TRUE(driver.PressOk());
    EXPECT_EQ(dialog.Fields.DataType + " " + std::to_string(dialog.Fields.FirstChannel) + "/" +
                  std::to_string(dialog.Fields.LastChannel) + " " + std::to_string(dialog.Fields.LastDataNumber),
              "P 6/9 10");
}

TEST(DigitalInputDialogTest, RangeOfTypePMustRunFromFirstToLast)
{
    DigitalInputDialog dialog;
    dialog.Fields = {"Trip", 1, 5, 4, "A", 20, 10, "p", 0, 0, 0, 0, {0, 0, 0, 0}, true, false};
    dialog.ShowFields();
    DialogDriver driver(dialog);
    EXPECT_FALSE(driver.PressOk());
    EXPECT_EQ(driver.LastMessage(), "First channel can not be higher than last channel");
    EXPECT_EQ(driver.Focused(), "lastChannel");
    driver.Type("lastChannel", "5");
    EXPECT_FALSE(driver.PressOk());
    EXPECT_EQ(driver.LastMessage(), "First datanumber can not be higher than last datanumber");
    driver.Type("lastDataNumber", "20");
    ASSERT_TRUE(driver.PressOk());
    EXPECT_EQ(dialog.Fields.LastChannel * 100 + dialog.Fields.LastDataNumber, 520);
}

TEST(DigitalInputDialogTest, FieldsAreCheckedInTheDialogsOrder)
{
    DigitalInputDialog dialog;
    dialog.Fields.DataType = "D";
    dialog.ShowFields();
    DialogDriver driver(dialog);
    driver.Type("eventChannel", "x");
    driver.Type("firstChannel", "1000");
    driver.Type("eventStart", "300");
    driver.Type("eventEnd", "-1");
    driver.Type("eventValue4", "256");
    driver.Type("eventValue2", "256");
    driver.Type("firstDataNumber", "1000000");
    const std::pair<const char*, const char*> fixes[] = {
        {"firstDataNumber", "999999"}, {"eventValue2", "255"}, {"eventValue4", "0"}, {"eventEnd", "9"},
        {"eventStart", "1"},           {"firstChannel", "999"}, {"eventChannel", "-70000"},
    };
    const std::string messages[] = {kDataNumberRange, kEventRange, kEventRange,  kEventRange,
                                    kEventRange,      kAddressRange, "Please enter an integer."};
    for (std::size_t i = 0; i < std::size(fixes); ++i) {
        EXPECT_FALSE(driver.PressOk());
        EXPECT_EQ(driver.Focused(), fixes[i].first);
        EXPECT_EQ(driver.LastMessage(), messages[i]);
        driver.Type(fixes[i].first, fixes[i].second);
    }
    driver.Pick("bitSwitch", "1");
    ASSERT_TRUE(driver.PressOk());
    EXPECT_EQ(dialog.Fields,
              (DigitalInputFields{"", 0, 999, 999, "A", 999999, 999999, "D", 1, -70000, 1, 9, {0, 255, 0, 0}, true, false}));
}

TEST(DigitalOutputDialogTest, DataTypeListKeepsItsOrderAndHiddenOptionsPassThrough)
{
    DigitalOutputDialog dialog;
    dialog.Fields = {"Breaker", 4, 0, "O", 2, "h", false, true};
    dialog.ShowFields();
    DialogDriver driver(dialog);
    EXPECT_EQ(Entries(driver.List("dataType")), QStringList({"B", "S", "D", "H"}));
    EXPECT_FALSE(driver.Find<QGroupBox>("options")->isVisible());
    driver.Type("channel", "-1");
    EXPECT_FALSE(driver.PressOk());
    EXPECT_EQ(driver.LastMessage(), kAddressRange);
    driver.Type("channel", "1");
    ASSERT_TRUE(driver.PressOk());
    EXPECT_EQ(dialog.Fields, (DigitalOutputFields{"Breaker", 4, 1, "O", 2, "H", false, true}));
}

TEST(IndirectMessageDialogTest, PickingWriteChecksAndGreysInUseAndReadFreesIt)
{
    IndirectMessageDialog dialog;
    dialog.Fields.ReadWriteIndex = 1;
    dialog.Fields.InUse = false;
    dialog.ShowFields();
    DialogDriver driver(dialog);
    QCheckBox* inUse = driver.CheckBox("inUse");
    EXPECT_EQ(Entries(driver.List("readWrite")), QStringList({"Read", "Write"}));
    EXPECT_EQ(dialog.findChild<QCheckBox*>("priority"), nullptr);
    // The rule follows the user's picks, not the preset.
    EXPECT_TRUE(inUse->isEnabled() && !inUse->isChecked());
    driver.Pick("readWrite", "R");
    EXPECT_TRUE(inUse->isEnabled() && !inUse->isChecked());
    driver.Pick("readWrite", "W");
    EXPECT_TRUE(!inUse->isEnabled() && inUse->isChecked());
    driver.Pick("readWrite", "R");
    EXPECT_TRUE(inUse->isEnabled() && inUse->isChecked());
    ASSERT_TRUE(driver.PressOk());
    EXPECT_EQ(dialog.Fields.ReadWriteIndex, 0);
    EXPECT_TRUE(dialog.Fields.InUse);
}

TEST(IndirectMessageDialogTest, ScalingIsCheckedBeforeStaticDataWhichTakesAnyInteger)
{
    IndirectMessageDialog dialog;
    dialog.ShowFields();
    DialogDriver driver(dialog);
    driver.Type("staticData", "1.5");
    driver.Type("scaling", "");
    EXPECT_FALSE(driver.PressOk());
    EXPECT_EQ(driver.Focused() + "|" + driver.LastMessage(), "scaling|" + kNotANumber);
    driver.Type("scaling", "1e-3");
    EXPECT_FALSE(driver.PressOk());
    EXPECT_EQ(driver.Focused() + "|" + driver.LastMessage(), "staticData|Please enter an integer.");
    driver.Type("staticData", "-100000");
    ASSERT_TRUE(driver.PressOk());
    EXPECT_EQ(dialog.Fields, (IndirectMessageFields{"", 0, 0, "I", 0, 0, -100000, 0.001f, true}));
}

TEST(SlaveAddressDialogTest, AddressRunsFromZeroTo999)
{
    SlaveAddressDialog dialog;
    dialog.Address = 5;
    dialog.ShowFields();
    DialogDriver driver(dialog);
    EXPECT_EQ(driver.Edit("address")->text(), "5");
    driver.Type("address", "1000");
    EXPECT_FALSE(driver.PressOk());
    EXPECT_EQ(driver.Focused() + "|" + driver.LastMessage(), "address|" + kAddressRange);
    EXPECT_EQ(dialog.Address, 5);
    driver.Type("address", "999");
    ASSERT_TRUE(driver.PressOk());
    EXPECT_EQ(dialog.Address, 999);
}

TEST(DialogRunTest, RunShowsTheRangeMessageInAMessageBoxAndReturnsOnOk)
{
    SlaveAddressDialog dialog;
    std::vector<std::string> boxes;
    // Inside the dialog's event loop: a bad address and OK; the message box
    // that appears is read and closed; then a good address and OK.
    QTimer::singleShot(0, &dialog, [&dialog, &boxes] {
        auto* edit = dialog.findChild<QLineEdit*>("address");
        auto* ok = dialog.findChild<QPushButton*>("ok");
        edit->setText("4000");
        QTimer::singleShot(0, &dialog, [&boxes] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxes.push_back(box->windowTitle().toStdString() + "|" + box->text().toStdString());
                box->accept();
            }
        });
        ok->click();
        edit->setText("17");
        ok->click();
    });
    ASSERT_TRUE(dialog.Run());
    EXPECT_EQ(dialog.Address, 17);
    EXPECT_EQ(boxes, std::vector<std::string>{"Halvex Configuration Tool|" + kAddressRange});

    QTimer::singleShot(0, &dialog, [&dialog] {
        dialog.findChild<QLineEdit*>("address")->setText("21");
        dialog.findChild<QPushButton*>("cancel")->click();
    });
    EXPECT_FALSE(dialog.Run());
    EXPECT_EQ(dialog.Address, 17);
}

}  // namespace
