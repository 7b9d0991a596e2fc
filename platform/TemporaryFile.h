#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The per-user private directory for temporary files, created when missing:
// on POSIX with mode 0700 $XDG_RUNTIME_DIR/halvex, else $XDG_CACHE_HOME/halvex,
// else ~/.cache/halvex; on Windows %LOCALAPPDATA%\Halvex\tmp. No value when
// it cannot be created or (POSIX) is not private to this user (owned by
// another user, or open to others).
std::optional<std::string> PrivateTemporaryDirectory();

// The temporary file of one operation (a download, an upload, a print): made
// anew in the private directory for each operation, named "hxc", six unique
// characters and ".tmp", created exclusively (mode 0600 on POSIX) (so no other
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
    // The file stays open while the object lives: a descriptor on POSIX, a
    // handle on Windows.
    TemporaryFile(std::string path, std::intptr_t file) : path_(std::move(path)), file_(file) {}
    void Remove();
    int Descriptor() const;  // POSIX: the file as a descriptor

    std::string path_;
    static constexpr std::intptr_t kNoFile = -1;
    std::intptr_t file_ = kNoFile;
};
