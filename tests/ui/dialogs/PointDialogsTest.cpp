#include "AnalogPointDialog.h"
#include "DialogTestSupport.h"
#include "DigitalInputDialog.h"
#include "DigitalOutputDialog.h"
#include "IndirectMessageDialog.h"
#include "SlaveAddressDialog.h"

#include <QApplication>
#include <QTimer>

#include <memory>

namespace {

const std::string kChannelRange = "Please enter an integer between 0 and 999.";
const std::string kDataNumberRange = "Please enter an integer between 0 and 999999.";
const std::string kEventRange = "Please enter an integer between 0 and 255.";

QStringList Entries(QComboBox* list)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) {
        entries << list->itemText(i);
    }
    return entries;
}

// --- What every point dialog shares

TEST(PointDialogsTest, CaptionsAndSizesFollowTheDialogUnitsOfTheirFont)
{
    struct Expected {
        std::unique_ptr<EditDialog> Dialog;
        QString Caption;
        int Width;
        int Height;
    };
    Expected dialogs[] = {
        {std::make_unique<AnalogInputDialog>(), "Analog Input", 186, 135},
        {std::make_unique<AnalogOutputDialog>(), "Analog Output", 186, 135},
        {std::make_unique<DigitalInputDialog>(), "Digital Input", 202, 201},
        {std::make_unique<DigitalOutputDialog>(), "Digital Output", 187, 121},
        {std::make_unique<IndirectMessageDialog>(), "Indirect SPA Message", 186, 151},
        {std::make_unique<SlaveAddressDialog>(), "SPA Slave Address", 192, 54},
    };
    for (const Expected& expected : dialogs) {
        EXPECT_EQ(expected.Dialog->windowTitle(), expected.Caption);
        const DialogUnits units(expected.Dialog->font());
        EXPECT_EQ(expected.Dialog->size(), units.Size(expected.Width, expected.Height)) << expected.Caption.toStdString();
        // Every control lies inside the dialog.
        for (const QWidget* child : expected.Dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            EXPECT_TRUE(expected.Dialog->rect().contains(child->geometry())) << child->objectName().toStdString();
        }
    }
}

TEST(PointDialogsTest, CategoryListIsSortedAndPresetLetterIsMatchedIgnoringCase)
{
    AnalogInputDialog dialog;
    dialog.Fields.Category = "i";
    dialog.ShowFields();
    DialogDriver driver(dialog);
    EXPECT_EQ(Entries(driver.List("category")),
              QStringList({"A", "B", "C", "D", "F", "I", "L", "M", "O", "S", "T", "V"}));
    EXPECT_EQ(driver.List("category")->currentText(), "I");
    ASSERT_TRUE(driver.PressOk());
    EXPECT_EQ(dialog.Fields.Category, "I");
}

TEST(PointDialogsTest, CategoryThatMatchesNoEntryMustBePickedBeforeOk)
{
    DigitalOutputDialog dialog;
    dialog.Fields.Category = "E";
    dialog.ShowFields();
    DialogDriver driver(dialog);
    EXPECT_EQ(driver.List("category")->currentIndex(), -1);
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

// --- "Analog Input" and "Analog Output"

TEST(AnalogPointDialogTest, InputChecksScalingFirstThenDataNumberThenChannel)
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
    EXPECT_FALSE(driver.PressOk());
    EXPECT_EQ(driver.LastMessage(), "Please enter a number.");
    EXPECT_EQ(driver.Focused(), "scaling");

    driver.Type("scaling", "0.25");
    EXPECT_FALSE(driver.PressOk());
    EXPECT_EQ(driver.LastMessage(), kDataNumberRange);
    EXPECT_EQ(driver.Focused(), "dataNumber");

    driver.Type("dataNumber", "42");
    EXPECT_FALSE(driver.PressOk());
    EXPECT_EQ(driver.LastMessage(), kChannelRange);
    EXPECT_EQ(driver.Focused(), "channel");
    EXPECT_EQ(dialog.Fields.Description, "Feeder current");  // nothing taken over while refused

    driver.Type("channel", "3");
    driver.Pick("size", "3");
    driver.CheckBox("priority")->click();
    driver.CheckBox("inUse")->click();
    ASSERT_TRUE(driver.PressOk());
    const AnalogPointFields& fields = dialog.Fields;
    EXPECT_EQ(fields.Description, "Busbar voltage");
    EXPECT_EQ(fields.Channel, 3);
    EXPECT_EQ(fields.Category, "I");
    EXPECT_EQ(fields.DataNumber, 42);
    EXPECT_EQ(fields.Scale, 0.25f);
    EXPECT_EQ(fields.SizeIndex, 1);
    EXPECT_TRUE(fields.Priority);
    EXPECT_FALSE(fields.InUse);
    EXPECT_EQ(fields.SlaveAddress, 12);
    EXPECT_EQ(driver.Messages.size(), 3u);
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
    EXPECT_EQ(driver.LastMessage(), kChannelRange);  // the slave address, 0..999
    EXPECT_EQ(driver.Focused(), "slaveAddress");

    dialog.Fields.SlaveAddress = 7;
    dialog.ShowFields();
    driver.Type("scaling", "abc");
    EXPECT_FALSE(driver.PressOk());
    EXPECT_EQ(driver.LastMessage(), "Please enter a number.");

    driver.Type("scaling", "2");
    ASSERT_TRUE(driver.PressOk());
    EXPECT_EQ(dialog.Fields.Scale, 2.0f);
    EXPECT_EQ(dialog.Fields.SizeIndex, 1);
    EXPECT_FALSE(dialog.Fields.InUse);
    EXPECT_TRUE(dialog.Fields.Priority);
}

// --- "Digital Input"

TEST(DigitalInputDialogTest, LastChannelAndDataNumberAreGreyedCopiesUnlessTheTypeIsP)
{
    DigitalInputDialog dialog;
    dialog.Fields.DataType = "S";
    dialog.Fields.FirstChannel = 3;
    dialog.Fields.LastChannel = 8;
    dialog.Fields.FirstDataNumber = 10;
    dialog.Fields.LastDataNumber = 17;
    dialog.ShowFields();
    DialogDriver driver(dialog);
    EXPECT_EQ(Entries(driver.List("dataType")), QStringList({"S", "D", "H", "P"}));
    EXPECT_EQ(Entries(driver.List("bitSwitch")), QStringList({"0", "1"}));
    EXPECT_FALSE(driver.Edit("lastChannel")->isEnabled());
    EXPECT_FALSE(driver.Edit("lastDataNumber")->isEnabled());
    EXPECT_EQ(driver.Edit("lastChannel")->text(), "3");
    EXPECT_EQ(driver.Edit("lastDataNumber")->text(), "10");

    // While greyed they follow the first ones, so the address never carries a stale range.
    driver.Type("firstChannel", "5");
    EXPECT_EQ(driver.Edit("lastChannel")->text(), "5");

    driver.Pick("dataType", "P");
    EXPECT_TRUE(driver.Edit("lastChannel")->isEnabled());
    EXPECT_TRUE(driver.Edit("lastDataNumber")->isEnabled());
    EXPECT_EQ(driver.Edit("lastChannel")->text(), "5");
    driver.Type("lastChannel", "9");
    driver.Type("firstChannel", "6");
    EXPECT_EQ(driver.Edit("lastChannel")->text(), "9");
    ASSERT_TRUE(driver.PressOk());
    EXPECT_EQ(dialog.Fields.DataType, "P");
    EXPECT_EQ(dialog.Fields.FirstChannel, 6);
    EXPECT_EQ(dialog.Fields.LastChannel, 9);
    EXPECT_EQ(dialog.Fields.LastDataNumber, 10);
}

TEST(DigitalInputDialogTest, RangeOfTypePMustRunFromFirstToLast)
{
    DigitalInputDialog dialog;
    dialog.Fields.DataType = "p";
    dialog.Fields.FirstChannel = 5;
    dialog.Fields.LastChannel = 4;
    dialog.Fields.FirstDataNumber = 20;
    dialog.Fields.LastDataNumber = 10;
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
    EXPECT_EQ(dialog.Fields.LastChannel, 5);
    EXPECT_EQ(dialog.Fields.LastDataNumber, 20);
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
        {"firstDataNumber", "999999"}, {"eventValue2", "255"}, {"eventValue4", "0"},
        {"eventEnd", "9"},             {"eventStart", "1"},    {"firstChannel", "999"},
    };
    const std::string expectedMessages[] = {kDataNumberRange, kEventRange, kEventRange, kEventRange, kEventRange,
                                            kChannelRange};
    for (std::size_t i = 0; i < std::size(fixes); ++i) {
        EXPECT_FALSE(driver.PressOk());
        EXPECT_EQ(driver.Focused(), fixes[i].first);
        EXPECT_EQ(driver.LastMessage(), expectedMessages[i]);
        driver.Type(fixes[i].first, fixes[i].second);
    }
    // The event channel comes last and takes any integer.
    EXPECT_FALSE(driver.PressOk());
    EXPECT_EQ(driver.Focused(), "eventChannel");
    EXPECT_EQ(driver.LastMessage(), "Please enter an integer.");
    driver.Type("eventChannel", "-70000");
    driver.Pick("bitSwitch", "1");
    ASSERT_TRUE(driver.PressOk());
    const DigitalInputFields& fields = dialog.Fields;
    EXPECT_EQ(fields.EventChannel, -70000);
    EXPECT_EQ(fields.EventStart, 1);
    EXPECT_EQ(fields.EventEnd, 9);
    EXPECT_EQ(fields.EventValues, (std::array<int, 4>{0, 255, 0, 0}));
    EXPECT_EQ(fields.FirstChannel, 999);
    EXPECT_EQ(fields.LastChannel, 999);
    EXPECT_EQ(fields.FirstDataNumber, 999999);
    EXPECT_EQ(fields.BitSwitchIndex, 1);
    EXPECT_EQ(fields.DataType, "D");
}

// --- "Digital Output"

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
    EXPECT_EQ(driver.LastMessage(), kChannelRange);
    driver.Type("channel", "1");
    ASSERT_TRUE(driver.PressOk());
    EXPECT_EQ(dialog.Fields.DataType, "H");
    EXPECT_EQ(dialog.Fields.Channel, 1);
    EXPECT_FALSE(dialog.Fields.InUse);
    EXPECT_TRUE(dialog.Fields.Priority);
}

// --- "Indirect SPA Message"

TEST(IndirectMessageDialogTest, PickingWriteChecksAndGreysInUseAndReadFreesIt)
{
    IndirectMessageDialog dialog;
    dialog.Fields.ReadWriteIndex = 1;
    dialog.Fields.InUse = false;
    dialog.ShowFields();
    DialogDriver driver(dialog);
    EXPECT_EQ(Entries(driver.List("readWrite")), QStringList({"Read", "Write"}));
    EXPECT_EQ(dialog.findChild<QCheckBox*>("priority"), nullptr);
    // The rule applies to the user's pick, not to the preset.
    EXPECT_TRUE(driver.CheckBox("inUse")->isEnabled());
    EXPECT_FALSE(driver.CheckBox("inUse")->isChecked());

    driver.Pick("readWrite", "R");
    EXPECT_TRUE(driver.CheckBox("inUse")->isEnabled());
    EXPECT_FALSE(driver.CheckBox("inUse")->isChecked());
    driver.Pick("readWrite", "W");
    EXPECT_TRUE(driver.CheckBox("inUse")->isChecked());
    EXPECT_FALSE(driver.CheckBox("inUse")->isEnabled());
    driver.Pick("readWrite", "R");
    EXPECT_TRUE(driver.CheckBox("inUse")->isEnabled());
    EXPECT_TRUE(driver.CheckBox("inUse")->isChecked());
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
    EXPECT_EQ(driver.Focused(), "scaling");
    EXPECT_EQ(driver.LastMessage(), "Please enter a number.");

    driver.Type("scaling", "1e-3");
    EXPECT_FALSE(driver.PressOk());
    EXPECT_EQ(driver.Focused(), "staticData");
    EXPECT_EQ(driver.LastMessage(), "Please enter an integer.");

    driver.Type("staticData", "-100000");
    ASSERT_TRUE(driver.PressOk());
    EXPECT_EQ(dialog.Fields.StaticData, -100000);
    EXPECT_EQ(dialog.Fields.Scale, 0.001f);
}

// --- "SPA Slave Address"

TEST(SlaveAddressDialogTest, AddressRunsFromZeroTo999)
{
    SlaveAddressDialog dialog;
    dialog.Address = 5;
    dialog.ShowFields();
    DialogDriver driver(dialog);
    EXPECT_EQ(driver.Edit("address")->text(), "5");
    driver.Type("address", "1000");
    EXPECT_FALSE(driver.PressOk());
    EXPECT_EQ(driver.LastMessage(), kChannelRange);
    EXPECT_EQ(driver.Focused(), "address");
    EXPECT_EQ(dialog.Address, 5);
    driver.Type("address", "999");
    ASSERT_TRUE(driver.PressOk());
    EXPECT_EQ(dialog.Address, 999);
}

// --- Running modally, with the real message box

TEST(DialogRunTest, RunShowsTheRangeMessageInAMessageBoxAndReturnsOnOk)
{
    SlaveAddressDialog dialog;
    dialog.Address = 3;
    std::vector<std::string> boxes;
    // The dialog's event loop: type a bad address, press OK, read and close the
    // message box that appears, then type a good one and press OK.
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
    EXPECT_EQ(boxes, std::vector<std::string>{"Halvex Configuration Tool|" + kChannelRange});
}

TEST(DialogRunTest, CancelLeavesTheFieldsAsPreset)
{
    AnalogInputDialog dialog;
    dialog.Fields.Description = "kept";
    QTimer::singleShot(0, &dialog, [&dialog] {
        dialog.findChild<QLineEdit*>("description")->setText("changed");
        dialog.findChild<QPushButton*>("cancel")->click();
    });
    EXPECT_FALSE(dialog.Run());
    EXPECT_EQ(dialog.Fields.Description, "kept");
}

}  // namespace
