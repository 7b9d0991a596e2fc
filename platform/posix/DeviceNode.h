#pragma once

#include <string>

// What the file system says about a device node: whether this process may
// open it for reading and writing, and the group that owns it. A serial
// device is usually opened through membership of its group.
struct DeviceNodeAccess {
    bool Exists = false;
    bool MayReadAndWrite = false;  // for this process's effective user and groups
    std::string Group;             // the owning group's name, or its number when it has none
    bool GroupMayUse = false;      // the group's read and write permission bits are both set
};

DeviceNodeAccess ReadDeviceNodeAccess(const std::string& path);
