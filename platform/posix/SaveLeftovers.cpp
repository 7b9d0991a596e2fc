#include "SaveLeftovers.h"

#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kUniqueCharacters = 6;
// An empty file younger than this may be a save between its creation and its lock.
constexpr time_t kFreshSeconds = 10;

bool IsUniqueCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool IsSaveFileName(const std::string& entry, const std::string& prefix)
{
    if (entry.size() != prefix.size() + kUniqueCharacters || entry.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    for (std::size_t i = prefix.size(); i < entry.size(); ++i) {
        if (!IsUniqueCharacter(entry[i])) {
            return false;
        }
    }
    return true;
}

bool IsFreshAndEmpty(const struct stat& info)
{
    return info.st_size == 0 && std::time(nullptr) - info.st_mtim.tv_sec < kFreshSeconds;
}

// Removes the entry when it is a leftover: our own regular file, not locked by
// a running save.
void RemoveIfLeftover(int directoryFd, const char* entry)
{
    const int fd = ::openat(directoryFd, entry, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && !IsFreshAndEmpty(info) &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        // Still the same file under that name: then it is the leftover we locked.
        struct stat named {};
        if (::fstatat(directoryFd, entry, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_ino == info.st_ino &&
            named.st_dev == info.st_dev) {
            ::unlinkat(directoryFd, entry, 0);
        }
    }
    ::close(fd);
}

}  // namespace

std::string SaveFilePattern(const std::string& directory, const std::string& name)
{
    return directory + "." + name + ".XXXXXX";
}

void RemoveSaveLeftovers(const std::string& directory, const std::string& name)
{
    const std::string prefix = "." + name + ".";
    DIR* listing = ::opendir(directory.empty() ? "." : directory.c_str());
    if (listing == nullptr) {
        return;
    }
    const int directoryFd = ::dirfd(listing);
    while (const dirent* entry = ::readdir(listing)) {
        if (IsSaveFileName(entry->d_name, prefix)) {
            RemoveIfLeftover(directoryFd, entry->d_name);
        }
    }
    ::closedir(listing);
}
