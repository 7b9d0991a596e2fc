#include "DeviceNode.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {

std::string GroupName(gid_t gid)
{
    group entry{};
    group* found = nullptr;
    std::vector<char> buffer(4096);
    if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        return found->gr_name;
    }
    return std::to_string(gid);
}

}  // namespace

DeviceNodeAccess ReadDeviceNodeAccess(const std::string& path)
{
    DeviceNodeAccess access;
    struct stat node {};
    if (::stat(path.c_str(), &node) != 0) {
        return access;
    }
    access.Exists = true;
    // The effective identity, as open() uses it (access() would ask for the real one).
    access.MayReadAndWrite = ::faccessat(AT_FDCWD, path.c_str(), R_OK | W_OK, AT_EACCESS) == 0;
    access.Group = GroupName(node.st_gid);
    access.GroupMayUse = (node.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    return access;
}
