#include "OpenRefusal.h"

#include <cerrno>
#include <system_error>

namespace {

// The group that serial devices are given to on Debian.
constexpr const char* kSerialGroup = "dialout";

std::string JoinGroup(const std::string& group)
{
    return "sudo usermod -aG " + group + " $USER, then log out and log in again.";
}

std::string AccessHint(const std::string& devicePath, const std::string& group, bool groupMayUse)
{
    // Joining the root group would give far more than the port; a group
    // without read and write permission gives nothing.
    if (groupMayUse && !group.empty() && group != "root") {
        return "To use it, join the group " + group + ": " + JoinGroup(group);
    }
    return std::string("To use it, give it to the group ") + kSerialGroup + " (sudo chgrp " + kSerialGroup + " " +
           devicePath + "; sudo chmod g+rw " + devicePath + ") and join that group: " + JoinGroup(kSerialGroup);
}

}  // namespace

OpenResult DescribeOpenRefusal(int error, const std::string& devicePath, const std::string& group, bool groupMayUse)
{
    OpenResult result;
    result.SystemText = std::generic_category().message(error);
    switch (error) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
        result.Failure = OpenFailure::NotFound;
        break;
    case EACCES:
    case EPERM:
        result.Failure = OpenFailure::AccessDenied;
        result.Hint = AccessHint(devicePath, group, groupMayUse);
        break;
    case EIO:
        result.Failure = OpenFailure::NoHardware;
        result.Hint = kNoPortHardwareHint;
        break;
    case EBUSY:
        result.Failure = OpenFailure::InUse;
        result.Hint = kPortInUseHint;
        break;
    default:
        result.Failure = OpenFailure::Other;
        break;
    }
    return result;
}
