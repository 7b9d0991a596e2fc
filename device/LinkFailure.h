#pragma once

#include <string>

// Why the link's last exchange ended as it did, kept beside its status so
// that a failed operation can say why on the line after its own message.
struct LinkFailure {
    int Status = -1;         // the LinkStatus of the last frame exchange
    int ReplyTimeoutMs = 0;  // the time-out that ran out, for kLinkTimedOut
    int BadChecksums = 0;    // replies of the last frame whose checksum was wrong
    bool ConnectionLost = false;  // a network port's connection ended while a reply was awaited
};

// "no reply within 5000 ms", "the connection was closed", "checksum wrong in 3 replies", "the gateway
// reported an error", or "invalid reply" (also when the frames were valid
// but their contents were not what the operation needs); empty for a
// cancelled operation.
std::string LinkFailureReason(const LinkFailure& failure);

// "the gateway reported an error"
inline constexpr const char* kGatewayErrorReason = "the gateway reported an error";
