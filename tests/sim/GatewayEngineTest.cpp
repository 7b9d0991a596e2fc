#include "ArchiveBlock.h"
#include "Checksum.h"
#include "ConfigFile.h"
#include "DeviceImage.h"
#include "DiagnosticsRecord.h"
#include "GatewayEngine.h"
#include "LinkTestSupport.h"
#include "SampleConfigurations.h"
#include "ScriptedWindowSystem.h"
#include "UploadReply.h"

#include <gtest/gtest.h>

namespace {

struct Reply {
    bool Silent = false;
    LinkMessage Message;
    Bytes Frame;
};

// The engine of a gateway, driven frame by frame.
class Gateway {
public:
    explicit Gateway(std::vector<std::string> faults = {}, int replyBlock = 292)
    {
        for (const std::string& fault : faults) {
            faults_.Add(fault);
        }
        settings_.ReplyBlock = replyBlock;
        engine_ = std::make_unique<GatewayEngine>(store_, faults_, settings_);
    }

    Reply Request(std::uint16_t command, int count = 1, int number = 1, const Bytes& data = {})
    {
        LinkMessage request;
        request.Command = command;
        request.BlockCount = static_cast<std::uint8_t>(count);
        request.BlockNumber = static_cast<std::uint8_t>(number);
        request.DataLength = static_cast<std::uint16_t>(data.size());
        std::copy(data.begin(), data.end(), request.Data.begin());
        Reply reply;
        reply.Frame = engine_->HandleRequest(request);
        reply.Silent = reply.Frame.empty();
        if (reply.Frame.size() >= 8) {
            DecodeFrame(reply.Frame.data(), static_cast<int>(reply.Frame.size()), reply.Message);
        }
        return reply;
    }

    // Sends the data in blocks of 290 bytes and returns the last reply; every
    // reply before it must be an acknowledgement without data.
    Reply Send(std::uint8_t code, const Bytes& data)
    {
        const int blocks = static_cast<int>((data.size() + 289) / 290);
        Reply reply;
        for (int block = 1; block <= blocks; ++block) {
            const auto start = data.begin() + (block - 1) * 290;
            const auto end = block == blocks ? data.end() : start + 290;
            reply = Request(code, blocks, block, Bytes(start, end));
            if (block < blocks) {
                EXPECT_EQ(reply.Message.DataLength, 0);
                EXPECT_EQ(reply.Message.BlockCount, 1);
            }
        }
        return reply;
    }

    // Fetches a whole reply with continuation requests.
    Bytes Fetch(std::uint8_t code)
    {
        Reply reply = Request(code);
        Bytes data;
        for (;;) {
            EXPECT_EQ(reply.Message.Command, code);
            data.insert(data.end(), reply.Message.Data.begin(), reply.Message.Data.begin() + reply.Message.DataLength);
            if (reply.Message.BlockNumber >= reply.Message.BlockCount) {
                return data;
            }
            reply = Request(kContinuationFlag | code);
        }
    }

    GatewayStore& Store() { return store_; }

private:
    GatewayStore store_;
    FaultQueue faults_;
    GatewaySettings settings_;
    std::unique_ptr<GatewayEngine> engine_;
};

std::uint8_t Answer(const Reply& reply)
{
    EXPECT_EQ(reply.Message.DataLength, 1);
    return reply.Message.Data[0];
}

bool IsErrorReply(const Reply& reply) { return (reply.Message.Command & 0x8000) != 0; }

// The download block: image, text length, text, checksum in front.
Bytes DownloadBlock(const ConfigTemplate& config, int formatVersion = kFormatVersion200)
{
    ScriptedWindowSystem ui;
    Bytes block(65536);
    const int length = BuildDeviceImage(config, block.data(), 65536, formatVersion, {2024, 2, 29}, ui);
    const std::string text = ConfigFileText(config, false);
    block.resize(static_cast<std::size_t>(length) + 2);
    block[static_cast<std::size_t>(length)] = static_cast<std::uint8_t>(text.size() >> 8);
    block[static_cast<std::size_t>(length) + 1] = static_cast<std::uint8_t>(text.size());
    block.insert(block.end(), text.begin(), text.end());
    PutBlockChecksum(block.data(), block.size());
    return block;
}

}  // namespace

TEST(GatewayEngine, KeepsADownloadedConfigurationAndHandsItBack)
{
    Gateway gateway({}, 100);
    const ConfigTemplate config = TwoSlaveConfiguration();
    EXPECT_TRUE(IsErrorReply(gateway.Request(kCommandUploadConfiguration))) << "nothing kept yet";

    EXPECT_EQ(Answer(gateway.Send(kCommandDownloadConfiguration, DownloadBlock(config))), 0x00);
    const std::string text = ConfigFileText(config, false);
    EXPECT_EQ(gateway.Store().Text(), text);

    const Bytes data = gateway.Fetch(kCommandUploadConfiguration);
    const auto reply = DecodeUploadReply(data.data(), data.size());
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->InUse[0], (Bytes{1, 1, 0, 1}));
    EXPECT_EQ(reply->InUse[1], (Bytes{1}));
    EXPECT_EQ(reply->InUse[2], (Bytes{1}));
    EXPECT_EQ(reply->InUse[3], (Bytes{0}));
    EXPECT_EQ(reply->InUse[4], (Bytes{1}));
    EXPECT_EQ(reply->Text, text);

    // The 1.02 layout is understood as well.
    EXPECT_EQ(Answer(gateway.Send(kCommandDownloadConfiguration, DownloadBlock(config, kFormatVersion102))), 0x00);
    const Bytes old = gateway.Fetch(kCommandUploadConfiguration);
    EXPECT_EQ(DecodeUploadReply(old.data(), old.size())->InUse[3], (Bytes{0}));
}

TEST(GatewayEngine, RefusesBadDownloadBlocks)
{
    Gateway gateway;
    const Bytes good = DownloadBlock(TwoSlaveConfiguration());

    Bytes badChecksum = good;
    badChecksum[0] ^= 0x01;
    EXPECT_EQ(Answer(gateway.Send(kCommandDownloadConfiguration, badChecksum)), 0xFF);

    Bytes unknownLayout = good;
    unknownLayout[2] = 0x03;
    PutBlockChecksum(unknownLayout.data(), unknownLayout.size());
    EXPECT_EQ(Answer(gateway.Send(kCommandDownloadConfiguration, unknownLayout)), 0xFE);

    Bytes wrongTextLength = good;
    wrongTextLength.push_back('x');
    PutBlockChecksum(wrongTextLength.data(), wrongTextLength.size());
    EXPECT_EQ(Answer(gateway.Send(kCommandDownloadConfiguration, wrongTextLength)), 0xFF);
    EXPECT_FALSE(gateway.Store().HasConfiguration());

    // A block out of sequence ends the download with the error bit.
    EXPECT_TRUE(IsErrorReply(gateway.Request(kCommandDownloadConfiguration, 3, 2, Bytes(290, 0))));
}

TEST(GatewayEngine, RefusesBadArchiveBlocks)
{
    Gateway gateway;
    EXPECT_TRUE(IsErrorReply(gateway.Request(kCommandUploadArchive))) << "no archive kept yet";
    const Bytes bytes = Sequence(1000, 3);
    Bytes damaged = EncodeArchiveBlock("site.zip", bytes.data(), bytes.size());
    damaged[700] ^= 0x10;
    EXPECT_EQ(Answer(gateway.Send(kCommandDownloadArchive, damaged)), 0xFF);
    const Bytes empty = EncodeArchiveBlock("empty.zip", nullptr, 0);
    EXPECT_EQ(Answer(gateway.Send(kCommandDownloadArchive, empty)), 0xFF);
    EXPECT_FALSE(gateway.Store().HasArchive());
}

TEST(GatewayEngine, DiagnosticsFollowTheConfigurationAndAreCleared)
{
    Gateway gateway;
    Bytes record = gateway.Fetch(kCommandUploadDiagnostics);
    ASSERT_EQ(record.size(), DiagnosticsLayout::kLengthWithPollCycle);
    auto decoded = DecodeDiagnostics(record.data(), record.size());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->ErrorType, "Configuration Empty");
    EXPECT_EQ(decoded->Status, "OK");

    gateway.Send(kCommandDownloadConfiguration, DownloadBlock(TwoSlaveConfiguration()));
    gateway.Store().Diagnostics()[DiagnosticsLayout::kCounters + 3] = 42;
    gateway.Store().Diagnostics()[DiagnosticsLayout::kEvents] = 7;
    record = gateway.Fetch(kCommandUploadDiagnostics);
    decoded = DecodeDiagnostics(record.data(), record.size());
    EXPECT_EQ(decoded->ErrorType, "Configuration OK");
    EXPECT_EQ(decoded->FileRevision, "2.00");
    EXPECT_EQ(decoded->DownloadDate, "2024-02-29");
    EXPECT_EQ(decoded->Transmitted, 42u);

    const Reply cleared = gateway.Request(kCommandClearDiagnostics);
    EXPECT_FALSE(IsErrorReply(cleared));
    record = gateway.Fetch(kCommandUploadDiagnostics);
    decoded = DecodeDiagnostics(record.data(), record.size());
    EXPECT_EQ(decoded->Transmitted, 0u);
    EXPECT_EQ(decoded->EventBuffer[0], 0);
    EXPECT_EQ(decoded->FileRevision, "2.00") << "clearing keeps the configuration's data";
}

TEST(GatewayEngine, RequestsItCannotServeGetTheErrorBit)
{
    Gateway gateway;
    EXPECT_TRUE(IsErrorReply(gateway.Request(kContinuationFlag | kCommandFirmwareVersion)));
    EXPECT_TRUE(IsErrorReply(gateway.Request(99)));
    EXPECT_TRUE(IsErrorReply(gateway.Request(0x4000 | kCommandFirmwareVersion)));
    const Reply firmware = gateway.Request(kCommandFirmwareVersion);
    EXPECT_EQ(Bytes(firmware.Message.Data.begin(), firmware.Message.Data.begin() + 3), (Bytes{1, 5, 12}));
}

TEST(GatewayEngine, FaultsDamageTheNextRepliesInOrder)
{
    Gateway gateway({"bad-crc", "silence", "error-bit", "retry-bit", "short", "oversize-length",
                     "zero-block-count", "trailing-bytes"});
    const Bytes good = FrameOf(kCommandFirmwareVersion, 1, 1, {1, 5, 12});

    Reply reply = gateway.Request(kCommandFirmwareVersion);
    EXPECT_EQ(Bytes(reply.Frame.begin(), reply.Frame.end() - 2), Bytes(good.begin(), good.end() - 2));
    EXPECT_FALSE(HasValidChecksum(reply.Frame.data(), static_cast<int>(reply.Frame.size())));

    // A resend of the request that got the damaged reply is not a new request.
    EXPECT_TRUE(gateway.Request(kCommandFirmwareVersion).Silent);

    reply = gateway.Request(kCommandFirmwareVersion);
    EXPECT_EQ(reply.Frame[2], 0x80);
    EXPECT_TRUE(HasValidChecksum(reply.Frame.data(), static_cast<int>(reply.Frame.size())));

    reply = gateway.Request(kCommandFirmwareVersion);
    EXPECT_EQ(reply.Frame[2], 0x40);
    EXPECT_TRUE(HasValidChecksum(reply.Frame.data(), static_cast<int>(reply.Frame.size())));

    reply = gateway.Request(kCommandFirmwareVersion);
    EXPECT_EQ(reply.Frame, FrameOf(kCommandFirmwareVersion, 1, 1, {1}));

    reply = gateway.Request(kCommandFirmwareVersion);
    EXPECT_EQ(FrameLengthField(reply.Frame.data()), 0xFFFF);

    reply = gateway.Request(kCommandFirmwareVersion);
    EXPECT_EQ(reply.Frame[4], 0);
    EXPECT_TRUE(HasValidChecksum(reply.Frame.data(), static_cast<int>(reply.Frame.size())));

    reply = gateway.Request(kCommandFirmwareVersion);
    EXPECT_EQ(reply.Frame.size(), good.size() + 4);
    EXPECT_EQ(Bytes(reply.Frame.begin(), reply.Frame.begin() + 11), good);

    EXPECT_EQ(gateway.Request(kCommandFirmwareVersion).Frame, good);
}

TEST(GatewayEngine, ResentFinalBlockIsNotTakenTwice)
{
    Gateway gateway({"bad-crc"});
    const Bytes bytes = Sequence(20);
    const Bytes block = EncodeArchiveBlock("small.zip", bytes.data(), bytes.size());
    const Reply damaged = gateway.Request(kCommandDownloadArchive, 1, 1, block);
    EXPECT_FALSE(HasValidChecksum(damaged.Frame.data(), static_cast<int>(damaged.Frame.size())));
    EXPECT_EQ(Answer(gateway.Request(kCommandDownloadArchive, 1, 1, block)), 0x00);
    // Without the damage the same request is a new download, taken again.
    EXPECT_EQ(Answer(gateway.Request(kCommandDownloadArchive, 1, 1, block)), 0x00);
    EXPECT_EQ(gateway.Store().Archive(), bytes);
}

TEST(FaultQueue, ParsesKindsAndCounts)
{
    FaultQueue queue;
    EXPECT_TRUE(queue.Add("bad-crc:2"));
    EXPECT_TRUE(queue.Add("silence"));
    EXPECT_FALSE(queue.Add("noise"));
    EXPECT_FALSE(queue.Add("silence:0"));
    EXPECT_FALSE(queue.Add("silence:x"));
    EXPECT_FALSE(queue.Add("silence:2x"));
    EXPECT_EQ(queue.Next(), FaultKind::BadCrc);
    EXPECT_EQ(queue.Next(), FaultKind::BadCrc);
    EXPECT_EQ(queue.Next(), FaultKind::Silence);
    EXPECT_EQ(queue.Next(), FaultKind::None);
}
