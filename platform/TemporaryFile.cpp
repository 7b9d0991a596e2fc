#include "TemporaryFile.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

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

std::optional<std::string> TemporaryFilePath()
{
    const auto directory = PrivateTemporaryDirectory();
    if (!directory) {
        return std::nullopt;
    }
    return *directory + "/" + kTemporaryFileName;
}
