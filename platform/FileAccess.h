#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Reads at most maxBytes of a file; no value when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::string& path, std::size_t maxBytes = SIZE_MAX);

// Writes the bytes as the whole new contents of the file at path. The bytes go
// to a new file beside the old one, which replaces it only after everything is
// written and flushed, so a failed write never destroys the old contents; the
// leftovers of earlier saves of the same file that were killed on their way
// are removed first. A symbolic link at path is followed, the file it names
// is replaced or, when it does not exist yet, created; an existing file keeps
// its permission bits, and one the user may not write is not written. A
// device or pipe at path is written in place. False on any error.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

// Why the last ReadFileBytes or ReplaceFileContents of this thread failed, in
// the system's words ("No such file or directory"); empty after a success.
// Like errno, it is kept beside the boolean until the next call.
std::string LastFileError();

// Which file is at a path and in what state: the file itself (device and
// inode), its size and the time it was last written. A file another program
// wrote or replaced since has another identity.
struct FileIdentity {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::int64_t Size = 0;
    std::int64_t ModifiedNanoseconds = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at path (a symbolic link followed); no value when
// there is none.
std::optional<FileIdentity> IdentifyFile(const std::string& path);

// Lets a write beyond the file size limit (RLIMIT_FSIZE) fail like any other
// write error, instead of ending the program by SIGXFSZ. Each program calls it
// once at start.
void IgnoreFileSizeSignal();
