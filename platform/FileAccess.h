#pragma once

#include <optional>
#include <string>
#include <string_view>

// Reads at most maxBytes of a file; no value when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::string& path, std::size_t maxBytes = SIZE_MAX);

// The same for a file of our own private directory: a symbolic link at path
// is not followed (no value instead).
std::optional<std::string> ReadPrivateFile(const std::string& path, std::size_t maxBytes = SIZE_MAX);

// Writes the bytes as the whole new contents of the file at path. The bytes go
// to a new file beside the old one, which replaces it only after everything is
// written and flushed, so a failed write never destroys the old contents; the
// leftovers of earlier saves of the same file that were killed on their way
// are removed first. A symbolic link at path is followed, the file it names
// is replaced or, when it does not exist yet, created; an existing file keeps
// its permission bits, and one the user may not write is not written. A
// device or pipe at path is written in place. False on any error.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

// Writes the bytes to a file that only this user may use: it is created with
// mode 0600 or truncated, and a symbolic link at path is not followed (the
// open fails instead). False on any error.
bool WritePrivateFile(const std::string& path, std::string_view bytes);

// Lets a write beyond the file size limit (RLIMIT_FSIZE) fail like any other
// write error, instead of ending the program by SIGXFSZ. Each program calls it
// once at start.
void IgnoreFileSizeSignal();
