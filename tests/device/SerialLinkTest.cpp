#include "Checksum.h"
#include "LinkTestSupport.h"
#include "ScriptedWindowSystem.h"
#include "SerialLink.h"
#include "InMemoryGateway.h"
#include "SimulatedGateway.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <string>

namespace {

constexpr int kBaud = 38400;

// A link opened on a peer in memory with a short reply time-out.
struct OpenLink {
    explicit OpenLink(InMemoryTransport::Responder peer, int replyTimeout = 400)
    {
        line.transport.SetResponder(std::move(peer));
        EXPECT_TRUE(line.link.Open("gateway", kBaud));
        line.link.SetReplyTimeout(replyTimeout);
    }
    explicit OpenLink(InMemoryGateway& gateway, int replyTimeout = 400) : OpenLink(gateway.Responder(), replyTimeout)
    {
    }
    bool Transact(int code, const Bytes& data, Bytes& reply, int capacity = 65536)
    {
        reply.assign(static_cast<std::size_t>(capacity), 0);
        int length = capacity;
        const bool ok = line.link.Transact(code, static_cast<int>(data.size()), data.data(), length, reply.data());
        reply.resize(ok ? static_cast<std::size_t>(length) : 0);
        return ok;
    }
    const std::vector<Bytes>& Frames() const { return line.transport.Frames(); }
    MemoryLine line;
    SerialLink& link = line.link;
};

// Answers every request with an empty reply of one block.
Bytes Acknowledge(const Bytes& request, int) { return FrameOf(request[3], 1, 1); }

}  // namespace

TEST(LinkFrame, ChecksumAndTheFrameBytesOfTheProtocol)
{
    const std::string digits = "123456789";
    EXPECT_EQ(Checksum(reinterpret_cast<const std::uint8_t*>(digits.data()), digits.size()), 0x4B37);
    EXPECT_EQ(FrameOf(kCommandFirmwareVersion, 1, 1), (Bytes{0x00, 0x08, 0x00, 0x02, 0x01, 0x01, 0x4A, 0x80}));
    EXPECT_EQ(FrameOf(kCommandUploadConfiguration, 1, 1), (Bytes{0x00, 0x08, 0x00, 0x11, 0x01, 0x01, 0x8F, 0x71}));
    EXPECT_EQ(FrameOf(kContinuationFlag | kCommandUploadConfiguration, 1, 1),
              (Bytes{0x00, 0x08, 0x20, 0x11, 0x01, 0x01, 0x4F, 0x7A}));
}

TEST(SerialLink, BlockSizeLimits)
{
    SerialLink link;
    EXPECT_FALSE(link.SetMaxBlockSize(0));
    EXPECT_FALSE(link.SetMaxBlockSize(1001));
    EXPECT_EQ(link.MaxBlockSize(), 1000);
    EXPECT_TRUE(link.SetMaxBlockSize(1));
    EXPECT_EQ(link.MaxBlockSize(), 1);
    EXPECT_TRUE(link.SetMaxBlockSize(1000));
    EXPECT_EQ(link.GetLastStatus(), kLinkStatusUnset);
}

TEST(SerialLink, OpenKeepsAnOpenPortAndRefusesWhatIsNoTerminal)
{
    ScriptedPeer peer(Acknowledge);
    SerialLink link;
    EXPECT_TRUE(link.Open(peer.Path(), kBaud));
    EXPECT_TRUE(link.Open(peer.Path(), 9600));
    SerialLink second;
    EXPECT_EQ(second.Open(peer.Path(), kBaud).Failure, OpenFailure::InUse) << "the port is this process's alone while open";
    link.Close();
    EXPECT_FALSE(link.IsOpen());
    EXPECT_TRUE(second.Open(peer.Path(), kBaud));

    SerialLink other;
    EXPECT_EQ(other.Open("/dev/null", kBaud).Failure, OpenFailure::Other);
    EXPECT_EQ(other.Open("/nonexistent/ttyS9", kBaud).Failure, OpenFailure::NotFound);
    EXPECT_FALSE(other.IsOpen());
}

TEST(SerialLink, CommandWithoutDataIsOneEightByteFrame)
{
    OpenLink open([](const Bytes& request, int) { return FrameOf(request[3], 1, 1, {1, 5, 12}); });
    Bytes reply;
    ASSERT_TRUE(open.Transact(kCommandFirmwareVersion, {}, reply));
    EXPECT_EQ(reply, (Bytes{1, 5, 12}));
    EXPECT_EQ(open.link.GetLastStatus(), kLinkOk);
    ASSERT_EQ(open.Frames().size(), 1u);
    EXPECT_EQ(open.Frames()[0], (Bytes{0x00, 0x08, 0x00, 0x02, 0x01, 0x01, 0x4A, 0x80}));
}

TEST(SerialLink, DataIsSentInFramesOfTheBlockSize)
{
    for (const std::size_t length : {std::size_t{870}, std::size_t{871}}) {
        OpenLink open(Acknowledge);
        ScriptedWindowSystem ui;
        open.link.ProgressControl = &ui;
        ASSERT_TRUE(open.link.SetMaxBlockSize(290));
        const Bytes data = Sequence(length);
        Bytes reply;
        ASSERT_TRUE(open.Transact(kCommandDownloadArchive, data, reply));
        EXPECT_TRUE(reply.empty());

        const auto frames = open.Frames();
        const std::size_t expectedFrames = length == 870 ? 3 : 4;
        ASSERT_EQ(frames.size(), expectedFrames);
        Bytes sent;
        for (std::size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(frames[i][4], expectedFrames) << "block count";
            EXPECT_EQ(frames[i][5], i + 1) << "block number";
            sent.insert(sent.end(), frames[i].begin() + 6, frames[i].end() - 2);
        }
        EXPECT_EQ(frames.front().size(), 298u);
        EXPECT_EQ(frames.back().size(), length == 870 ? 298u : 9u);
        EXPECT_EQ(sent, data);
        if (length == 870) {
            // Each block moves the bar, and so does each one-block reply.
            EXPECT_EQ(ui.ProgressValues, (std::vector<int>{33, 100, 66, 100, 100, 100}));
        }
    }
}

// A reply whose block number exceeds its block count ends the reply; the bar
// it moves stays within its range.
TEST(SerialLink, ProgressStaysWithinTheBar)
{
    OpenLink open([](const Bytes& request, int) { return FrameOf(request[3], 1, 255, {7}); });
    ScriptedWindowSystem ui;
    open.link.ProgressControl = &ui;
    Bytes reply;
    ASSERT_TRUE(open.Transact(kCommandFirmwareVersion, {}, reply));
    EXPECT_EQ(reply, Bytes{7});
    EXPECT_EQ(ui.ProgressValues, (std::vector<int>{100}));
}

TEST(SerialLink, ReplyThatDoesNotFitOrComesOutOfSequenceFails)
{
    OpenLink toBig([](const Bytes& request, int) { return FrameOf(request[3], 1, 1, {1, 2, 3}); });
    Bytes reply;
    EXPECT_FALSE(toBig.Transact(kCommandFirmwareVersion, {}, reply, 2));

    // Block 3 right after block 1 would put its data where block 2 belongs.
    OpenLink toSkipping([](const Bytes& request, int index) {
        return FrameOf(request[3], 3, index == 0 ? 1 : 3, {static_cast<std::uint8_t>(index)});
    });
    EXPECT_FALSE(toSkipping.Transact(kCommandUploadArchive, {}, reply));
    EXPECT_EQ(toSkipping.Frames().size(), 2u);
}

TEST(SerialLink, ResendAfterAnInvalidReplyIsAPlainRequest)
{
    // The continuation's reply has a bad checksum: the frame goes out again
    // with byte 2 reduced to its bit 6 and a fresh checksum.
    OpenLink open([](const Bytes&, int index) {
        Bytes frame = FrameOf(kCommandUploadConfiguration, 2, index == 0 ? 1 : 2, {9});
        if (index == 1) {
            frame.back() ^= 0xFF;
        }
        return frame;
    });
    Bytes reply;
    ASSERT_TRUE(open.Transact(kCommandUploadConfiguration, {}, reply));
    EXPECT_EQ(reply, (Bytes{9, 9}));
    const auto frames = open.Frames();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[1][2], 0x20);
    EXPECT_EQ(frames[2], (Bytes{0x00, 0x08, 0x00, 0x11, 0x01, 0x01, 0x8F, 0x71}));
}

TEST(SerialLink, RetryBitCountsAsAnAttempt)
{
    // Bit 6 alone does not reject a reply...
    InMemoryGateway gateway({"retry-bit:1"});
    OpenLink open(gateway);
    Bytes reply;
    EXPECT_TRUE(open.Transact(kCommandFirmwareVersion, {}, reply));
    EXPECT_EQ(gateway.RequestsReceived(), 1);

    // ...but with a bad checksum each reply uses up two of the three sends.
    OpenLink toPeer([](const Bytes& request, int) {
        Bytes frame = FrameOf(request[3], 1, 1);
        frame[2] = kRetryBit;
        return frame;  // checksum computed before bit 6 was set
    });
    EXPECT_FALSE(toPeer.Transact(kCommandFirmwareVersion, {}, reply));
    EXPECT_EQ(toPeer.link.GetLastStatus(), kLinkRetriesUsedUp);
    EXPECT_EQ(toPeer.Frames().size(), 2u);
}

TEST(SerialLinkAgainstSimulator, ReplyFetchedInThreeBlocks)
{
    GatewaySettings settings;
    settings.ReplyBlock = 1;
    InMemoryGateway gateway({}, settings);
    OpenLink open(gateway);
    Bytes reply;
    ASSERT_TRUE(open.Transact(kCommandFirmwareVersion, {}, reply));
    EXPECT_EQ(reply, (Bytes{1, 5, 12}));
    EXPECT_EQ(gateway.RequestsReceived(), 3);
}

TEST(SerialLinkAgainstSimulator, BadChecksumIsAnsweredByResends)
{
    {
        InMemoryGateway gateway({"bad-crc:2"});
        OpenLink open(gateway);
        Bytes reply;
        EXPECT_TRUE(open.Transact(kCommandFirmwareVersion, {}, reply));
        EXPECT_EQ(reply, (Bytes{1, 5, 12}));
        EXPECT_EQ(gateway.RequestsReceived(), 3);
    }
    InMemoryGateway gateway({"bad-crc:3"});
    OpenLink open(gateway);
    Bytes reply;
    EXPECT_FALSE(open.Transact(kCommandFirmwareVersion, {}, reply));
    EXPECT_EQ(open.link.GetLastStatus(), kLinkRetriesUsedUp);
    EXPECT_EQ(gateway.RequestsReceived(), 3);
}

TEST(SerialLinkAgainstSimulator, SilenceTimesOutAfterOneSendWithoutUsingTheProcessor)
{
    // On a real pseudo-terminal: the wait sleeps in the system.
    SimulatedGateway gateway({"silence"});
    SerialLink link;
    ASSERT_TRUE(link.Open(gateway.Path(), kBaud));
    link.SetReplyTimeout(300);
    std::uint8_t reply[16];
    int length = sizeof reply;
    const Stopwatch watch;
    EXPECT_FALSE(link.Transact(kCommandFirmwareVersion, 0, nullptr, length, reply));
    const long long wall = watch.WallMilliseconds();
    EXPECT_EQ(link.GetLastStatus(), kLinkTimedOut);
    EXPECT_EQ(gateway.RequestsReceived(), 1);
    EXPECT_GE(wall, 300);
    EXPECT_LT(wall, 900);
    EXPECT_LT(watch.CpuMilliseconds(), 30.0) << "the wait must sleep, not spin";

    // In memory the time-out is measured on the link's clock.
    InMemoryGateway silent({"silence"});
    OpenLink open(silent, 1000);
    Bytes none;
    EXPECT_FALSE(open.Transact(kCommandFirmwareVersion, {}, none));
    EXPECT_EQ(open.link.GetLastStatus(), kLinkTimedOut);
    EXPECT_GE(open.line.clock.NowMilliseconds(), 5 + 1000);
    EXPECT_LE(open.line.clock.NowMilliseconds(), 5 + 1001);
}

TEST(SerialLinkAgainstSimulator, ErrorBitEndsTheExchangeWithoutResend)
{
    InMemoryGateway gateway({"error-bit"});
    OpenLink open(gateway);
    Bytes reply;
    EXPECT_FALSE(open.Transact(kCommandFirmwareVersion, {}, reply));
    EXPECT_EQ(open.link.GetLastStatus(), kLinkDeviceError);
    EXPECT_EQ(gateway.RequestsReceived(), 1);
}

TEST(SerialLinkAgainstSimulator, InvalidLengthAndBlockCountAreResent)
{
    for (const char* fault : {"oversize-length", "zero-block-count"}) {
        {
            InMemoryGateway gateway({std::string(fault) + ":1"});
            OpenLink open(gateway);
            Bytes reply;
            EXPECT_TRUE(open.Transact(kCommandFirmwareVersion, {}, reply)) << fault;
            EXPECT_EQ(reply, (Bytes{1, 5, 12})) << fault;
            EXPECT_EQ(gateway.RequestsReceived(), 2) << fault;
        }
        InMemoryGateway gateway({std::string(fault) + ":3"});
        OpenLink open(gateway);
        Bytes reply;
        EXPECT_FALSE(open.Transact(kCommandFirmwareVersion, {}, reply)) << fault;
        EXPECT_EQ(open.link.GetLastStatus(), kLinkRetriesUsedUp) << fault;
    }
}

TEST(SerialLinkAgainstSimulator, MoreBytesThanAnnouncedEndInATimeOut)
{
    InMemoryGateway gateway({"trailing-bytes"});
    OpenLink open(gateway);
    Bytes reply;
    EXPECT_FALSE(open.Transact(kCommandFirmwareVersion, {}, reply));
    EXPECT_EQ(open.link.GetLastStatus(), kLinkTimedOut);
    EXPECT_EQ(gateway.RequestsReceived(), 1);

    // The stray bytes do not spoil the next exchange.
    EXPECT_TRUE(open.Transact(kCommandFirmwareVersion, {}, reply));
    EXPECT_EQ(reply, (Bytes{1, 5, 12}));
}

TEST(SerialLinkAgainstSimulator, ContinuationResentAfterABadBlockKeepsTheDataInOrder)
{
    GatewaySettings settings;
    settings.ReplyBlock = 1;
    // The second reply block arrives damaged twice.
    InMemoryGateway gateway({"retry-bit:1", "bad-crc:2"}, settings);
    OpenLink open(gateway);
    Bytes reply;
    ASSERT_TRUE(open.Transact(kCommandFirmwareVersion, {}, reply));
    EXPECT_EQ(reply, (Bytes{1, 5, 12}));
    EXPECT_EQ(gateway.RequestsReceived(), 5);
}

// Replies no gateway should send: the link neither overruns a buffer nor
// waits beyond its time-out.
TEST(SerialLinkRobustness, MalformedRepliesFailWithinTheTimeOut)
{
    struct Case {
        const char* Name;
        InMemoryTransport::Responder Reply;
        int Status;
    };
    const Case cases[] = {
        {"error reply under 8 bytes", [](const Bytes&, int) { return Bytes{0x00, 0x05, 0x80, 0x02, 0x01}; },
         kLinkRetriesUsedUp},
        {"length field beyond the buffers",
         [](const Bytes&, int) {
             Bytes frame(1100, 0x55);
             frame[0] = 0x04;
             frame[1] = 0x4C;  // 1100
             return frame;
         },
         kLinkRetriesUsedUp},
        {"length field 0", [](const Bytes&, int) { return Bytes{0x00, 0x00, 0x00, 0x02}; }, kLinkRetriesUsedUp},
        {"partial frame", [](const Bytes&, int) { return Bytes{0x00, 0x0B, 0x00, 0x02, 0x01, 0x01}; },
         kLinkTimedOut},
        {"flood of garbage",
         [](const Bytes&, int) {
             Bytes flood = Sequence(3000, 11);
             flood[0] = 0x00;
             flood[1] = 0x0A;
             return flood;
         },
         kLinkTimedOut},
    };
    for (const Case& c : cases) {
        OpenLink open(c.Reply, 300);
        Bytes reply;
        const Stopwatch watch;
        EXPECT_FALSE(open.Transact(kCommandFirmwareVersion, {}, reply)) << c.Name;
        EXPECT_EQ(open.link.GetLastStatus(), c.Status) << c.Name;
        EXPECT_LE(watch.WallMilliseconds(), 3 * 300 + 200) << c.Name;
    }
}

namespace {

// Every trace line the link reports.
struct TraceLines final : LinkObserver {
    void OnLinkEvent(const LinkTraceEvent& event) override { Lines.push_back(FormatTraceLine(event)); }
    std::vector<std::string> Lines;
};

}  // namespace

TEST(LinkTrace, FramesResendsContinuationsAndTimeOutsAsTheyHappen)
{
    TraceLines trace;
    {
        InMemoryGateway gateway({"bad-crc:1"});
        OpenLink open(gateway);
        open.link.SetObserver(&trace);
        Bytes reply;
        ASSERT_TRUE(open.Transact(kCommandFirmwareVersion, {}, reply));
    }
    ASSERT_EQ(trace.Lines.size(), 4U);
    EXPECT_EQ(trace.Lines[0], "5.000\tTX\t00 08 00 02 01 01 4A 80");
    EXPECT_TRUE(trace.Lines[1].starts_with("5.000\tRX\t00 0B 00 02 01 01 ")) << trace.Lines[1];
    EXPECT_TRUE(trace.Lines[1].ends_with("\tcrc-bad")) << trace.Lines[1];
    EXPECT_EQ(trace.Lines[2], "5.000\tTX\t00 08 00 02 01 01 4A 80\tresend");
    EXPECT_TRUE(trace.Lines[3].starts_with("5.000\tRX\t00 0B 00 02 01 01 01 05 0C ")) << trace.Lines[3];
    EXPECT_EQ(trace.Lines[3].find('\t', 9), std::string::npos) << "a good reply has no notes";

    // A reply in blocks: the continuation request is marked; the error bit
    // and an impossible length are noted on their replies.
    trace.Lines.clear();
    OpenLink blocks([](const Bytes& request, int index) {
        if (index == 0) {
            return FrameOf(request[3], 2, 1, {1});
        }
        return index == 1 ? FrameOf(0x8000 | request[3], 2, 2) : Bytes{0x00, 0x02};
    });
    blocks.link.SetObserver(&trace);
    Bytes reply;
    EXPECT_FALSE(blocks.Transact(kCommandUploadArchive, {}, reply));
    ASSERT_EQ(trace.Lines.size(), 4U);
    EXPECT_TRUE(trace.Lines[2].ends_with("\tcontinuation")) << trace.Lines[2];
    EXPECT_TRUE(trace.Lines[3].ends_with("\terror-bit")) << trace.Lines[3];
    trace.Lines.clear();
    EXPECT_FALSE(blocks.Transact(kCommandUploadArchive, {}, reply));
    EXPECT_TRUE(trace.Lines.back().ends_with("\tRX\t00 02\tinvalid")) << trace.Lines.back();

    // Silence ends in a line without bytes at the time-out.
    trace.Lines.clear();
    OpenLink silent([](const Bytes&, int) { return Bytes{}; }, 400);
    silent.link.SetObserver(&trace);
    EXPECT_FALSE(silent.Transact(kCommandFirmwareVersion, {}, reply));
    EXPECT_EQ(trace.Lines.back(), "406.000\t--\t\ttimeout");
}

TEST(SerialLink, CancelStopsAtTheNextFrameOrWithinASliceOfAWait)
{
    std::atomic<bool> cancel{false};
    // Raised while the third frame of a long download goes out.
    OpenLink frames([&](const Bytes& request, int index) {
        cancel = index == 2;
        return FrameOf(request[3], 1, 1);
    });
    frames.link.SetCancelFlag(&cancel);
    Bytes reply;
    EXPECT_FALSE(frames.Transact(kCommandDownloadArchive, Sequence(5000), reply));
    EXPECT_EQ(frames.link.GetLastStatus(), kLinkCancelled);
    EXPECT_EQ(frames.Frames().size(), 3U) << "stopped before the fourth frame";

    // Raised during a wait for a reply that does not come.
    cancel = false;
    OpenLink silent([&](const Bytes&, int) {
        cancel = true;
        return Bytes{};
    }, 5000);
    silent.link.SetCancelFlag(&cancel);
    const long long start = silent.line.clock.NowMilliseconds();
    EXPECT_FALSE(silent.Transact(kCommandFirmwareVersion, {}, reply));
    EXPECT_EQ(silent.link.GetLastStatus(), kLinkCancelled);
    EXPECT_LE(silent.line.clock.NowMilliseconds() - start, 5 + SerialLink::kCancelSlice);

    // And during a pause.
    EXPECT_FALSE(silent.link.Pause(500));
    EXPECT_EQ(silent.line.clock.NowMilliseconds() - start, 5 + SerialLink::kCancelSlice);
}
