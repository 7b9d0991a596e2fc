#include "FileAccess.h"

#include "SaveLeftovers.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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
        return false;
    }
    const bool ok = WriteAll(fd, bytes);
    return (::close(fd) == 0) && ok;
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
        ::close(fd);
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
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path, std::size_t maxBytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    return ReadOpenFile(fd, maxBytes);
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes)
{
    const auto target = ResolveTarget(path);
    if (!target) {
        return false;
    }
    const std::string directory = DirectoryOf(*target);
    const std::string name = target->substr(directory.size());
    if (name.empty()) {
        return false;
    }
    struct stat info {};
    const bool existed = ::stat(target->c_str(), &info) == 0;
    if (existed && S_ISDIR(info.st_mode)) {
        return false;
    }
    if (existed && !S_ISREG(info.st_mode)) {
        return WriteInPlace(*target, bytes);
    }
    // A file the user may not write is not written, although the folder
    // would let a rename replace it.
    if (existed && ::faccessat(AT_FDCWD, target->c_str(), W_OK, AT_EACCESS) != 0) {
        return false;
    }
    RemoveSaveLeftovers(directory, name);

    std::string temporary = SaveFilePattern(directory, name);
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    // Held until the file has its final name: a locked file is no leftover.
    bool ok = ::flock(fd, LOCK_EX) == 0;
    const mode_t mode = existed ? (info.st_mode & 07777) : NewFileMode();
    ok = ok && WriteAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = ok && ::rename(temporary.c_str(), target->c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
    }
    ok = (::close(fd) == 0) && ok;
    return ok;
}

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }
