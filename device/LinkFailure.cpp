#include "LinkFailure.h"

#include "NumberText.h"
#include "SerialLink.h"

std::string LinkFailureReason(const LinkFailure& failure)
{
    switch (failure.Status) {
    case kLinkCancelled:
        return {};
    case kLinkTimedOut:
        if (failure.ConnectionLost) {
            return "the connection was closed";
        }
        return "no reply within " + FormatInt(failure.ReplyTimeoutMs) + " ms";
    case kLinkDeviceError:
        return kGatewayErrorReason;
    case kLinkRetriesUsedUp:
        if (failure.BadChecksums > 0) {
            return "checksum wrong in " + FormatInt(failure.BadChecksums) +
                   (failure.BadChecksums == 1 ? " reply" : " replies");
        }
        return "invalid reply";
    default:
        return "invalid reply";
    }
}
