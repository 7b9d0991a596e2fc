#include "FileAccess.h"

#include "SaveLeftovers.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

thread_local std::string lastFileError;

// Keeps the system's reason for the error and reports the failure.
bool Failed(int error)
{
    lastFileError = std::strerror(error);
    return false;
}

bool Succeeded()
{
    lastFileError.clear();
    return true;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

constexpr int kMaxLinkDepth = 40;

std::string DirectoryOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file a save should write: where the chain of symbolic links at the path
// ends, also when no file is there yet (a dangling link is written through,
// not replaced). No value for a chain that does not end.
std::optional<std::string> ResolveTarget(const std::string& path)
{
    std::string current = path;
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(current.c_str(), link.data(), link.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= link.size()) {
            return std::nullopt;
        }
        link.resize(static_cast<std::size_t>(length));
        current = link.front() == '/' ? link : DirectoryOf(current) + link;
    }
    return std::nullopt;
}

// Writes into a device or a pipe, which cannot be replaced by renaming.
bool WriteInPlace(const std::string& target, std::string_view bytes)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        return Failed(errno);
    }
    const bool written = WriteAll(fd, bytes);
    const int error = errno;
    if (!written) {
        ::close(fd);
        return Failed(error);
    }
    return ::close(fd) == 0 ? Succeeded() : Failed(errno);
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

namespace {

std::optional<std::string> ReadOpenFile(int fd, std::size_t maxBytes)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        Failed(error);
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < maxBytes) {
        const std::size_t want = std::min(sizeof buffer, maxBytes - bytes.size());
        const ssize_t got = ::read(fd, buffer, want);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            ::close(fd);
            Failed(error);
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    Succeeded();
    return bytes;
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path, std::size_t maxBytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        Failed(errno);
        return std::nullopt;
    }
    return ReadOpenFile(fd, maxBytes);
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes)
{
    const auto target = ResolveTarget(path);
    if (!target) {
        return Failed(ELOOP);
    }
    const std::string directory = DirectoryOf(*target);
    const std::string name = target->substr(directory.size());
    if (name.empty()) {
        return Failed(EISDIR);
    }
    struct stat info {};
    const bool existed = ::stat(target->c_str(), &info) == 0;
    if (existed && S_ISDIR(info.st_mode)) {
        return Failed(EISDIR);
    }
    if (existed && !S_ISREG(info.st_mode)) {
        return WriteInPlace(*target, bytes);
    }
    // A file the user may not write is not written, although the folder
    // would let a rename replace it.
    if (existed && ::faccessat(AT_FDCWD, target->c_str(), W_OK, AT_EACCESS) != 0) {
        return Failed(errno);
    }
    RemoveSaveLeftovers(directory, name);

    std::string temporary = SaveFilePattern(directory, name);
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return Failed(errno);
    }
    // Held until the file has its final name: a locked file is no leftover.
    const mode_t mode = existed ? (info.st_mode & 07777) : NewFileMode();
    const bool ok = ::flock(fd, LOCK_EX) == 0 && WriteAll(fd, bytes) && ::fchmod(fd, mode) == 0 &&
                    ::fsync(fd) == 0 && ::rename(temporary.c_str(), target->c_str()) == 0;
    const int error = errno;
    if (!ok) {
        ::unlink(temporary.c_str());
        ::close(fd);
        return Failed(error);
    }
    return ::close(fd) == 0 ? Succeeded() : Failed(errno);
}

std::string LastFileError() { return lastFileError; }

std::optional<FileIdentity> IdentifyFile(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    constexpr std::int64_t kNanosecondsPerSecond = 1000000000;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                        static_cast<std::int64_t>(info.st_size),
                        static_cast<std::int64_t>(info.st_mtim.tv_sec) * kNanosecondsPerSecond + info.st_mtim.tv_nsec};
}

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }
