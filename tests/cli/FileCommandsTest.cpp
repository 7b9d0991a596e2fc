#include "CliTestSupport.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string kSample = CrLfLines(
    "[HEADER]", "IDENTIFICATION = CONFIGURATION_FILE_SPA_DPV1_V1", "VERSION = 2.00", "[CONFIGURATION]",
    "SPA_TEMPLATE = REF", "SPA_BAUDRATE = 19200", "[ANALOG_INPUT]", "1,\tP,\t\"Pressure\",\t5,\t0I12,\t1.0,\t32",
    "1,\tN,\t\"Level\",\t9,\t0I13,\t1.0,\t16", "[DIGITAL_INPUT]", "1,\tN,\t\"Trip\",\t5,\t1/1E1/1,\tP,\t0,\t1,\t0,\t0,\t0,0,0,0");

}  // namespace

TEST(CliFileCommands, ShowSummarisesAConfiguration)
{
    TemporaryDirectory directory;
    WriteTextFile(directory.File("a.hxc"), kSample);
    const ProcessResult result = Cli({"show", directory.File("a.hxc")});
    EXPECT_EQ(result.ExitStatus, 0) << result.Err;
    EXPECT_NE(result.Out.find("Template: REF\n"), std::string::npos);
    EXPECT_NE(result.Out.find("SPA baud rate: 19200\n"), std::string::npos);
    EXPECT_NE(result.Out.find("Analog inputs: 2\n"), std::string::npos);
    EXPECT_NE(result.Out.find("Slaves (2): 5 9\n"), std::string::npos);
    EXPECT_NE(result.Out.find("Input area: 12 bytes\n"), std::string::npos);
    EXPECT_NE(result.Out.find("Output area: 0 bytes\n"), std::string::npos);
}

TEST(CliFileCommands, ConvertWritesVersion200AndReportAddsOffsets)
{
    TemporaryDirectory directory;
    WriteTextFile(directory.File("old.hxc"),
                  CrLfLines("[HEADER]", "IDENTIFICATION = CONFIGURATION_FILE_SPA_DPV1_V1", "VERSION = 1.02",
                            "[DIGITAL_INPUT]", "1,\tN,\t\"Trip\",\t5,\t3I7,\tS,\t0,\t1,\t2,\t0,0,0,0"));
    const ProcessResult convert = Cli({"convert", directory.File("old.hxc"), directory.File("new.hxc")});
    EXPECT_EQ(convert.ExitStatus, 0);
    EXPECT_EQ(convert.Out, "Template was adapted to new format, event channel was added.\n");
    const std::string converted = ReadTextFile(directory.File("new.hxc"));
    EXPECT_NE(converted.find("VERSION = 2.00\r\n"), std::string::npos);
    EXPECT_NE(converted.find("1,\tN,\t\"Trip\",\t5,\t3/3I7/7,\tS,\t0,\t3,\t1,\t2,\t0,0,0,0\r\n"), std::string::npos);

    const ProcessResult report = Cli({"report", directory.File("new.hxc"), directory.File("report.txt")});
    EXPECT_EQ(report.ExitStatus, 0);
    EXPECT_NE(ReadTextFile(directory.File("report.txt")).find("0,0,0,0\t4\t1\r\n"), std::string::npos);
}

TEST(CliFileCommands, FailuresAndUsageErrors)
{
    TemporaryDirectory directory;
    const ProcessResult missing = Cli({"show", directory.File("missing.hxc")});
    EXPECT_EQ(missing.ExitStatus, 1);
    EXPECT_EQ(missing.Err,
              "Error loading configuration file!\n" + directory.File("missing.hxc") + ": No such file or directory\n");

    WriteTextFile(directory.File("v.hxc"), CrLfLines("[HEADER]", "VERSION = 9.99"));
    const ProcessResult version = Cli({"convert", directory.File("v.hxc"), directory.File("out.hxc")});
    EXPECT_EQ(version.ExitStatus, 1);
    EXPECT_EQ(version.Err,
              "Wrong configuration file version!\n" + directory.File("v.hxc") + ": neither version 2.00 nor 1.02\n");
    EXPECT_FALSE(std::filesystem::exists(directory.File("out.hxc")));

    WriteTextFile(directory.File("a.hxc"), kSample);
    const ProcessResult unwritable = Cli({"convert", directory.File("a.hxc"), directory.File("no/such/dir.hxc")});
    EXPECT_EQ(unwritable.ExitStatus, 1);
    EXPECT_EQ(unwritable.Err,
              "Unable to save document!\n" + directory.File("no/such/dir.hxc") + ": No such file or directory\n");

    EXPECT_EQ(Cli({"show"}).ExitStatus, 2);
    EXPECT_EQ(Cli({"frobnicate"}).ExitStatus, 2);
    EXPECT_EQ(Cli({}).ExitStatus, 2);
    const ProcessResult help = Cli({"--help"});
    EXPECT_EQ(help.ExitStatus, 0);
    EXPECT_NE(help.Out.find("halvex-cli show FILE"), std::string::npos);
    EXPECT_EQ(Cli({"--version"}).Out, "halvex-cli 2.0.0\n");

    // Unknown words are named; "--name=value" and "--" work as usual.
    EXPECT_NE(Cli({"frobnicate"}).Err.find("'frobnicate'"), std::string::npos);
    const ProcessResult bogus = Cli({"show", directory.File("a.hxc"), "--bogus"});
    EXPECT_EQ(bogus.ExitStatus, 2);
    EXPECT_NE(bogus.Err.find("--bogus"), std::string::npos);
    EXPECT_EQ(Cli({"export-csv", "--list-separator=;", "--", directory.File("a.hxc"), directory.File("a.csv")})
                  .ExitStatus,
              0);
    EXPECT_NE(ReadTextFile(directory.File("a.csv")).find("SPA_TEMPLATE;REF"), std::string::npos);
}

// As a user who may write the folder but not the file: no command replaces
// the file, each fails with its message and exit 1. (The superuser may write
// every file; run as another user then.)
TEST(CliFileCommands, AFileTheUserMayNotWriteIsNotWritten)
{
    TemporaryDirectory directory;
    ::chmod(directory.Path().c_str(), 0777);
    const std::string in = directory.File("in.hxc");
    const std::string xrf = directory.File("in.xrf");
    WriteTextFile(in, kSample);
    WriteTextFile(xrf, CrLfLines("[SPA_UNIT]", "1=5", "[ANALOG_INPUT]", "\"Current\": 1.0I1/1.0"));
    const std::vector<std::vector<std::string>> commands{
        {"convert", in}, {"report", in}, {"export-csv", in}, {"image", in}, {"import-xrf", xrf}, {"print", in}};
    for (std::vector<std::string> command : commands) {
        const std::string target = directory.File(command[0] + ".out");
        WriteTextFile(target, "old");
        ::chmod(target.c_str(), 0444);
        command.insert(command.begin(), HALVEX_CLI_PATH);
        command.push_back(target);
        if (::geteuid() == 0) {
            command.insert(command.begin(), {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
        }
        const ProcessResult result = RunProcess(command, {"HOME=" + directory.Path()});
        EXPECT_EQ(result.ExitStatus, 1) << command[0];
        EXPECT_NE(result.Err, "") << command[0];
        EXPECT_EQ(ReadTextFile(target), "old") << command[0];
    }
}

// A save beyond the file size limit is the save's error, not death by signal.
TEST(CliFileCommands, AFileSizeLimitIsASaveError)
{
    TemporaryDirectory directory;
    WriteTextFile(directory.File("a.hxc"), kSample);
    WriteTextFile(directory.File("b.hxc"), "old");
    const ProcessResult limited = RunProcess(
        {"/bin/sh", "-c", "ulimit -f 1; exec \"$0\" convert \"$1\" \"$2\"", HALVEX_CLI_PATH, directory.File("a.hxc"),
         directory.File("b.hxc")});
    EXPECT_EQ(limited.ExitStatus, 1);
    EXPECT_EQ(limited.Err, "Unable to save document!\n" + directory.File("b.hxc") + ": File too large\n");
    EXPECT_EQ(ReadTextFile(directory.File("b.hxc")), "old");
}
