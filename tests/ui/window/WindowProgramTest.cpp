#include "ProcessRunner.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

namespace {

TEST(WindowProgram, StartsUnderAnXServerWithTheFileOfItsCommandLineAndShowsIt)
{
    TemporaryDirectory directory;
    const std::string file = directory.File("shown.hxc");
    WriteConfiguration(file, SampleConfiguration());
    const ProcessResult result =
        RunProcess({"/usr/bin/xvfb-run", "-a", HALVEX_PATH, file, "--describe-window"},
                   {"XDG_CONFIG_HOME=" + directory.Path(), "XDG_RUNTIME_DIR=" + directory.Path(), "QT_QPA_PLATFORM=xcb"});
    ASSERT_EQ(result.ExitStatus, 0) << result.Err;
    const std::vector<std::string> lines = LinesOf(result.Out);
    ASSERT_GE(lines.size(), 19u) << result.Out;
    EXPECT_EQ(lines[0], "Window: shown.hxc - Halvex Configuration Tool");
    EXPECT_EQ(lines[2], "Input Area Bytes: 25");
    EXPECT_EQ(lines[3], "Output Area Bytes: 8");
    EXPECT_EQ(lines[4].rfind("Shown after: ", 0), 0u);
    const std::vector<std::string> list(lines.begin() + 5, lines.end());
    const std::vector<std::string> expected{
        "________________________[Analog_Input]________________________________________________",
        "Ofs Description                  InUse Pr Sl ChCatDno   Scale  Size                   ",
        "004 Slave one current                1 P   1 0I1        1.00   32",
        "_______________________[Digital_Input]________________________________________________",
        "Ofs Description                  InUse Pr Sl ChCatDno      Type B Ch  St End EvnVals  ",
        "019 Other                            1 N   1 0/0I0/0          P 0  0   0   0 [0,0,0,0]",
        "_______________________[Analog_Output]________________________________________________",
        "Ofs Description                  InUse Pr Sl ChCatDno   Scale  Size                   ",
        "002 x                                  N   1 0S2        1.00   32",
        "_______________________[Digital_Output]_______________________________________________",
        "Ofs Description                  InUse Pr Sl ChCatDno   Type                          ",
        "___________________[Indirect_SPA_Messages]____________________________________________",
        "    Description                  InUse    Sl ChCatDno R/W Dat Scale                   ",
        "    Elsewhere                        1     1 0I0        R   0 1.00",
    };
    EXPECT_EQ(list, expected);
}

TEST(WindowProgram, HelpAndVersionAreAnsweredOnStandardOutput)
{
    const ProcessResult help = RunProcess({HALVEX_PATH, "--help"}, {"QT_QPA_PLATFORM=offscreen"});
    EXPECT_EQ(help.ExitStatus, 0) << help.Err;
    EXPECT_EQ(help.Out.rfind("usage: halvex [FILE]", 0), 0u) << help.Out;
    EXPECT_NE(help.Out.find("--import-xrf"), std::string::npos);
    const ProcessResult version = RunProcess({HALVEX_PATH, "--version"}, {"QT_QPA_PLATFORM=offscreen"});
    EXPECT_EQ(version.ExitStatus, 0) << version.Err;
    EXPECT_EQ(version.Out, "halvex 2.0.0\n");
}

// Sizes outside the size table (an analog size of 24 bits, datatypes X and Q)
// are laid out by one rule in the window and in halvex-cli.
TEST(WindowProgram, ShowsTheAreaByteCountsOfHalvexCliForSizesOutsideTheTable)
{
    TemporaryDirectory directory;
    const std::string file = directory.File("odd.hxc");
    WriteTextFile(file, CrLfLines("[HEADER]", "IDENTIFICATION = CONFIGURATION_FILE_SPA_DPV1_V1", "VERSION = 2.00",
                                  "[ANALOG_INPUT]", "1,\tN,\t\"a\",\t1,\t0I1,\t1.0,\t32",
                                  "1,\tN,\t\"b\",\t1,\t0I2,\t1.0,\t24", "[DIGITAL_INPUT]",
                                  "1,\tN,\t\"c\",\t1,\t0/0I3/3,\tX,\t0,\t0,\t0,\t0,\t0,0,0,0", "[ANALOG_OUTPUT]",
                                  "1,\tN,\t\"d\",\t1,\t0O1,\t1.0,\t16", "[DIGITAL_OUTPUT]",
                                  "1,\tN,\t\"e\",\t1,\t0O2,\tQ"));
    const ProcessResult window = RunProcess({HALVEX_PATH, file, "--describe-window"},
                                            {"XDG_CONFIG_HOME=" + directory.Path(),
                                             "XDG_RUNTIME_DIR=" + directory.Path(), "QT_QPA_PLATFORM=offscreen"});
    const ProcessResult cli = RunProcess({HALVEX_CLI_PATH, "show", file});
    ASSERT_EQ(window.ExitStatus, 0) << window.Err;
    const std::vector<std::string> lines = LinesOf(window.Out);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[2], "Input Area Bytes: 16");
    EXPECT_EQ(lines[3], "Output Area Bytes: 4");
    EXPECT_NE(cli.Out.find("Input area: 16 bytes\nOutput area: 4 bytes\n"), std::string::npos) << cli.Out;
    EXPECT_NE(window.Out.find("012 c "), std::string::npos) << window.Out;
}

TEST(WindowProgram, AnUnknownOptionIsAUsageError)
{
    const ProcessResult result = RunProcess({HALVEX_PATH, "--no-such-option"}, {"QT_QPA_PLATFORM=offscreen"});
    EXPECT_EQ(result.ExitStatus, 2);
    EXPECT_NE(result.Err.find("usage: halvex"), std::string::npos);
}

}  // namespace
