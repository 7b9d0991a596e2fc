#include "NumberText.h"
#include "ScriptedWindowSystem.h"
#include "TestFiles.h"
#include "XrfImport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// One case per line; the test below says what each line must give.
const std::string kUnitFile = CrLfLines(
    "; Line relay.xrf", "; a comment, skipped", "text before the first section, skipped",
    "[SPA_UNIT] text after the header", "1=5", "2 = 7 ; unit 2 is slave 7", " 4=9", "A=9", "300=9",
    "[ANALOG_INPUT]", "\"Current\": 2.0I1/$", "\"Voltage\": 3.0I2/ $ kV", "\"Power\": 1.0I3/2.5 MW",
    "\"Energy\": 1.0I4/", "\"Angle\": 1.0I5/abc", "Unquoted: 1.0I6/1.0", "\" \": 1.0I7/1.0", "\"\": 1.0I8/3",
    "no colon 1.0I9/1", "[NOT_A_SECTION]", "\"Skipped\": 1.0I9/1", "[ANALOG_OUTPUT]", "\"Setpoint\": 2.0O1/0.5",
    "[DIGITAL_INPUT]", "1.\"Breaker\": 2.10I5 S 1 E3/4 [1,2,3,4]", "1.\"In/Out\": 1.0I7 D 0 [1,2,3,4]",
    "1.\"A/B alarm\": 1.2E9 H 5 E7 [7]", "2.\"Other\": 1.0I1 S 0 E1/2 [1]", "1.\"Broken\": 1.123 S 0 E1/1 [0]",
    "[SPA_UNIT]", "3=12", "[DIGITAL_OUTPUT]", "1.\"Open\": x 3.0O1 B", "1.\"Trip\": x",
    "2.\"Other\": x 1.0O3 B") + "1.\"Close\": x 1.0O2 S";

template <typename List>
std::vector<std::string> Analog(const List& list)
{
    std::vector<std::string> points;
    for (const auto& p : list) {
        EXPECT_TRUE(p.InUse && !p.Priority && p.Size == 16);
        points.push_back(p.Description + "|" + FormatInt(p.SlaveAddress) + "|" + p.Address + "|" +
                         FormatFixed(p.Scale));
    }
    return points;
}

std::vector<std::string> DigitalInputs(const ConfigTemplate& config)
{
    std::vector<std::string> points;
    for (const auto& p : config.DigitalInputs) {
        EXPECT_TRUE(p.InUse && !p.Priority && p.EventChannel == 0);
        points.push_back(p.Description + "|" + FormatInt(p.SlaveAddress) + "|" + p.Address + "|" + p.DataType + "|" +
                         FormatInt(p.BitSwitch) + "|E" + FormatInt(p.EventStart) + "/" + FormatInt(p.EventEnd) + "|" +
                         FormatInt(p.EventValues[0]) + "," + FormatInt(p.EventValues[1]) + "," +
                         FormatInt(p.EventValues[2]) + "," + FormatInt(p.EventValues[3]));
    }
    return points;
}

std::vector<std::string> DigitalOutputs(const ConfigTemplate& config)
{
    std::vector<std::string> points;
    for (const auto& p : config.DigitalOutputs) {
        EXPECT_TRUE(p.InUse && !p.Priority);
        points.push_back(p.Description + "|" + FormatInt(p.SlaveAddress) + "|" + p.Address + "|" + p.DataType);
    }
    return points;
}

class XrfImportTest : public ::testing::Test {
protected:
    bool Import(const std::string& text) { return ImportResult(text) == XrfImportResult::Imported; }

    XrfImportResult ImportResult(const std::string& text)
    {
        WriteTextFile(directory_.File("unit.xrf"), text);
        return ImportXrf(*config_, directory_.File("unit.xrf"), ui_);
    }

    TemporaryDirectory directory_;
    std::unique_ptr<ConfigTemplate> config_ = std::make_unique<ConfigTemplate>();
    ScriptedWindowSystem ui_;
};

}  // namespace

TEST_F(XrfImportTest, EveryRuleOfTheLines)
{
    ASSERT_TRUE(Import(kUnitFile));
    EXPECT_EQ(config_->TemplateName, " LINE RELAY");
    EXPECT_EQ((std::vector{config_->UnitTable[1], config_->UnitTable[2], config_->UnitTable[3], config_->UnitTable[4]}),
              (std::vector{5, 7, 12, 0}));
    // Unit 3 is defined only after the analog lines: slave address 0 there.
    EXPECT_EQ(Analog(config_->AnalogInputs),
              (std::vector<std::string>{"Current|7|0I1|1.000000", "Voltage|0|0I2|1.000000", "Power|5|0I3|2.500000",
                                        "Energy|5|0I4|0.000000", "Angle|5|0I5|0.000000", "|5|0I8|3.000000"}));
    EXPECT_EQ(Analog(config_->AnalogOutputs), std::vector<std::string>{"Setpoint|7|0O1|0.500000"});
    EXPECT_EQ(DigitalInputs(*config_),
              (std::vector<std::string>{"Breaker|7|10/10I5/5|S|1|E3/4|1,2,3,4", "In/Out|5|0/0I7/7|D|0|E0/0|1,2,3,4",
                                        "A/B alarm|5|2/2E9/9|H|1|E7/0|7,0,0,0", "Broken|5|123|S|0|E1/1|0,0,0,0"}));
    // The last line has no line end and is read all the same.
    EXPECT_EQ(DigitalOutputs(*config_),
              (std::vector<std::string>{"Open|12|0O1|B", "Trip|0||", "Close|5|0O2|S"}));
    EXPECT_TRUE(config_->IndirectMessages.Empty());
    EXPECT_EQ(ui_.Messages, std::vector{NoticeMessage("Warning : Digital Input #3 seems to be corrupt")});
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
    EXPECT_EQ(Analog(config_->AnalogInputs), std::vector<std::string>{"Level|0|0I1|2.000000"});

    ASSERT_TRUE(Import(CrLfLines(";name.XRF", "[DIGITAL_OUTPUT]")));
    EXPECT_EQ(config_->TemplateName, "NAME");
    EXPECT_TRUE(config_->AnalogInputs.Empty());
}

TEST_F(XrfImportTest, EmptyMissingOrUnrecognisedFileImportsNothing)
{
    config_->AnalogInputs.Append(AnalogInputPoint{});
    EXPECT_EQ(ImportResult(""), XrfImportResult::Unreadable);
    EXPECT_TRUE(config_->AnalogInputs.Empty());
    EXPECT_EQ(ImportXrf(*config_, directory_.File("missing.xrf"), ui_), XrfImportResult::Unreadable);

    // Bytes without any known section: nothing to import, though lines were read.
    std::string noise;
    for (int i = 0; i < 5000; ++i) {
        noise += static_cast<char>((i * 7919 + 13) % 251);
    }
    EXPECT_EQ(ImportResult(noise), XrfImportResult::NothingFound);
    EXPECT_EQ(ImportResult(CrLfLines(";name.XRF", "[OTHER]", "\"x\": 0.0I1/1")), XrfImportResult::NothingFound);
    EXPECT_EQ(ImportResult(CrLfLines("[SPA_UNIT]")), XrfImportResult::Imported);
}

TEST_F(XrfImportTest, FullListsIgnoreFurtherLines)
{
    std::string text = "[ANALOG_INPUT]\r\n";
    for (int i = 0; i < 300; ++i) {
        text += "\"P" + std::to_string(i) + "\": 0.0I1/1\r\n";
    }
    ASSERT_TRUE(Import(text));
    EXPECT_EQ(config_->AnalogInputs.Count(), 256);
    EXPECT_EQ(config_->AnalogInputs[255].Description, "P255");
    EXPECT_TRUE(ui_.Messages.empty());
}
