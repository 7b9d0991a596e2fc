#pragma once

#include "GatewayFaults.h"
#include "GatewayStore.h"
#include "LinkFrame.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

struct GatewaySettings {
    std::array<std::uint8_t, 3> Firmware{1, 5, 12};  // major, minor, build
    int ReplyBlock = 292;                             // data bytes per reply block
};

// The gateway's side of the protocol: takes one request frame at a time and
// gives the bytes of its reply frame.
//
// Commands: 2 firmware version; 16 configuration download (blocks assembled,
// each acknowledged; the last answered 0x00, 0xFE for an unsupported layout
// or 0xFF for a bad block); 17 configuration upload; 64 diagnostics; 65 clear
// diagnostics; 80 archive download; 81 archive upload. A long reply goes out
// in blocks, one per continuation request. A request the gateway cannot
// serve is answered with the error bit.
//
// The tool sends a frame again when it could not take the reply in, and a
// resent continuation request goes out as a plain request. So after a reply
// frame that was damaged on purpose (bad checksum, length or block count), a
// plain request equal to the previous one is answered with the same reply
// again rather than taken as a new command.
class GatewayEngine {
public:
    GatewayEngine(GatewayStore& store, FaultQueue& faults, const GatewaySettings& settings);

    // A complete request with a valid checksum; returns the bytes to send,
    // none for silence.
    std::vector<std::uint8_t> HandleRequest(const LinkMessage& request);
    // A complete request frame as it came off the line: no value (and no
    // answer) when its checksum is bad, else the bytes to send.
    std::optional<std::vector<std::uint8_t>> HandleFrame(const std::vector<std::uint8_t>& frame);

private:
    struct PendingReply {
        std::uint8_t Code = 0;
        std::vector<std::uint8_t> Data;
        int BlockCount = 0;
        int SentBlocks = 0;
    };
    struct Assembly {
        std::uint8_t Code = 0;
        int BlockCount = 0;
        int ReceivedBlocks = 0;
        std::vector<std::uint8_t> Data;
    };

    bool IsResend(const LinkMessage& request) const;
    LinkMessage Answer(const LinkMessage& request);
    LinkMessage ReceiveBlock(const LinkMessage& request);
    LinkMessage StartReply(std::uint8_t code, std::vector<std::uint8_t> data);
    LinkMessage NextBlock();
    LinkMessage Continue(std::uint8_t code);
    LinkMessage ErrorReply(std::uint8_t code);
    std::uint8_t TakeConfiguration(const std::vector<std::uint8_t>& block);
    std::uint8_t TakeArchive(const std::vector<std::uint8_t>& block);
    std::optional<std::vector<std::uint8_t>> UploadData() const;
    std::vector<std::uint8_t> DiagnosticsData();
    std::vector<std::uint8_t> Encode(const LinkMessage& reply);

    GatewayStore& store_;
    FaultQueue& faults_;
    GatewaySettings settings_;
    PendingReply pending_;
    Assembly assembly_;
    bool lastReplyDamaged_ = false;
    LinkMessage lastRequest_;
    LinkMessage lastReply_;
};
