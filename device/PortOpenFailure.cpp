#include "PortOpenFailure.h"

#include <cerrno>
#include <system_error>

namespace {

// The group that serial devices are given to on Debian.
constexpr const char* kSerialGroup = "dialout";

std::string JoinGroup(const std::string& group)
{
    return "sudo usermod -aG " + group + " $USER, then log out and log in again.";
}

std::string AccessHint(const std::string& devicePath, const OpenResult& result)
{
    // Joining the root group would give far more than the port; a group
    // without read and write permission gives nothing.
    if (result.GroupMayUse && !result.Group.empty() && result.Group != "root") {
        return "To use it, join the group " + result.Group + ": " + JoinGroup(result.Group);
    }
    return std::string("To use it, give it to the group ") + kSerialGroup + " (sudo chgrp " + kSerialGroup + " " +
           devicePath + "; sudo chmod g+rw " + devicePath + ") and join that group: " + JoinGroup(kSerialGroup);
}

}  // namespace

std::string PortOpenFailureText(const std::string& devicePath, const OpenResult& result)
{
    std::string text = std::string(kUnableToOpenPortMessage) + "\n" + devicePath + ": " +
                       (result.Reason.empty() ? std::generic_category().message(result.Error) : result.Reason);
    if (!result.Reason.empty()) {
        return text;
    }
    switch (result.Error) {
    case EACCES:
    case EPERM:
        return text + "\n" + AccessHint(devicePath, result);
    case EIO:
        return text + "\nNo serial port hardware answers at this device.";
    case EBUSY:
        return text + "\nAnother program is using it.";
    default:
        return text;
    }
}
