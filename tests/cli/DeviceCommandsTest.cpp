// halvex-cli's device commands in-process against the gateway in memory, and
// as a program against halvex-gateway-sim.
#include "CliTestSupport.h"
#include "ConfigFile.h"
#include "DeviceTestSupport.h"
#include "SimProcess.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <sstream>

namespace {

class DeviceCommands : public ::testing::Test {
protected:
    // halvex-cli as a program, run by the launcher when one is given.
    ProcessResult Program(const std::vector<std::string>& arguments, std::vector<std::string> argv = {})
    {
        argv.push_back(HALVEX_CLI_PATH);
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return RunProcess(argv, {"XDG_RUNTIME_DIR=" + directory_.Path(), "XDG_CONFIG_HOME=" + directory_.Path()});
    }
    std::string File(const std::string& name) const { return directory_.File(name); }
    std::string WriteConfiguration(const std::string& name, const ConfigTemplate& config)
    {
        WriteTextFile(File(name), ConfigFileText(config, false));
        return File(name);
    }

    OwnTemporaryFiles temporaryFiles_;
    TemporaryDirectory directory_;
};

}  // namespace

TEST_F(DeviceCommands, DownloadAndUploadThroughAGatewayThatKeepsItsState)
{
    const std::string state = File("state");
    const ConfigTemplate config = TwoSlaveConfiguration();
    const std::string in = WriteConfiguration("in.hxc", config);
    {
        SimProcess sim({"--state", state});
        const ProcessResult download = Program({"download", in, "--port", sim.Path()});
        EXPECT_EQ(download.ExitStatus, 0) << download.Err;
        EXPECT_EQ(download.Out, "Configuration download OK! [v2.00]\n");
    }
    // The gateway took the first analog input out of use while it was off.
    std::string image = ReadTextFile(state + "/configuration.img");
    ASSERT_GT(image.size(), 40u);
    image[22 + 15] = '\0';
    WriteTextFile(state + "/configuration.img", image);

    SimProcess sim({"--state", state});
    const ProcessResult upload = Program({"upload", File("out.hxc"), "--port", sim.Path()});
    EXPECT_EQ(upload.ExitStatus, 0) << upload.Err;
    EXPECT_EQ(upload.Out, "Configuration upload OK!\n");
    ConfigTemplate expected = config;
    expected.AnalogInputs[0].InUse = false;
    EXPECT_EQ(ReadTextFile(File("out.hxc")), ConfigFileText(expected, false));

    const ProcessResult old = Program({"download", in, "--port", sim.Path(), "--layout", "1.02"});
    EXPECT_EQ(old.ExitStatus, 0) << old.Err;
    EXPECT_EQ(old.Out, "Configuration download OK! [v1.02]\n");
}

TEST_F(DeviceCommands, RefusalsFailuresAndUsageErrors)
{
    InMemoryGateway sim;
    const std::string empty = WriteConfiguration("empty.hxc", ConfigTemplate{});

    // The gateway keeps nothing yet: the upload fails and writes no file.
    const ProcessResult upload = Cli({"upload", File("out.hxc"), "--port", "gateway"}, &sim);
    EXPECT_EQ(upload.ExitStatus, 1);
    EXPECT_EQ(upload.Err, "Unable to upload configuration\nthe gateway reported an error\n");
    EXPECT_FALSE(std::filesystem::exists(File("out.hxc")));

    const ProcessResult noSlaves = Cli({"download", empty, "--port", "gateway"}, &sim);
    EXPECT_EQ(noSlaves.ExitStatus, 1);
    EXPECT_EQ(noSlaves.Err, "There are no slaves in the project. Add slaves or open a configuration\n");
    EXPECT_EQ(Cli({"download", empty, "--port", "gateway", "--layout", "2.00"}, &sim).ExitStatus, 0);

    ConfigTemplate tooMany;
    for (int i = 0; i < 128; ++i) {
        tooMany.IndirectMessages.Append(IndirectSpaMessage{});
    }
    const ProcessResult limit = Cli({"download", WriteConfiguration("many.hxc", tooMany), "--port", "gateway",
                                     "--layout", "2.00"}, &sim);
    EXPECT_EQ(limit.ExitStatus, 1);
    EXPECT_EQ(LinesOf(limit.Err), (std::vector<std::string>{
                                    "Unable to download - more than 127 indirect SPA messages",
                                    "128 indirect SPA messages; the first beyond 127: Indirect SPA message 128 \"\" "
                                    "(slave 0, Ch/Cat/Dno \"0I0\")"}));

    // A setting the window's form would refuse is not sent either.
    ConfigTemplate idle = TwoSlaveConfiguration();
    idle.SpaIdleTime = 33;
    const int requests = sim.RequestsReceived();
    const ProcessResult setting = Cli({"download", WriteConfiguration("idle.hxc", idle), "--port", "gateway"}, &sim);
    EXPECT_EQ(setting.ExitStatus, 1);
    EXPECT_EQ(setting.Err, "Please enter an integer between 5 and 10.\nSPA Idle Time (SPA_IDLETIME) is 33\n");
    EXPECT_EQ(sim.RequestsReceived(), requests);

    const ProcessResult closed = Cli({"firmware", "--port", "/dev/does-not-exist"}, &sim);
    EXPECT_EQ(closed.ExitStatus, 1);
    EXPECT_EQ(closed.Err, "Unable to open COM Port\n/dev/does-not-exist: No such file or directory\n");

    EXPECT_EQ(Cli({"firmware"}).ExitStatus, 2);
    EXPECT_EQ(Cli({"firmware", "--port", "COM5"}).ExitStatus, 2);
    EXPECT_EQ(Cli({"download", empty, "--port", "gateway", "--layout", "1.00"}, &sim).ExitStatus, 2);
    EXPECT_EQ(Cli({"archive-upload", "--port", "gateway"}, &sim).ExitStatus, 2);
}

TEST_F(DeviceCommands, FirmwareDiagnosticsAndTheirClearing)
{
    GatewaySettings settings;
    settings.Firmware = {2, 3, 17};
    InMemoryGateway sim({}, settings);
    const ProcessResult firmware = Cli({"firmware", "--port", "gateway"}, &sim);
    EXPECT_EQ(firmware.ExitStatus, 0);
    EXPECT_EQ(firmware.Out, "Firmware version : 2.03 build 17\n");

    const ProcessResult diagnostics = Cli({"diagnostics", "--port", "gateway"}, &sim);
    EXPECT_EQ(diagnostics.ExitStatus, 0) << diagnostics.Err;
    const auto lines = LinesOf(diagnostics.Out);
    ASSERT_EQ(lines.size(), 20u + 1u + 16u);
    EXPECT_EQ(lines[0], "File Revision : 0.00");
    EXPECT_EQ(lines[2], "Status : OK");
    EXPECT_EQ(lines[3], "Error Type: Configuration Empty");
    EXPECT_EQ(lines[7].rfind("SPA Gateway Time: 2", 0), 0u);
    EXPECT_EQ(lines[19], "Poll Cycle Time (ms): 0");
    EXPECT_EQ(lines[20], "Slv\tsec\tmsec\tCh\tType\tNr\tVal");
    EXPECT_EQ(lines[36], "0\t0\t0\t0\t\t0\t0");

    const ProcessResult clear = Cli({"clear-diagnostics", "--port", "gateway"}, &sim);
    EXPECT_EQ(clear.ExitStatus, 0);
    EXPECT_EQ(clear.Out, "Clear diagnostics OK!\n");
}

TEST_F(DeviceCommands, ComPortsFollowTheWindowProgramsProfile)
{
    SimProcess sim({});
    std::filesystem::create_directories(File("Vantrel Substation"));
    WriteTextFile(File("Vantrel Substation/Halvex Configuration Tool.conf"),
                  "[General]\nCOM2Device=/nowhere\n[Settings]\nCOMPort=2\nCOM2Device=\"" + sim.Path() + "\"\n");
    const ProcessResult mapped = Program({"firmware", "--port", "com2"});
    EXPECT_EQ(mapped.ExitStatus, 0) << mapped.Err;
    EXPECT_EQ(mapped.Out, "Firmware version : 1.05 build 12\n");

    const ProcessResult unmapped = Program({"firmware", "--port", "COM3"});
    EXPECT_EQ(unmapped.ExitStatus, 1) << "COM3 is /dev/ttyS2, which is no gateway here";
}

TEST_F(DeviceCommands, ArchiveThereAndBack)
{
    InMemoryGateway sim;
    std::string bytes(4000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 31);
    }
    WriteTextFile(File("backup.zip"), bytes);
    const ProcessResult download = Cli({"archive-download", File("backup.zip"), "--port", "gateway"}, &sim);
    EXPECT_EQ(download.ExitStatus, 0) << download.Err;
    EXPECT_EQ(download.Out, "Archive download OK!\n");
    const ProcessResult upload = Cli({"archive-upload", File("back.zip"), "--port", "gateway"}, &sim);
    EXPECT_EQ(upload.ExitStatus, 0) << upload.Err;
    EXPECT_EQ(upload.Out, "Archive upload OK!\n");
    EXPECT_EQ(ReadTextFile(File("back.zip")), bytes);

    WriteTextFile(File("empty.zip"), "");
    const ProcessResult empty = Cli({"archive-download", File("empty.zip"), "--port", "gateway"}, &sim);
    EXPECT_EQ(empty.ExitStatus, 1);
    EXPECT_EQ(empty.Err, "Unable to download - incorrect file\n");
}

TEST_F(DeviceCommands, VerifyTellsWhetherTheGatewayHoldsTheFile)
{
    const ConfigTemplate sent = TwoSlaveConfiguration();
    ConfigTemplate changed = sent;
    changed.AnalogInputs[1].Scale = 0.5f;
    const std::string a = WriteConfiguration("a.hxc", sent);
    const std::string b = WriteConfiguration("b.hxc", changed);
    const std::vector<std::string> difference{
        "Configuration verify failed! The gateway's configuration differs in 1 line.",
        "First difference, line 17:",
        "gateway:  1,\tN,\t\"Current 1\",\t5,\t0I2,\t1.000000,\t16",
        "expected: 1,\tN,\t\"Current 1\",\t5,\t0I2,\t0.500000,\t16",
    };

    // The program against the simulator program.
    SimProcess sim({});
    EXPECT_EQ(Program({"verify", a, "--port", sim.Path()}).Err,
              "Unable to upload configuration\nthe gateway reported an error\n");
    ASSERT_EQ(Program({"download", a, "--port", sim.Path()}).ExitStatus, 0);
    const ProcessResult same = Program({"verify", a, "--port", sim.Path()});
    EXPECT_EQ(same.ExitStatus, 0) << same.Err;
    EXPECT_EQ(same.Out, "Configuration verify OK! The gateway holds this configuration.\n");
    const ProcessResult other = Program({"verify", b, "--port", sim.Path()});
    EXPECT_EQ(other.ExitStatus, 1);
    EXPECT_EQ(LinesOf(other.Err), difference);

    // --json: the object alone on standard output, the message on standard error.
    InMemoryGateway gateway;
    ASSERT_EQ(Cli({"download", a, "--port", "gateway", "--verify"}, &gateway).ExitStatus, 0);
    const ProcessResult json = Cli({"verify", b, "--port", "gateway", "--json"}, &gateway);
    EXPECT_EQ(json.ExitStatus, 1);
    EXPECT_EQ(LinesOf(json.Err), difference);
    EXPECT_EQ(nlohmann::json::parse(json.Out),
              (nlohmann::json{{"file", b},
                              {"match", false},
                              {"differing_lines", 1},
                              {"first_difference",
                               {{"line", 17}, {"gateway", difference[2].substr(10)}, {"expected", difference[3].substr(10)}}}}));

    // A gateway that keeps another text than it was sent fails the download's verify.
    auto responder = gateway.Responder();
    const ProcessResult tampered = Cli({"download", a, "--port", "gateway", "--verify"},
                                       [&](const InMemoryTransport::Frame& request, int index) {
                                           if (request[3] == 17 && gateway.Store().Text() == ConfigFileText(sent, false)) {
                                               gateway.Store().KeepConfiguration(gateway.Store().Image(),
                                                                                 ConfigFileText(changed, false));
                                           }
                                           return responder(request, index);
                                       });
    EXPECT_EQ(tampered.ExitStatus, 1);
    EXPECT_EQ(tampered.Out, "Configuration download OK! [v2.00]\n");
    EXPECT_EQ(LinesOf(tampered.Err)[0], difference[0]);
}

TEST_F(DeviceCommands, JsonOfFirmwareAndDiagnostics)
{
    InMemoryGateway sim;
    const ProcessResult firmware = Cli({"firmware", "--port", "gateway", "--json"}, &sim);
    EXPECT_EQ(firmware.ExitStatus, 0);
    EXPECT_EQ(firmware.Err, "Firmware version : 1.05 build 12\n");
    EXPECT_EQ(nlohmann::json::parse(firmware.Out),
              (nlohmann::json{{"major", 1}, {"minor", 5}, {"build", 12}, {"text", "Firmware version : 1.05 build 12"}}));

    const ProcessResult diagnostics = Cli({"diagnostics", "--port", "gateway", "--json"}, &sim);
    EXPECT_EQ(diagnostics.ExitStatus, 0) << diagnostics.Err;
    const nlohmann::json record = nlohmann::json::parse(diagnostics.Out);
    EXPECT_EQ(record.size(), 20u + 1u) << "one key per dialog field, and the events";
    EXPECT_EQ(record["status"], "OK");
    EXPECT_EQ(record["error_type"], "Configuration Empty");
    EXPECT_EQ(record["problem_dno"], "0");
    EXPECT_EQ(record["naks_received"], "0");
    EXPECT_EQ(record["poll_cycle_time_ms"], "0");
    ASSERT_EQ(record["events"].size(), 16u);
    EXPECT_EQ(record["events"][0], (nlohmann::json{{"slv", "0"}, {"sec", "0"}, {"msec", "0"}, {"ch", "0"},
                                                   {"type", ""}, {"nr", "0"}, {"val", "0"}}));
}

TEST_F(DeviceCommands, TraceOfEveryFrameOnStandardErrorOrInAFile)
{
    InMemoryGateway sim;
    const ProcessResult plain = Cli({"firmware", "--port", "gateway", "--trace", "-"}, &sim);
    EXPECT_EQ(plain.ExitStatus, 0);
    EXPECT_EQ(LinesOf(plain.Err), (std::vector<std::string>{"505.000\tTX\t00 08 00 02 01 01 4A 80",
                                                            "505.000\tRX\t00 0B 00 02 01 01 01 05 0C 08 24"}))
        << "timed from the port's opening: the settle and frame pauses";
    EXPECT_EQ(Cli({"firmware", "--port", "gateway", "--trace", File("trace.txt")}, &sim).Err, "");
    EXPECT_EQ(ReadTextFile(File("trace.txt")), plain.Err);

    // A reply with a bad checksum and the resend it brings; the JSON on
    // standard output stays whole.
    InMemoryGateway faulty({"bad-crc:1"});
    const ProcessResult resent = Cli({"firmware", "--port", "gateway", "--json", "--trace=-"}, &faulty);
    EXPECT_EQ(nlohmann::json::parse(resent.Out)["build"], 12);
    const auto lines = LinesOf(resent.Err);
    ASSERT_EQ(lines.size(), 5u) << resent.Err;
    EXPECT_TRUE(lines[1].starts_with("505.000\tRX\t") && lines[1].ends_with("\tcrc-bad")) << lines[1];
    EXPECT_TRUE(lines[2].ends_with("\tTX\t00 08 00 02 01 01 4A 80\tresend")) << lines[2];

    // A trace file that cannot be written: nothing is sent.
    const std::string missing = File("no/trace.txt");
    const ProcessResult unwritable = Cli({"firmware", "--port", "gateway", "--trace", missing}, &sim);
    EXPECT_EQ(unwritable.ExitStatus, 1);
    EXPECT_EQ(unwritable.Err, "Unable to write the trace file\n" + missing + ": No such file or directory\n");
    EXPECT_EQ(sim.RequestsReceived(), 2);
}

namespace {

volatile std::sig_atomic_t interruptReachedTest = 0;
void NoteInterrupt(int) { interruptReachedTest = 1; }

}  // namespace

TEST_F(DeviceCommands, InterruptCancelsAtTheNextFrameAndRestoresTheHandler)
{
    const auto previous = std::signal(SIGINT, NoteInterrupt);
    InMemoryGateway sim;
    const auto interruptAtThird = [responder = sim.Responder()](const InMemoryTransport::Frame& request, int index) {
        if (index == 2) {
            std::raise(SIGINT);
        }
        return responder(request, index);
    };
    const ProcessResult download = Cli({"download", WriteConfiguration("in.hxc", *EveryFieldConfiguration()),
                                        "--port", "gateway", "--trace", "-"}, interruptAtThird);
    EXPECT_EQ(std::signal(SIGINT, previous), &NoteInterrupt) << "the handler from before the command is back";
    EXPECT_EQ(interruptReachedTest, 0);
    EXPECT_EQ(download.ExitStatus, 1);
    const auto lines = LinesOf(download.Err);
    ASSERT_EQ(lines.size(), 3u * 2u + 2u) << download.Err;
    EXPECT_TRUE(lines[6].ends_with("\t--\t\tcancelled")) << lines[6];
    EXPECT_EQ(lines[7], "Operation cancelled");
    EXPECT_TRUE(temporaryFiles_.Clean());
}

TEST_F(DeviceCommands, InterruptOfTheProgramLeavesNoFileAndAFreePort)
{
    // A download of some seven seconds on the paced line, interrupted after one.
    ConfigTemplate config = TwoSlaveConfiguration();
    while (config.IndirectMessages.Count() < kMaxIndirectMessages) {
        config.IndirectMessages.Append({true, std::string(100, 'M'), 5});
    }
    const std::string in = WriteConfiguration("in.hxc", config);
    SimProcess sim({"--line-rate", "38400"});
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult download =
        Program({"download", in, "--port", sim.Path()}, {"/usr/bin/timeout", "--preserve-status", "-s", "INT", "1"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3000));
    EXPECT_EQ(download.ExitStatus, 1);
    EXPECT_EQ(download.Err, "Operation cancelled\n");
    EXPECT_TRUE(std::filesystem::is_empty(File("halvex")));

    const ProcessResult firmware = Program({"firmware", "--port", sim.Path()});
    EXPECT_EQ(firmware.ExitStatus, 0) << firmware.Err;
    EXPECT_EQ(firmware.Out, "Firmware version : 1.05 build 12\n");
}

TEST_F(DeviceCommands, DiffWithThePortComparesTheFileWithWhatTheGatewayHolds)
{
    const ConfigTemplate sent = TwoSlaveConfiguration();
    ConfigTemplate changed = sent;
    changed.SpaIdleTime = 5;
    changed.AnalogInputs[1].Scale = 0.5f;
    changed.IndirectMessages.RemoveAt(0);
    const std::string a = WriteConfiguration("a.hxc", sent);
    const std::string b = WriteConfiguration("b.hxc", changed);
    InMemoryGateway gateway;
    ASSERT_EQ(Cli({"download", a, "--port", "gateway"}, &gateway).ExitStatus, 0);
    const ProcessResult same = Cli({"diff", a, "--port", "gateway"}, &gateway);
    EXPECT_EQ(same.ExitStatus, 0) << same.Err;
    EXPECT_EQ(same.Out, "");
    // The same lines as the diff of the two files, from the file to the gateway's.
    const ProcessResult files = Cli({"diff", b, a});
    const ProcessResult other = Cli({"diff", b, "--port", "gateway"}, &gateway);
    EXPECT_EQ(other.ExitStatus, 1);
    EXPECT_EQ(LinesOf(other.Out).size(), 3u) << other.Out;
    EXPECT_EQ(other.Out, files.Out);
    EXPECT_EQ(Cli({"diff", a}).ExitStatus, 2);
}
