#include "ConfigFile.h"
#include "SampleConfigurations.h"
#include "ScriptedWindowSystem.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace {

const std::string kHeader =
    CrLfLines("[HEADER]", "IDENTIFICATION = CONFIGURATION_FILE_SPA_DPV1_V1", "VERSION = 2.00");
const std::string kHeader102 =
    CrLfLines("[HEADER]", "IDENTIFICATION = CONFIGURATION_FILE_SPA_DPV1_V1", "VERSION = 1.02");

class ConfigFileReaderTest : public ::testing::Test {
protected:
    // Reads the text as a file; the result of ReadConfigFile.
    bool Read(const std::string& text)
    {
        WriteTextFile(directory.File("in.hxc"), text);
        return ReadConfigFile(*config, directory.File("in.hxc"), ui);
    }

    TemporaryDirectory directory;
    std::unique_ptr<ConfigTemplate> config = std::make_unique<ConfigTemplate>();
    ScriptedWindowSystem ui;
};

}  // namespace

TEST_F(ConfigFileReaderTest, WrittenReadAndWrittenAgainIsByteIdentical)
{
    const auto original = EveryFieldConfiguration();
    for (bool withOffsets : {false, true}) {
        const std::string text = ConfigFileText(*original, withOffsets);
        ASSERT_TRUE(Read(text));
        EXPECT_EQ(ConfigFileText(*config, withOffsets), text);
        EXPECT_EQ(config->DigitalInputs.Count(), 3);
        EXPECT_EQ(config->FileVersion, 1);
    }
    EXPECT_TRUE(ui.Messages.empty());
}

// What the writer writes reads back to the same configuration, with and
// without offsets: an empty digital output data type (the offset was taken
// for it) and a line longer than 1023 characters (its rest was a line of its
// own).
TEST_F(ConfigFileReaderTest, EmptyDataTypesAndLongLinesReadBackAsWritten)
{
    auto original = std::make_unique<ConfigTemplate>();
    AnalogInputPoint described;
    described.Description = std::string(1000, 'd') + "[HEADER]";
    described.Address = "1I1";
    described.Scale = 2.5f;
    described.Size = 32;
    original->AnalogInputs.Append(described);
    DigitalOutputPoint untyped;
    untyped.Address = "1O1";
    original->DigitalOutputs.Append(untyped);
    DigitalOutputPoint typed = untyped;
    typed.DataType = "B";
    original->DigitalOutputs.Append(typed);
    const std::string minimal = "[HEADER]\nIDENTIFICATION=CONFIGURATION_FILE_SPA_DPV1_V1\nVERSION=2.00\n"
                                "[DIGITAL_OUTPUT]\n,,\",";
    ASSERT_EQ(minimal.size(), 89u);
    ASSERT_TRUE(Read(minimal));
    const std::string minimalText = ConfigFileText(*config, false);

    for (bool withOffsets : {false, true}) {
        const std::string text = ConfigFileText(*original, withOffsets);
        ASSERT_TRUE(Read(text));
        EXPECT_EQ(ConfigFileText(*config, withOffsets), text) << withOffsets;
        ASSERT_TRUE(Read(minimalText));
        ASSERT_TRUE(Read(ConfigFileText(*config, withOffsets)));
        EXPECT_EQ(ConfigFileText(*config, false), minimalText) << withOffsets;
    }
    // Only the writer's own form is taken as an empty type: a blank or a
    // single column still reads as before.
    ASSERT_TRUE(Read(kHeader + CrLfLines("[DIGITAL_OUTPUT]", "0,\tN,\t\"x\",\t0,\t1O1,\t\t4", "0,N,\"x\",0,1O1, S 4 1")));
    ASSERT_EQ(config->DigitalOutputs.Count(), 2);
    EXPECT_EQ(config->DigitalOutputs[0].DataType, "4");
    EXPECT_EQ(config->DigitalOutputs[1].DataType, "S");
}

TEST_F(ConfigFileReaderTest, FieldsThatDoNotReadBackIntact)
{
    auto original = std::make_unique<ConfigTemplate>();
    original->TemplateName = "LINE RELAY";
    original->OnlinePollCommand = "RF,X Y";
    AnalogInputPoint comma;
    comma.Description = "a,b";
    comma.SlaveAddress = 4;
    comma.Address = "1I1";
    original->AnalogInputs.Append(comma);
    DigitalInputPoint blankInput;
    blankInput.Description = " ";
    blankInput.Address = "1/1I1/1";
    blankInput.DataType = "S";
    original->DigitalInputs.Append(blankInput);
    DigitalOutputPoint blankOutput;
    blankOutput.Description = " ";
    blankOutput.DataType = "B";
    original->DigitalOutputs.Append(blankOutput);
    IndirectSpaMessage blankMessage;
    blankMessage.Description = " ";
    original->IndirectMessages.Append(blankMessage);
    for (int i = 0; i < 130; ++i) {
        IndirectSpaMessage message;
        message.StaticData = i;
        original->IndirectMessages.Append(message);
    }

    ASSERT_TRUE(Read(ConfigFileText(*original, false)));
    EXPECT_EQ(config->TemplateName, "LINE");
    EXPECT_EQ(config->OnlinePollCommand, "RF");
    ASSERT_EQ(config->AnalogInputs.Count(), 1);
    EXPECT_EQ(config->AnalogInputs[0].Description, "");  // '"a' without first and last character
    EXPECT_EQ(config->AnalogInputs[0].SlaveAddress, 0);  // the fields shift by one: b" is the slave address
    EXPECT_EQ(config->AnalogInputs[0].Address, "4");
    // The reader keeps what it saw, so that the check can name the point.
    EXPECT_EQ(config->AnalogInputs[0].LineProblem, "its line in the file has 8 comma-separated fields where the "
                                                   "section has 7 (a comma in a description cuts it)");
    EXPECT_EQ(config->IndirectMessages[5].LineProblem, "");
    EXPECT_EQ(config->DigitalInputs.Count(), 0);
    EXPECT_EQ(config->DigitalOutputs.Count(), 0);
    ASSERT_EQ(config->IndirectMessages.Count(), 128);
    EXPECT_EQ(config->IndirectMessages[0].StaticData, 0);
    EXPECT_EQ(config->IndirectMessages[127].StaticData, 127);
}

TEST_F(ConfigFileReaderTest, HeaderRules)
{
    EXPECT_FALSE(Read(CrLfLines("[HEADER]", "VERSION = 2.00", "[CONFIGURATION]", "SPA_BAUDRATE = 300")));
    EXPECT_EQ(config->LoadError, kLoadErrorInvalidFile);

    EXPECT_TRUE(Read(CrLfLines("[HEADER]", "VERSION = 2.00")));
    EXPECT_EQ(config->AnalogInputs.Count(), 0);

    EXPECT_FALSE(Read(CrLfLines("[CONFIGURATION]", "SPA_BAUDRATE = 300") + kHeader));
    EXPECT_EQ(config->LoadError, kLoadErrorInvalidFile);

    EXPECT_FALSE(Read(CrLfLines("[HEADER]", "IDENTIFICATION = SOMETHING_ELSE", "VERSION = 2.00")));
    EXPECT_EQ(config->LoadError, kLoadErrorInvalidFile);

    EXPECT_FALSE(Read(CrLfLines("[HEADER]", "IDENTIFICATION = CONFIGURATION_FILE_SPA_DPV1_V1", "VERSION = 1.03")));
    EXPECT_EQ(config->LoadError, kLoadErrorWrongVersion);

    EXPECT_TRUE(Read(CrLfLines("[HEADER]", "IDENTIFICATION = CONFIGURATION_FILE_SPA_DPV1_V1XYZ", "VERSION = 2.001",
                               "[CONFIGURATION]", "SPA_BAUDRATE = 300")));
    EXPECT_EQ(config->SpaBaudRate, 300);

    EXPECT_FALSE(Read(" [HEADER]\r\nIDENTIFICATION = CONFIGURATION_FILE_SPA_DPV1_V1\r\nVERSION = 2.00\r\n"));
    EXPECT_EQ(config->LoadError, kLoadErrorWrongVersion) << "a blank before [HEADER] is no section header";

    EXPECT_FALSE(Read(""));
    EXPECT_EQ(config->LoadError, kLoadErrorWrongVersion);
    EXPECT_FALSE(Read("just some text\nwithout sections\n"));
    EXPECT_EQ(config->LoadError, kLoadErrorWrongVersion);

    EXPECT_FALSE(ReadConfigFile(*config, directory.File("missing.hxc"), ui));
    EXPECT_EQ(config->LoadError, kLoadErrorCannotOpen);
    EXPECT_TRUE(ui.Messages.empty());
}

TEST_F(ConfigFileReaderTest, KeyLines)
{
    ASSERT_TRUE(Read(kHeader + CrLfLines("[CONFIGURATION]", "SPA_BAUDRATE", "SPA_REPLYTIMEOUT =   77 ms",
                                         "PROFI_DFLTADDR = 12;comment", "X SPA_IDLETIME=6", "SPA_TEMPLATE = A B",
                                         "UNKNOWN = 5", "[GLOBAL_EVENT_POLL]", "ENABLE", "PERIOD = 99",
                                         "[TIME]", "YES", "[DATE]", "YES", "NO")));
    EXPECT_EQ(config->SpaBaudRate, 0);
    EXPECT_EQ(config->SpaReplyTimeout, 77);
    EXPECT_EQ(config->ProfibusDefaultAddress, 12);
    EXPECT_EQ(config->SpaIdleTime, 6);
    EXPECT_EQ(config->TemplateName, "A");
    EXPECT_TRUE(config->GlobalEventPoll);
    EXPECT_EQ(config->GlobalEventPollPeriod, 99);
    EXPECT_TRUE(config->TimeSync);
    EXPECT_FALSE(config->DateSync) << "a repeated setting is overwritten by the later line";
}

TEST_F(ConfigFileReaderTest, RecordFieldRules)
{
    ASSERT_TRUE(Read(kHeader + CrLfLines("[ANALOG_INPUT]", "2,\tp,\t\"A\",\t1,\t0I1,\t1.5,\t32\t4\t4",
                                         "no record here", "[ANALOG_INPUT]", "1,\tP,\t\"B\",\t2,\t0I2,\tx,\t16",
                                         "[DIGITAL_OUTPUT]", "1,\tN,\tNoQuote\",\t1,\t0O1,\tB",
                                         "1,\tN,\t\"Q\",\t1,\t0O1,\tB ; comment",
                                         "[INDIRECT_SPA_COMMANDS]", "1,\t9,\"M\",\t3,\t1V2,\tRW,\t-7,\t0.5;x",
                                         "[ONLINE_POLL_COMMAND]", "\"Desc\", RFX,more")));
    ASSERT_EQ(config->AnalogInputs.Count(), 2) << "repeated sections append";
    EXPECT_FALSE(config->AnalogInputs[0].InUse);
    EXPECT_FALSE(config->AnalogInputs[0].Priority);
    EXPECT_EQ(config->AnalogInputs[0].Scale, 1.5f);
    EXPECT_EQ(config->AnalogInputs[0].Size, 32);
    EXPECT_TRUE(config->AnalogInputs[1].Priority);
    EXPECT_EQ(config->AnalogInputs[1].Scale, 0.0f);
    ASSERT_EQ(config->DigitalOutputs.Count(), 1);
    EXPECT_EQ(config->DigitalOutputs[0].DataType, "B");
    ASSERT_EQ(config->IndirectMessages.Count(), 1);
    EXPECT_TRUE(config->IndirectMessages[0].Write) << "a W anywhere in the field";
    EXPECT_EQ(config->IndirectMessages[0].StaticData, -7);
    EXPECT_EQ(config->IndirectMessages[0].Scale, 0.5f);
    EXPECT_EQ(config->OnlinePollDescription, "Desc");
    EXPECT_EQ(config->OnlinePollCommand, "RFX");

    // Each section's own field count; a description or slave address that does not parse.
    ASSERT_TRUE(Read(kHeader + CrLfLines("[ANALOG_INPUT]", "1,\tN,\t\"Earth fault, \"Io\"\",\t5,\t0I1,\t1.0,\t16",
                                         "1,\tN,\t\"a\",\tx5,\t0I1,\t1.0,\t16", "1,\tN,\t\"a\",\t5,\t0I1,\t1.0,\t16\t4\t2",
                                         "[DIGITAL_INPUT]", "1,\tN,\t\"d,\",\t5,\t0/0I1/1,\tS,\t0,\t0,\t0,\t0,\t0,0,0,0",
                                         "1,\tN,\t\"d\",\t5,\t0/0I1/1,\tS,\t0,\t0,\t0,\t0,\t0,0,0,0",
                                         "[DIGITAL_OUTPUT]", "1,\tN,\t\"o\",\t5,\t0O1,\tB,\tx",
                                         "[INDIRECT_SPA_COMMANDS]", "1,\t1,\"m\",\t5,\t0I0,\tR,\t0,\t1.0")));
    std::vector<std::string> problems;
    for (const auto& point : config->AnalogInputs) {
        problems.push_back(point.LineProblem);
    }
    problems.push_back(config->DigitalInputs[0].LineProblem.substr(0, 50));
    problems.push_back(config->DigitalInputs[1].LineProblem);
    problems.push_back(config->DigitalOutputs[0].LineProblem.substr(0, 49));
    problems.push_back(config->IndirectMessages[0].LineProblem);
    EXPECT_EQ(config->AnalogInputs[0].Description, "Earth faul");
    EXPECT_EQ(problems, (std::vector<std::string>{
                            "its line in the file has 8 comma-separated fields where the section has 7 (a comma in a "
                            "description cuts it)",
                            "its slave address in the file is not a number", "",
                            "its line in the file has 15 comma-separated fields", "",
                            "its line in the file has 7 comma-separated fields", ""}));
}

TEST_F(ConfigFileReaderTest, Version102DigitalInputIsConverted)
{
    ASSERT_TRUE(Read(kHeader102 + CrLfLines("[DIGITAL_INPUT]", "1,\tN,\t\"Trip\",\t5,\t3I7,\tS,\t0,\t1,\t2,\t0,0,0,0")));
    ASSERT_EQ(config->DigitalInputs.Count(), 1);
    const DigitalInputPoint& point = config->DigitalInputs[0];
    EXPECT_EQ(point.Address, "3/3I7/7");
    EXPECT_EQ(point.EventChannel, 3);
    EXPECT_EQ(point.EventStart, 1);
    EXPECT_EQ(point.EventEnd, 2);
    EXPECT_EQ(point.SlaveAddress, 5);
    EXPECT_EQ(point.Description, "Trip");
    EXPECT_EQ(config->FileVersion, 0);
    EXPECT_EQ(ui.Messages, (std::vector<ScriptedWindowSystem::Message>{InfoMessage(
                               "Template updated", "Template was adapted to new format, event channel was added.")}));
}

TEST_F(ConfigFileReaderTest, Version102AddressWithoutLetterIsKeptWithAWarning)
{
    ASSERT_TRUE(Read(kHeader102 + CrLfLines("[DIGITAL_INPUT]", "1,\tN,\t\"A\",\t5,\t3I7,\tS,\t0,\t1,\t2,\t1,2,3,4",
                                            "1,\tN,\t\"B\",\t5,\t417,\tS,\t0,\t1,\t2,\t0,0,0,0",
                                            "1,\tN,\t\" \",\t5,\t3I7,\tS,\t0,\t1,\t2,\t0,0,0,0")));
    ASSERT_EQ(config->DigitalInputs.Count(), 2);
    EXPECT_EQ(config->DigitalInputs[0].EventValues, (std::array<int, 4>{1, 2, 3, 4}));
    EXPECT_EQ(config->DigitalInputs[1].Address, "417");
    EXPECT_EQ(config->DigitalInputs[1].EventChannel, 0);
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Warning : Digital Input #1 seems to be corrupt",
                                                    "Template was adapted to new format, event channel was added."}));
    EXPECT_EQ(ui.Messages[0], NoticeMessage("Warning : Digital Input #1 seems to be corrupt"));
}

TEST_F(ConfigFileReaderTest, DroppedVersion102LineStillCountsAsConverted)
{
    ASSERT_TRUE(Read(kHeader102 + CrLfLines("[DIGITAL_INPUT]", "1,\tN,\tx\",\t5,\t3I7,\tS,\t0,\t1,\t2,\t0,0,0,0")));
    EXPECT_EQ(config->DigitalInputs.Count(), 0);
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Template was adapted to new format, event channel was added."}));
}

TEST_F(ConfigFileReaderTest, LastLineWithoutLineEndIsRead)
{
    std::string text = kHeader + "[ONLINE_POLL_COMMAND]\n\"Cmd\",XY";
    ASSERT_TRUE(Read(text));
    EXPECT_EQ(config->OnlinePollCommand, "XY");
    ASSERT_TRUE(Read(kHeader + "[TIME]\nYES"));
    EXPECT_TRUE(config->TimeSync);
}

TEST_F(ConfigFileReaderTest, CapacitiesOfTheLists)
{
    std::string text = kHeader + "[ANALOG_OUTPUT]\r\n";
    for (int i = 0; i < 260; ++i) {
        text += "1,\tN,\t\"x\",\t" + std::to_string(i) + ",\t0O1,\t1.0,\t16\r\n";
    }
    ASSERT_TRUE(Read(text));
    ASSERT_EQ(config->AnalogOutputs.Count(), 256);
    EXPECT_EQ(config->AnalogOutputs[255].SlaveAddress, 255);
}

TEST_F(ConfigFileReaderTest, LinuxLineEndsAndNumbersBeyondThirtyTwoBits)
{
    ASSERT_TRUE(Read("[HEADER]\nIDENTIFICATION = CONFIGURATION_FILE_SPA_DPV1_V1\nVERSION = 2.00\n[CONFIGURATION]\n"
                     "SPA_BAUDRATE = 99999999999\nPROFI_DFLTADDR = -99999999999\n"));
    EXPECT_EQ(config->SpaBaudRate, 2147483647);
    EXPECT_EQ(config->ProfibusDefaultAddress, -2147483647 - 1);
}

TEST_F(ConfigFileReaderTest, HostileInputNeitherCrashesNorHangs)
{
    std::mt19937 random(1234);
    std::string binary(200000, '\0');
    for (char& c : binary) {
        c = static_cast<char>(random());
    }
    EXPECT_FALSE(Read(binary));

    std::string withNul = kHeader + "[ANALOG_INPUT]\r\n1,\tN,\t\"a";
    withNul += '\0';
    withNul += "b\",\t1,\t0I1,\t1.0,\t16\r\n";
    ASSERT_TRUE(Read(withNul));
    ASSERT_EQ(config->AnalogInputs.Count(), 1);
    EXPECT_EQ(config->AnalogInputs[0].Description, std::string("a\0b", 3));

    std::string megabyteLine = kHeader + "[ANALOG_INPUT]\r\n";
    for (int i = 0; i < 1'500'000; ++i) {
        megabyteLine += "\",";
    }
    EXPECT_TRUE(Read(megabyteLine));
    EXPECT_EQ(config->AnalogInputs.Count(), 1) << "a line of quotes and commas is one record line, however long";

    EXPECT_FALSE(Read(std::string(2'000'000, 'x')));
    EXPECT_FALSE(Read(std::string(100000, '[')));
    EXPECT_FALSE(Read(std::string(100000, '\n')));
    EXPECT_TRUE(Read(kHeader + "[DIGITAL_INPUT]\r\n" + std::string(5000, '"') + "," + "\r\n"));
}

TEST(ConfigFileMessages, LoadErrorTexts)
{
    EXPECT_EQ(LoadErrorMessage(kLoadErrorInvalidFile), "Error loading configuration file!");
    EXPECT_EQ(LoadErrorMessage(kLoadErrorCannotOpen), "Error loading configuration file!");
    EXPECT_EQ(LoadErrorMessage(kLoadErrorWrongVersion), "Wrong configuration file version!");
    EXPECT_EQ(LoadErrorMessage(0), "");
}
