#pragma once

#include <string>
#include <string_view>

// The outcome of an append; Reason says why it failed (the path and the
// system's reason).
struct AppendResult {
    bool Written = false;
    std::string Reason;
};

// Appends the bytes to the file at path with one write on a descriptor
// opened for appending, then flushes them to the disk. Appends of several
// processes at once therefore never mix their bytes: each record lands whole,
// one after the other. The file is created (mode 0600) and its directory
// too (mode 0700, with the missing directories above it) when they are not
// there.
AppendResult AppendWholeRecord(const std::string& path, std::string_view bytes);
