#include "GatewayStore.h"
#include "ProcessRunner.h"
#include "SerialLink.h"
#include "SimOptions.h"
#include "SimProcess.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(SimOptions, ValuesAndMistakes)
{
    std::string error;
    auto options = ParseSimOptions({"--firmware", "2.10.300"}, error);
    EXPECT_FALSE(options);
    options = ParseSimOptions({"--firmware", "2.10.30", "--reply-block", "1000", "--line-rate", "38400", "--fault",
                               "silence:2", "--link", "/tmp/x", "--state", "/tmp/y"},
                              error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->Settings.Firmware, (std::array<std::uint8_t, 3>{2, 10, 30}));
    EXPECT_EQ(options->Settings.ReplyBlock, 1000);
    EXPECT_EQ(options->LineRate, 38400);
    EXPECT_EQ(options->Faults.Next(), FaultKind::Silence);
    EXPECT_EQ(options->LinkPath, "/tmp/x");
    EXPECT_EQ(options->StateDirectory, "/tmp/y");

    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {"--reply-block", "0"}, {"--reply-block", "1001"}, {"--line-rate", "fast"}, {"--fault", "noise"},
             {"--firmware", "1.2"}, {"--link"}, {"--colour", "red"}, {"stray"}, {"--listen", "4001"},
             {"--listen", "[::1]:70000"}, {"--no-pty"}}) {
        EXPECT_FALSE(ParseSimOptions(wrong, error)) << wrong[0];
    }
    options = ParseSimOptions({"--no-pty", "--listen", "[::1]:0"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_FALSE(options->Terminal);
    EXPECT_EQ(options->Listen->Host, "::1");

    // Without a pseudo-terminal on the system (Windows): TCP alone, --listen required.
    options = ParseSimOptions({"--listen", "127.0.0.1:0"}, error, false);
    ASSERT_TRUE(options) << error;
    EXPECT_FALSE(options->Terminal);
    EXPECT_FALSE(ParseSimOptions({"--state", "/tmp/y"}, error, false));
    EXPECT_NE(error.find("--listen HOST:PORT is required"), std::string::npos) << error;
    EXPECT_FALSE(ParseSimOptions({"--link", "/tmp/x", "--listen", "127.0.0.1:0"}, error, false));
    EXPECT_TRUE(ParseSimOptions({"--help"}, error, false));
    EXPECT_NE(SimUsage(false).find("--listen is"), std::string::npos);
    EXPECT_EQ(SimUsage(false).find("--link"), std::string::npos);
}

TEST(GatewayStore, KeepsEverythingInItsStateDirectory)
{
    TemporaryDirectory directory;
    const std::string state = directory.File("state");
    std::string error;
    {
        GatewayStore store;
        ASSERT_TRUE(store.UseDirectory(state, error)) << error;
        store.KeepConfiguration({2, 0, 1}, "text");
        store.KeepArchive("a.zip", {9, 8});
        store.Diagnostics() = {1, 2, 3};
        store.DiagnosticsChanged();
    }
    GatewayStore store;
    ASSERT_TRUE(store.UseDirectory(state, error));
    EXPECT_EQ(store.Image(), (std::vector<std::uint8_t>{2, 0, 1}));
    EXPECT_EQ(store.Text(), "text");
    EXPECT_EQ(store.ArchiveName(), "a.zip");
    EXPECT_EQ(store.Archive(), (std::vector<std::uint8_t>{9, 8}));
    EXPECT_EQ(store.Diagnostics(), (std::vector<std::uint8_t>{1, 2, 3}));

    WriteTextFile(directory.File("file"), "x");
    EXPECT_FALSE(GatewayStore().UseDirectory(directory.File("file"), error));
}

TEST(GatewayProgram, PrintsItsTerminalLinksItAndStopsCleanly)
{
    TemporaryDirectory directory;
    const std::string link = directory.File("gateway");
    SimProcess sim({"--link", link});
    ASSERT_FALSE(sim.Path().empty());
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), sim.Path());
    EXPECT_EQ(sim.Stop(SIGINT), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));

    SimProcess second({});
    EXPECT_EQ(second.Stop(SIGTERM), 0);

    const ProcessResult wrong = RunProcess({HALVEX_SIM_PATH, "--fault", "noise"});
    EXPECT_EQ(wrong.ExitStatus, 2);
    EXPECT_NE(wrong.Err.find("usage:"), std::string::npos);
}

TEST(GatewayProgram, ServesTcpClientsOneAtATimeBesideItsTerminal)
{
    SimProcess sim({"--listen", "127.0.0.1:0"});
    ASSERT_FALSE(sim.Path().empty());
    ASSERT_TRUE(sim.Address().starts_with("socket://127.0.0.1:")) << sim.Address();
    const auto firmware = [](SerialLink& link) {
        std::uint8_t reply[16];
        int length = sizeof reply;
        return link.Transact(2, 0, nullptr, length, reply) && length == 3;
    };
    SerialLink first;
    SerialLink second;
    SerialLink terminal;
    ASSERT_TRUE(first.Open(sim.Address(), 38400).Opened());
    ASSERT_TRUE(second.Open(sim.Address(), 38400).Opened());
    ASSERT_TRUE(terminal.Open(sim.Path(), 38400).Opened());
    second.SetReplyTimeout(300);
    EXPECT_FALSE(firmware(second)) << "waits while the first client is served";
    EXPECT_TRUE(firmware(first));
    EXPECT_TRUE(firmware(terminal)) << "the terminal is served meanwhile";
    first.Close();
    second.SetReplyTimeout(2000);
    EXPECT_TRUE(firmware(second)) << "served once the first has left";
    EXPECT_EQ(sim.Stop(SIGTERM), 0) << "stops with a client connected";

    // IPv6 alone, without a terminal.
    SimProcess v6({"--listen", "[::1]:0", "--no-pty"});
    ASSERT_TRUE(v6.Address().starts_with("socket://[::1]:")) << v6.Address();
    SerialLink overIpv6;
    ASSERT_TRUE(overIpv6.Open(v6.Address(), 38400).Opened());
    EXPECT_TRUE(firmware(overIpv6));

    // An address taken already.
    SimProcess holder({"--listen", "127.0.0.1:0", "--no-pty"});
    const std::string held = holder.Address().substr(std::string("socket://").size());
    const ProcessResult busy = RunProcess({HALVEX_SIM_PATH, "--listen", held});
    EXPECT_EQ(busy.ExitStatus, 1);
    EXPECT_NE(busy.Err.find("cannot listen on " + held), std::string::npos) << busy.Err;
}
