#include "ConfigFile.h"
#include "ScriptedWindowSystem.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <clocale>
#include <memory>

namespace {

const std::string kResetFile = CrLfLines(
    "[HEADER]", "IDENTIFICATION = CONFIGURATION_FILE_SPA_DPV1_V1", "VERSION = 2.00", "", "[CONFIGURATION]",
    "SPA_TEMPLATE = ", "SPA_BAUDRATE = 9600", "SPA_REPLYTIMEOUT = 50", "SPA_IDLETIME = 10",
    "SPA_COM_RETRY_COUNT = 2", "PROFI_DFLTADDR = 125", "PROFI_DECIMAL_PLACE = 1", "", "[ANALOG_INPUT]",
    "; InUse,\tPrio,\t\"Descr.\",\tSlAddr,\tCh/Cat/Dno,\tScale,\tSize", "", "[DIGITAL_INPUT]",
    "; InUse,\tPrio,\t\"Descr.\",\tSlAddr,\tFCh/LCh/Cat/FDno/LDno,\tDatatype,\tBitswitch,\tEvnCh,\tEvnSt,\tEvnEnd,"
    "\tEvnVal1-4",
    "", "[ANALOG_OUTPUT]", "; InUse,\tPrio,\t\"Descr.\",\tSlAddr,\tCh/Cat/Dno,\tScale,\tSize", "",
    "[DIGITAL_OUTPUT]", "; InUse,\tPrio,\t\"Descr.\",\tSlAddr,\tCh/Cat/Dno,\tDatatype", "",
    "[INDIRECT_SPA_COMMANDS]",
    "; InUse,\tmidx,\t\"Descr.\",\tSlAddr,\tCh/Cat/Dno,\tRead/Write,\tStaticData,\tScale", "", "[TIME]", "NO", "",
    "[DATE]", "NO", "", "[GLOBAL_EVENT_POLL]", "DISABLE", "PERIOD=3000", "", "[ONLINE_POLL_COMMAND]",
    "\"Online Command\",RF");

std::string WithOffsetTitles(std::string text)
{
    for (const char* comment : {"Size\r\n", "EvnVal1-4\r\n", "Datatype\r\n"}) {
        std::string from = comment;
        std::string to = from.substr(0, from.size() - 2) + "\tOffset\tDatasize\r\n";
        for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
            text.replace(at, from.size(), to);
        }
    }
    return text;
}

}  // namespace

TEST(ConfigFileWriter, ResetConfigurationGivesTheFixedText)
{
    const auto config = std::make_unique<ConfigTemplate>();
    EXPECT_EQ(ConfigFileText(*config, false), kResetFile);
}

TEST(ConfigFileWriter, OffsetsChangeOnlyThePointCommentLines)
{
    const auto config = std::make_unique<ConfigTemplate>();
    const std::string withOffsets = ConfigFileText(*config, true);
    EXPECT_EQ(withOffsets, WithOffsetTitles(kResetFile));
    EXPECT_NE(withOffsets.find("\tScale\r\n"), std::string::npos) << "indirect comment line unchanged";
}

TEST(ConfigFileWriter, PointLinesAndOffsetColumns)
{
    auto config = std::make_unique<ConfigTemplate>();
    AnalogInputPoint pressure;
    pressure.Priority = true;
    pressure.Description = "Pressure";
    pressure.SlaveAddress = 5;
    pressure.Address = "0I12";
    pressure.Size = 32;
    config->AnalogInputs.Append(pressure);
    AnalogInputPoint second;
    second.InUse = false;
    second.Description = "Half";
    second.SlaveAddress = -3;
    second.Address = "1I2";
    second.Scale = 0.5f;
    config->AnalogInputs.Append(second);
    DigitalInputPoint digital;
    digital.Description = "Trip";
    digital.SlaveAddress = 5;
    digital.Address = "1/8E10/17";
    digital.DataType = "P";
    digital.BitSwitch = true;
    digital.EventChannel = 3;
    digital.EventStart = 1;
    digital.EventEnd = 2;
    digital.EventValues = {4, 5, 6, 7};
    config->DigitalInputs.Append(digital);
    AnalogOutputPoint output;
    output.Description = "Set";
    output.Address = "0O1";
    config->AnalogOutputs.Append(output);
    DigitalOutputPoint relay;
    relay.Description = "Open";
    relay.Address = "0O2";
    relay.DataType = "B";
    relay.Priority = true;
    config->DigitalOutputs.Append(relay);
    IndirectSpaMessage reset;
    reset.Description = "Reset";
    reset.SlaveAddress = 5;
    config->IndirectMessages.Append(reset);
    IndirectSpaMessage write;
    write.InUse = false;
    write.Write = true;
    write.StaticData = -4;
    write.Scale = 2.0f;
    config->IndirectMessages.Append(write);

    const std::string plain = ConfigFileText(*config, false);
    EXPECT_NE(plain.find("\r\n1,\tP,\t\"Pressure\",\t5,\t0I12,\t1.000000,\t32\r\n"), std::string::npos);
    EXPECT_NE(plain.find("\r\n0,\tN,\t\"Half\",\t-3,\t1I2,\t0.500000,\t16\r\n"), std::string::npos);
    EXPECT_NE(plain.find("\r\n1,\tN,\t\"Trip\",\t5,\t1/8E10/17,\tP,\t1,\t3,\t1,\t2,\t4,5,6,7\r\n"), std::string::npos);
    EXPECT_NE(plain.find("\r\n1,\tP,\t\"Open\",\t0,\t0O2,\tB\r\n"), std::string::npos);
    EXPECT_NE(plain.find("\r\n1,\t1,\"Reset\",\t5,\t0I0,\tR,\t0,\t1.000000\r\n"), std::string::npos);
    EXPECT_NE(plain.find("\r\n0,\t2,\"\",\t0,\t0I0,\tW,\t-4,\t2.000000\r\n"), std::string::npos);

    const std::string offsets = ConfigFileText(*config, true);
    EXPECT_NE(offsets.find("0I12,\t1.000000,\t32\t4\t4\r\n"), std::string::npos);
    EXPECT_NE(offsets.find("1I2,\t0.500000,\t16\t8\t2\r\n"), std::string::npos);
    EXPECT_NE(offsets.find("4,5,6,7\t10\t2\r\n"), std::string::npos);
    EXPECT_NE(offsets.find("0O1,\t1.000000,\t16\t0\t2\r\n"), std::string::npos);
    EXPECT_NE(offsets.find("0O2,\tB\t2\t1\r\n"), std::string::npos);
    EXPECT_NE(offsets.find("0I0,\tR,\t0,\t1.000000\r\n"), std::string::npos) << "no offsets on indirect lines";
}

TEST(ConfigFileWriter, NumbersUseAPointUnderACommaLocale)
{
    ASSERT_NE(std::setlocale(LC_ALL, CommaLocaleName()), nullptr) << "the set-up step generates de_DE.UTF-8";
    auto config = std::make_unique<ConfigTemplate>();
    AnalogInputPoint point;
    point.Scale = 2.5f;
    config->AnalogInputs.Append(point);
    config->SpaBaudRate = 38400;
    const std::string text = ConfigFileText(*config, true);
    std::setlocale(LC_ALL, "C");
    EXPECT_NE(text.find(",\t2.500000,\t16\t4\t2\r\n"), std::string::npos);
    EXPECT_NE(text.find("SPA_BAUDRATE = 38400\r\n"), std::string::npos);
}

TEST(ConfigFileWriter, WritesTheFileAndReportsFailure)
{
    TemporaryDirectory directory;
    const auto config = std::make_unique<ConfigTemplate>();
    EXPECT_TRUE(WriteConfigFile(*config, directory.File("a.hxc"), false));
    EXPECT_EQ(ReadTextFile(directory.File("a.hxc")), kResetFile);
    EXPECT_FALSE(WriteConfigFile(*config, directory.File("missing/a.hxc"), false));
    EXPECT_FALSE(WriteConfigFile(*config, directory.Path(), false)) << "a directory is not a file";
}
