// Points edited through their dialogs, saved and read back: what a dialog
// accepts, the file carries.
#include "AnalogPointDialog.h"
#include "ConfigFile.h"
#include "DialogDriver.h"
#include "DigitalInputDialog.h"
#include "DigitalOutputDialog.h"
#include "IndirectMessageDialog.h"
#include "PointEditing.h"
#include "ScriptedWindowSystem.h"

#include <QApplication>
#include <QTimer>

#include <memory>
#include <utility>

namespace {

using Values = std::vector<std::pair<const char*, QString>>;

// Opens the point's dialog through `edit` and, inside it, enters the values
// and presses OK; with no values it cancels. The dialog's fields as accepted,
// or as shown when cancelled.
template <typename Dialog, typename Point>
auto RunDialog(PointEdit (*edit)(QWidget*, Point&), Point& point, const Values& values)
{
    decltype(Dialog::Fields) fields{};
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        DialogDriver driver(*dialog);
        for (const auto& [name, value] : values) {
            driver.Set(name, value);
        }
        if (values.empty() || !driver.PressOk()) {
            EXPECT_TRUE(values.empty()) << driver.LastMessage();
            dialog->reject();
        }
        fields = dialog->Fields;
    });
    edit(nullptr, point);
    return fields;
}

// Edits the first point of the list with the values, saves the configuration
// (with and without offsets), reads it back and shows the point read in the
// same dialog: it must show what was entered.
template <typename Dialog, typename Point, typename List>
void ExpectRoundTrip(List ConfigTemplate::*list, PointEdit (*edit)(QWidget*, Point&), const Values& values)
{
    auto config = std::make_unique<ConfigTemplate>();
    Point point;
    point.SlaveAddress = 999;  // read-only in the dialog
    ((*config).*list).Append(point);
    const auto entered = RunDialog<Dialog>(edit, ((*config).*list)[0], values);
    for (bool withOffsets : {false, true}) {
        auto back = std::make_unique<ConfigTemplate>();
        ScriptedWindowSystem ui;
        ASSERT_TRUE(ReadConfigText(*back, ConfigFileText(*config, withOffsets), ui));
        ASSERT_EQ(((*back).*list).Count(), 1) << values.front().second.toStdString();
        EXPECT_EQ(RunDialog<Dialog>(edit, ((*back).*list)[0], {}), entered) << values.front().second.toStdString();
    }
}

const QString kOddText = QStringLiteral("\"Earth\" fault; [Io] = 5/7 \\ ") + QString(200, 'x') + " ";
const QString kLargestScale = "-340282346638528859811704183484516925440";
const Values kAnalogLeast{{"description", ""}, {"channel", "0"}, {"category", "A"}, {"dataNumber", "0"},
                          {"scaling", "0.000001"}, {"size", "16"}, {"inUse", "0"}, {"priority", "0"}};
const Values kAnalogMost{{"description", kOddText}, {"channel", "999"}, {"category", "V"}, {"dataNumber", "999999"},
                         {"scaling", kLargestScale}, {"size", "32"}, {"inUse", "1"}, {"priority", "1"}};

}  // namespace

TEST(PointEditing, EveryFieldsExtremeValuesReadBackAsEntered)
{
    ExpectRoundTrip<AnalogInputDialog>(&ConfigTemplate::AnalogInputs, EditAnalogInput, kAnalogLeast);
    ExpectRoundTrip<AnalogInputDialog>(&ConfigTemplate::AnalogInputs, EditAnalogInput, kAnalogMost);
    ExpectRoundTrip<AnalogOutputDialog>(&ConfigTemplate::AnalogOutputs, EditAnalogOutput, kAnalogLeast);
    ExpectRoundTrip<AnalogOutputDialog>(&ConfigTemplate::AnalogOutputs, EditAnalogOutput, kAnalogMost);
    for (const char* type : {"S", "P"}) {
        ExpectRoundTrip<DigitalInputDialog>(
            &ConfigTemplate::DigitalInputs, EditDigitalInput,
            {{"description", QString(type) + kOddText}, {"dataType", type}, {"firstChannel", "999"},
             {"lastChannel", "999"}, {"category", "B"}, {"firstDataNumber", "0"}, {"lastDataNumber", "999999"},
             {"bitSwitch", "1"}, {"eventChannel", "-2147483648"}, {"eventStart", "255"}, {"eventEnd", "0"},
             {"eventValue1", "255"}, {"eventValue2", "0"}, {"eventValue3", "255"}, {"eventValue4", "255"},
             {"inUse", "0"}, {"priority", "1"}});
    }
    ExpectRoundTrip<DigitalOutputDialog>(&ConfigTemplate::DigitalOutputs, EditDigitalOutput,
                                         {{"description", kOddText}, {"channel", "999"}, {"category", "T"},
                                          {"dataNumber", "999999"}, {"dataType", "H"}});
    for (const char* data : {"-2147483648", "2147483647"}) {
        ExpectRoundTrip<IndirectMessageDialog>(&ConfigTemplate::IndirectMessages, EditIndirectMessage,
                                               {{"description", QString(data) + kOddText}, {"readWrite", "W"},
                                                {"staticData", data}, {"scaling", kLargestScale.mid(1)},
                                                {"channel", "999"}, {"category", "F"}, {"dataNumber", "999999"}});
    }
}

TEST(PointEditing, EveryPointDialogRefusesWhatTheFileCannotCarry)
{
    std::unique_ptr<EditDialog> dialogs[] = {std::make_unique<AnalogInputDialog>(),
                                             std::make_unique<AnalogOutputDialog>(),
                                             std::make_unique<DigitalInputDialog>(),
                                             std::make_unique<DigitalOutputDialog>(),
                                             std::make_unique<IndirectMessageDialog>()};
    for (const auto& dialog : dialogs) {
        dialog->ShowFields();
        DialogDriver driver(*dialog);
        const std::string caption = dialog->windowTitle().toStdString();
        driver.Type("description", "Earth fault, \"Io\"");
        EXPECT_FALSE(driver.PressOk()) << caption;
        EXPECT_EQ(driver.Focused() + "|" + driver.LastMessage(),
                  "description|The character \",\" cannot be stored in a description.")
            << caption;
        // A lone blank is dropped by the reader only where the description is checked.
        driver.Type("description", " ");
        const bool analog = caption.rfind("Analog", 0) == 0;
        EXPECT_EQ(driver.PressOk(), analog) << caption;
        if (!analog) {
            EXPECT_EQ(driver.LastMessage(), "A description of a single blank cannot be stored.") << caption;
        }
    }
    AnalogInputDialog scale;
    scale.ShowFields();
    DialogDriver driver(scale);
    driver.Type("scaling", "0.0000004");
    EXPECT_FALSE(driver.PressOk());
    EXPECT_EQ(driver.Focused() + "|" + driver.LastMessage(),
              "scaling|Please enter a number with at most 6 decimals.");
}
