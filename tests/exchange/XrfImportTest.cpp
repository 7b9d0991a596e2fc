#include "ScriptedWindowSystem.h"
#include "TestFiles.h"
#include "XrfImport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A unit description file with one case per line; the comments say what each
// line must give.
const std::string kUnitFile = CrLfLines(
    "; Line relay.xrf",
    "; a comment, skipped",
    "text before the first section, skipped",
    "[SPA_UNIT] text after the header",
    "1=5",
    "2 = 7 ; unit 2 is slave 7",
    " 4=9",
    "A=9",
    "300=9",
    "[ANALOG_INPUT]",
    "\"Current\": 2.0I1/$",
    "\"Voltage\": 3.0I2/ $ kV",
    "\"Power\": 1.0I3/2.5 MW",
    "\"Energy\": 1.0I4/",
    "\"Angle\": 1.0I5/abc",
    "Unquoted: 1.0I6/1.0",
    "\" \": 1.0I7/1.0",
    "\"\": 1.0I8/3",
    "no colon 1.0I9/1",
    "[NOT_A_SECTION]",
    "\"Skipped\": 1.0I9/1",
    "[ANALOG_OUTPUT]",
    "\"Setpoint\": 2.0O1/0.5",
    "[DIGITAL_INPUT]",
    "1.\"Breaker\": 2.10I5 S 1 E3/4 [1,2,3,4]",
    "1.\"In/Out\": 1.0I7 D 0 [1,2,3,4]",
    "1.\"A/B alarm\": 1.2E9 H 5 E7 [7]",
    "2.\"Other\": 1.0I1 S 0 E1/2 [1]",
    "1.\"Broken\": 1.123 S 0 E1/1 [0]",
    "[SPA_UNIT]",
    "3=12",
    "[DIGITAL_OUTPUT]",
    "1.\"Open\": x 3.0O1 B",
    "1.\"Trip\": x",
    "2.\"Other\": x 1.0O3 B") + "1.\"Close\": x 1.0O2 S";

class XrfImportTest : public ::testing::Test {
protected:
    bool Import(const std::string& text)
    {
        WriteTextFile(path_, text);
        return ImportXrf(*config_, path_, ui_);
    }

    TemporaryDirectory directory_;
    std::string path_ = directory_.File("unit.xrf");
    std::unique_ptr<ConfigTemplate> config_ = std::make_unique<ConfigTemplate>();
    ScriptedWindowSystem ui_;
};

}  // namespace

TEST_F(XrfImportTest, TemplateNameAndUnitTable)
{
    ASSERT_TRUE(Import(kUnitFile));
    EXPECT_EQ(config_->TemplateName, " LINE RELAY");
    EXPECT_EQ(config_->UnitTable[1], 5);
    EXPECT_EQ(config_->UnitTable[2], 7);
    EXPECT_EQ(config_->UnitTable[3], 12);
    EXPECT_EQ(config_->UnitTable[4], 0);
    EXPECT_EQ(config_->UnitTable[0], 0);
}

TEST_F(XrfImportTest, AnalogLines)
{
    ASSERT_TRUE(Import(kUnitFile));
    ASSERT_EQ(config_->AnalogInputs.Count(), 6);
    struct Expected {
        const char* Description;
        int SlaveAddress;
        const char* Address;
        float Scale;
    };
    const Expected expected[] = {
        {"Current", 7, "0I1", 1.0f}, {"Voltage", 0, "0I2", 1.0f}, {"Power", 5, "0I3", 2.5f},
        {"Energy", 5, "0I4", 0.0f},  {"Angle", 5, "0I5", 0.0f},   {"", 5, "0I8", 3.0f},
    };
    for (int i = 0; i < 6; ++i) {
        const AnalogInputPoint& point = config_->AnalogInputs[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(point.Description, expected[i].Description);
        EXPECT_EQ(point.SlaveAddress, expected[i].SlaveAddress);
        EXPECT_EQ(point.Address, expected[i].Address);
        EXPECT_FLOAT_EQ(point.Scale, expected[i].Scale);
        EXPECT_EQ(point.Size, 16);
        EXPECT_TRUE(point.InUse);
        EXPECT_FALSE(point.Priority);
    }
    ASSERT_EQ(config_->AnalogOutputs.Count(), 1);
    EXPECT_EQ(config_->AnalogOutputs[0].Description, "Setpoint");
    EXPECT_EQ(config_->AnalogOutputs[0].SlaveAddress, 7);
    EXPECT_EQ(config_->AnalogOutputs[0].Address, "0O1");
    EXPECT_FLOAT_EQ(config_->AnalogOutputs[0].Scale, 0.5f);
    EXPECT_TRUE(config_->IndirectMessages.Empty());
}

TEST_F(XrfImportTest, DigitalInputLines)
{
    ASSERT_TRUE(Import(kUnitFile));
    ASSERT_EQ(config_->DigitalInputs.Count(), 4);
    const DigitalInputPoint& breaker = config_->DigitalInputs[0];
    EXPECT_EQ(breaker.Description, "Breaker");
    EXPECT_EQ(breaker.SlaveAddress, 7);
    EXPECT_EQ(breaker.Address, "10/10I5/5");
    EXPECT_EQ(breaker.DataType, "S");
    EXPECT_TRUE(breaker.BitSwitch);
    EXPECT_EQ(breaker.EventChannel, 0);
    EXPECT_EQ(breaker.EventStart, 3);
    EXPECT_EQ(breaker.EventEnd, 4);
    EXPECT_EQ(breaker.EventValues, (std::array<int, 4>{1, 2, 3, 4}));

    const DigitalInputPoint& withoutEvent = config_->DigitalInputs[1];
    EXPECT_EQ(withoutEvent.Description, "In/Out");
    EXPECT_EQ(withoutEvent.Address, "0/0I7/7");
    EXPECT_FALSE(withoutEvent.BitSwitch);
    EXPECT_EQ(withoutEvent.EventStart, 0);
    EXPECT_EQ(withoutEvent.EventEnd, 0);
    EXPECT_EQ(withoutEvent.EventValues, (std::array<int, 4>{1, 2, 3, 4}));

    const DigitalInputPoint& oneValue = config_->DigitalInputs[2];
    EXPECT_EQ(oneValue.Address, "2/2E9/9");
    EXPECT_EQ(oneValue.DataType, "H");
    EXPECT_TRUE(oneValue.BitSwitch);
    EXPECT_EQ(oneValue.EventStart, 7);
    EXPECT_EQ(oneValue.EventEnd, 0);
    EXPECT_EQ(oneValue.EventValues, (std::array<int, 4>{7, 0, 0, 0}));

    // Prefix "2" is skipped; the address without a letter keeps its text and
    // is reported with its position in the list.
    EXPECT_EQ(config_->DigitalInputs[3].Description, "Broken");
    EXPECT_EQ(config_->DigitalInputs[3].Address, "123");
    EXPECT_EQ(ui_.Messages, std::vector{NoticeMessage("Warning : Digital Input #3 seems to be corrupt")});
}

TEST_F(XrfImportTest, DigitalOutputLines)
{
    ASSERT_TRUE(Import(kUnitFile));
    ASSERT_EQ(config_->DigitalOutputs.Count(), 3);
    const DigitalOutputPoint& open = config_->DigitalOutputs[0];
    EXPECT_EQ(open.Description, "Open");
    EXPECT_EQ(open.SlaveAddress, 12);
    EXPECT_EQ(open.Address, "0O1");
    EXPECT_EQ(open.DataType, "B");
    EXPECT_TRUE(open.InUse);
    EXPECT_FALSE(open.Priority);
    // Without a field before the unit nothing is skipped.
    EXPECT_EQ(config_->DigitalOutputs[1].Description, "Trip");
    EXPECT_EQ(config_->DigitalOutputs[1].SlaveAddress, 0);
    // The last line has no line end and is read all the same.
    const DigitalOutputPoint& close = config_->DigitalOutputs[2];
    EXPECT_EQ(close.Description, "Close");
    EXPECT_EQ(close.SlaveAddress, 5);
    EXPECT_EQ(close.Address, "0O2");
    EXPECT_EQ(close.DataType, "S");
}

TEST_F(XrfImportTest, ReplacesTheWholeConfiguration)
{
    config_->TemplateName = "PREVIOUS";
    config_->SpaBaudRate = 19200;
    config_->DigitalOutputs.Append(DigitalOutputPoint{});

    ASSERT_TRUE(Import("[ANALOG_INPUT]\n\"Level\": 0.0I1/2\n"));
    EXPECT_EQ(config_->TemplateName, "PREVIOUS");
    EXPECT_EQ(config_->SpaBaudRate, 9600);
    EXPECT_TRUE(config_->DigitalOutputs.Empty());
    ASSERT_EQ(config_->AnalogInputs.Count(), 1);
    EXPECT_EQ(config_->AnalogInputs[0].Description, "Level");

    ASSERT_TRUE(Import(CrLfLines(";name.XRF", "[DIGITAL_OUTPUT]")));
    EXPECT_EQ(config_->TemplateName, "NAME");
    EXPECT_TRUE(config_->AnalogInputs.Empty());
}

TEST_F(XrfImportTest, EmptyOrMissingFileFailsWithAResetConfiguration)
{
    config_->AnalogInputs.Append(AnalogInputPoint{});
    EXPECT_FALSE(Import(""));
    EXPECT_TRUE(config_->AnalogInputs.Empty());
    EXPECT_FALSE(ImportXrf(*config_, directory_.File("missing.xrf"), ui_));
    EXPECT_TRUE(ui_.Messages.empty());
}

TEST_F(XrfImportTest, FullListsIgnoreFurtherLines)
{
    std::string text = "[ANALOG_INPUT]\r\n";
    for (int i = 0; i < 300; ++i) {
        text += "\"P" + std::to_string(i) + "\": 0.0I" + std::to_string(i) + "/1\r\n";
    }
    ASSERT_TRUE(Import(text));
    EXPECT_EQ(config_->AnalogInputs.Count(), 256);
    EXPECT_EQ(config_->AnalogInputs[255].Description, "P255");
    EXPECT_TRUE(ui_.Messages.empty());
}
