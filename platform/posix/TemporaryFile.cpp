#include "TemporaryFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

std::optional<std::string> BaseDirectory()
{
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/') {
        struct stat info {};
        if (::stat(runtime, &info) == 0 && S_ISDIR(info.st_mode) && ::access(runtime, W_OK) == 0) {
            return std::string(runtime);
        }
    }
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && *cache == '/') {
        return std::string(cache);
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') {
        return std::string(home) + "/.cache";
    }
    return std::nullopt;
}

bool MakeDirectory(const std::string& path, mode_t mode)
{
    return ::mkdir(path.c_str(), mode) == 0 || errno == EEXIST;
}

}  // namespace

int TemporaryFile::Descriptor() const { return static_cast<int>(file_); }

std::optional<std::string> PrivateTemporaryDirectory()
{
    const auto base = BaseDirectory();
    if (!base || !MakeDirectory(*base, 0700)) {
        return std::nullopt;
    }
    const std::string directory = *base + "/halvex";
    if (!MakeDirectory(directory, 0700)) {
        return std::nullopt;
    }
    struct stat info {};
    if (::lstat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid() ||
        (info.st_mode & 077) != 0) {
        return std::nullopt;
    }
    return directory;
}

std::optional<TemporaryFile> TemporaryFile::Create()
{
    const auto directory = PrivateTemporaryDirectory();
    if (!directory) {
        return std::nullopt;
    }
    std::string path = *directory + "/hxcXXXXXX.tmp";
    const int fd = ::mkostemps(path.data(), static_cast<int>(std::string_view(".tmp").size()), O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    return TemporaryFile(std::move(path), fd);
}

void TemporaryFile::Remove()
{
    if (file_ != kNoFile) {
        ::unlink(path_.c_str());
        ::close(Descriptor());
        file_ = kNoFile;
    }
}

bool TemporaryFile::Write(std::string_view bytes)
{
    if (file_ == kNoFile || ::ftruncate(Descriptor(), 0) != 0) {
        return false;
    }
    off_t offset = 0;
    while (!bytes.empty()) {
        const ssize_t written = ::pwrite(Descriptor(), bytes.data(), bytes.size(), offset);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += written;
    }
    return true;
}

std::optional<std::string> TemporaryFile::Read(std::size_t maxBytes) const
{
    if (file_ == kNoFile) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < maxBytes) {
        const std::size_t want = std::min(sizeof buffer, maxBytes - bytes.size());
        const ssize_t got = ::pread(Descriptor(), buffer, want, static_cast<off_t>(bytes.size()));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}
