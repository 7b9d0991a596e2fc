#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The per-user private directory for temporary files, created with mode 0700
// when missing: $XDG_RUNTIME_DIR/halvex, else $XDG_CACHE_HOME/halvex, else
// ~/.cache/halvex. No value when it cannot be created or is not private to
// this user (owned by another user, or open to others).
std::optional<std::string> PrivateTemporaryDirectory();

// The temporary file of one operation (a download, an upload, a print): made
// anew in the private directory for each operation, named "hxc", six unique
// characters and ".tmp", created exclusively with mode 0600 (so no other
// program, no other run of this one and no symbolic link put in its place can
// share it), and deleted when the object goes, on every path out of the
// operation.
class TemporaryFile {
public:
    // No value when the private directory or the file cannot be made.
    static std::optional<TemporaryFile> Create();

    ~TemporaryFile();
    TemporaryFile(TemporaryFile&& other) noexcept;
    TemporaryFile& operator=(TemporaryFile&& other) noexcept;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& Path() const { return path_; }

    // The bytes as the file's whole contents; false on a write error.
    bool Write(std::string_view bytes);
    // The file's contents from its start, at most maxBytes; no value when it
    // cannot be read.
    std::optional<std::string> Read(std::size_t maxBytes = SIZE_MAX) const;

private:
    TemporaryFile(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
    void Remove();

    std::string path_;
    int fd_ = -1;
};
