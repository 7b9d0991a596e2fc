#include "ConfigFile.h"
#include "CliTestSupport.h"
#include "ScriptedWindowSystem.h"
#include "TestFiles.h"
#include "XrfImport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const std::string kConfiguration =
    CrLfLines("[HEADER]", "IDENTIFICATION = CONFIGURATION_FILE_SPA_DPV1_V1", "VERSION = 2.00", "[ANALOG_INPUT]",
              "1,\tN,\t\"Temp\",\t5,\t0I1,\t2.5,\t16");

}  // namespace

TEST(ExchangeCommands, ExportCsv)
{
    TemporaryDirectory directory;
    const std::string in = directory.File("in.hxc");
    WriteTextFile(in, kConfiguration);
    const ProcessResult plain = Cli({"export-csv", in, directory.File("plain.csv")});
    EXPECT_EQ(plain.ExitStatus, 0);
    EXPECT_EQ(plain.Out + plain.Err, "");
    const std::string csv = ReadTextFile(directory.File("plain.csv"));
    EXPECT_EQ(csv.substr(0, 15), "VERSION, 2.00\r\n");
    EXPECT_NE(csv.find("\r\n4,1,N,Temp,5,0I1,2.500000,16,2\r\n"), std::string::npos);

    EXPECT_EQ(Cli({"export-csv", in, directory.File("regional.csv"), "--list-separator", ";", "--decimal-separator",
                   ","}).ExitStatus,
              0);
    EXPECT_NE(ReadTextFile(directory.File("regional.csv")).find("\r\n4;1;N;Temp;5;0I1;2,500000;16;2\r\n"),
              std::string::npos);

    EXPECT_EQ(Cli({"export-csv", directory.File("missing.hxc"), directory.File("x.csv")}).Err,
              "Error loading configuration file!\n" + directory.File("missing.hxc") + ": " + MissingFileReason() + "\n");
    const ProcessResult unwritable = Cli({"export-csv", in, UnwritablePath(directory)});
    EXPECT_EQ(unwritable.ExitStatus, 1);
    EXPECT_EQ(unwritable.Err, "Error exporting file!\n");
    EXPECT_EQ(Cli({"export-csv", in, directory.File("x.csv"), "--list-separator="}).ExitStatus, 2);
}

TEST(ExchangeCommands, ImportXrf)
{
    TemporaryDirectory directory;
    WriteTextFile(directory.File("unit.xrf"), CrLfLines("; Feeder.xrf", "[SPA_UNIT]", "1=5", "[ANALOG_INPUT]",
                                                        "\"Current\": 1.0I1/$", "[DIGITAL_INPUT]",
                                                        "1.\"Trip\": 1.7 S 0 E1/2 [1]"));
    const ProcessResult import = Cli({"import-xrf", directory.File("unit.xrf"), directory.File("out.hxc")});
    EXPECT_EQ(import.ExitStatus, 0);
    EXPECT_EQ(import.Err, "Warning : Digital Input #0 seems to be corrupt\n");
    auto config = std::make_unique<ConfigTemplate>();
    ScriptedWindowSystem ui;
    ASSERT_TRUE(ReadConfigFile(*config, directory.File("out.hxc"), ui));
    EXPECT_EQ(config->TemplateName, "FEEDER");
    EXPECT_EQ(config->AnalogInputs[0].SlaveAddress, 5);
    EXPECT_EQ(config->DigitalInputs.Count(), 1);

    WriteTextFile(directory.File("empty.xrf"), "");
    const ProcessResult empty = Cli({"import-xrf", directory.File("empty.xrf"), directory.File("new.hxc")});
    EXPECT_EQ(empty.ExitStatus, 1);
    EXPECT_EQ(empty.Err, "Error loading file!\n");
    WriteTextFile(directory.File("noise.xrf"), std::string("\x89PNG\r\n\x1a\n\0\0\x7f[x", 13));
    const ProcessResult noise = Cli({"import-xrf", directory.File("noise.xrf"), directory.File("new.hxc")});
    EXPECT_EQ(noise.ExitStatus, 1);
    EXPECT_EQ(noise.Err, std::string(kNothingImportedMessage) + "\n");
    EXPECT_FALSE(std::filesystem::exists(directory.File("new.hxc")));
    const std::string full = UnwritablePath(directory);
    const ProcessResult unwritable = Cli({"import-xrf", directory.File("unit.xrf"), full});
    EXPECT_EQ(unwritable.ExitStatus, 1);
    EXPECT_EQ(unwritable.Err, "Warning : Digital Input #0 seems to be corrupt\nUnable to save document!\n" + full +
                                  ": " + WriteFailureReason(full) + "\n");
}
