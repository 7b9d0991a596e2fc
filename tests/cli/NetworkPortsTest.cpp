// halvex-cli's device commands through serial device servers on loopback:
// the simulator's own TCP listener, socat and ser2net (raw and RFC 2217) in
// front of the simulator's terminal, and servers of the test's own that
// refuse or drop the connection.
#include "CliTestSupport.h"
#include "ConfigFile.h"
#include "DeviceTestSupport.h"
#include "NetworkPeers.h"
#include "RequestFramer.h"
#include "SimProcess.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using Steady = std::chrono::steady_clock;

long long MillisecondsSince(Steady::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - start).count();
}

class NetworkPorts : public ::testing::TestWithParam<std::string> {
protected:
    std::string File(const std::string& name) const { return directory_.File(name); }

    OwnTemporaryFiles temporaryFiles_;
    TemporaryDirectory directory_;
};

}  // namespace

TEST_P(NetworkPorts, EveryOperationThroughTheServer)
{
    SimBehindServer gateway(GetParam(), {}, directory_.Path());
    ASSERT_TRUE(gateway.Running()) << GetParam() << " did not start";
    const std::string& port = gateway.address;

    const ProcessResult firmware = Cli({"firmware", "--port", port});
    EXPECT_EQ(firmware.Out, "Firmware version : 1.05 build 12\n") << firmware.Err;
    const std::string in = File("in.hxc");
    WriteTextFile(in, ConfigFileText(TwoSlaveConfiguration(), false));
    EXPECT_EQ(Cli({"download", in, "--port", port}).Out, "Configuration download OK! [v2.00]\n");
    EXPECT_EQ(Cli({"verify", in, "--port", port}).ExitStatus, 0);
    EXPECT_EQ(Cli({"upload", File("out.hxc"), "--port", port}).ExitStatus, 0);
    EXPECT_EQ(ReadTextFile(File("out.hxc")), ConfigFileText(TwoSlaveConfiguration(), false));

    // Runs of 0xFF, which Telnet doubles, and every other byte value.
    std::string archive(20000, '\xFF');
    for (std::size_t i = 0; i < archive.size(); i += 3) {
        archive[i] = static_cast<char>(i / 3);
    }
    WriteTextFile(File("archive.zip"), archive);
    EXPECT_EQ(Cli({"archive-download", File("archive.zip"), "--port", port}).Out, "Archive download OK!\n");
    const ProcessResult upload = Cli({"archive-upload", File("back.zip"), "--port", port, "--trace", "-"});
    EXPECT_EQ(upload.Out, "Archive upload OK!\n");
    EXPECT_EQ(ReadTextFile(File("back.zip")), archive);
    const auto lines = LinesOf(upload.Err);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_TRUE(lines.front().ends_with("\t--\t\tconnected")) << lines.front();
    EXPECT_TRUE(lines.back().ends_with("\t--\t\tdisconnected")) << lines.back();
    EXPECT_TRUE(temporaryFiles_.Clean());
}

INSTANTIATE_TEST_SUITE_P(Servers, NetworkPorts,
                         ::testing::Values("listener", "socat", "ser2net-raw", "ser2net-rfc2217"),
                         [](const auto& testInfo) {
                             std::string name = testInfo.param;
                             std::erase(name, '-');
                             return name;
                         });

TEST(NetworkPortFailures, RefusedAtOnceDroppedWithinTheReplyTimeOutAndThenUsableAgain)
{
    const std::string refused = "socket://127.0.0.1:" + std::to_string(FreeTcpPort());
    auto start = Steady::now();
    const ProcessResult nobody = Cli({"firmware", "--port", refused});
    EXPECT_LT(MillisecondsSince(start), 1000);
    EXPECT_EQ(nobody.ExitStatus, 1);
    EXPECT_EQ(nobody.Err, "Unable to open COM Port\n" + refused + ": connection refused\n");
    // A COM port of the profile may name a network address too.
    TemporaryDirectory directory;
    WriteTextFile(directory.File("profile.conf"), "[Settings]\nCOM2Device=\"" + refused + "\"\n");
    EXPECT_EQ(Cli({"firmware", "--port", "COM2"}, nullptr, directory.File("profile.conf")).Err, nobody.Err);
    const ProcessResult malformed = Cli({"firmware", "--port", "rfc2217://gw"});
    EXPECT_EQ(malformed.ExitStatus, 2);
    EXPECT_NE(malformed.Err.find("--port rfc2217://gw: the address needs HOST:PORT"), std::string::npos) << malformed.Err;

    // The first client is dropped after three frames of the archive, the
    // next one served to the end.
    InMemoryGateway engine;
    auto responder = engine.Responder();
    int clients = 0;
    TestTcpServer gateway([&](TcpSocket& client, const std::atomic<bool>& stop) {
        const int frames = clients++ == 0 ? 3 : 1000;
        RequestFramer framer;
        for (int index = 0; index < frames && !stop;) {
            std::uint8_t chunk[512];
            const long got = client.WaitReadable(50) ? client.Receive(chunk, sizeof chunk) : 0;
            if (got < 0) {
                return;
            }
            framer.Add(chunk, static_cast<std::size_t>(got));
            for (auto frame = framer.Next(); frame && index < frames; frame = framer.Next()) {
                const auto reply = responder(*frame, index++);
                client.SendAll(reply.data(), reply.size(), 1000);
            }
        }
    });
    WriteTextFile(directory.File("a.zip"), std::string(4000, 'a'));
    start = Steady::now();
    const ProcessResult dropped =
        Cli({"archive-download", directory.File("a.zip"), "--port", gateway.Address("socket"), "--trace", "-"});
    EXPECT_LT(MillisecondsSince(start), 5000);
    EXPECT_EQ(dropped.ExitStatus, 1);
    const auto lines = LinesOf(dropped.Err);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_TRUE(lines[lines.size() - 3].ends_with("\t--\t\tdisconnected")) << dropped.Err;
    EXPECT_EQ(lines[lines.size() - 2], "Archive download failed!");
    EXPECT_EQ(lines.back(), "the connection was closed");

    const ProcessResult again = Cli({"archive-download", directory.File("a.zip"), "--port", gateway.Address("socket")});
    EXPECT_EQ(again.Out, "Archive download OK!\n") << again.Err;
}
