#include "AppendFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

AppendResult Failed(const std::string& path, int error)
{
    return {false, path + ": " + std::strerror(error)};
}

// Creates the missing directories of path's parent, each private to the user.
bool MakeParentDirectories(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (parent.empty()) {
        return true;
    }
    std::filesystem::path partial;
    for (const auto& part : parent) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return true;
}

}  // namespace

AppendResult AppendWholeRecord(const std::string& path, std::string_view bytes)
{
    if (!MakeParentDirectories(path)) {
        return Failed(path, errno);
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return Failed(path, errno);
    }
    ssize_t written = -1;
    do {
        written = ::write(fd, bytes.data(), bytes.size());
    } while (written < 0 && errno == EINTR);
    const int writeError = errno;
    const bool flushed = written >= 0 && ::fdatasync(fd) == 0;
    const int flushError = errno;
    ::close(fd);
    if (written < 0) {
        return Failed(path, writeError);
    }
    if (static_cast<std::size_t>(written) != bytes.size()) {
        return {false, path + ": only part of the record was written"};
    }
    if (!flushed) {
        return Failed(path, flushError);
    }
    return {true, {}};
}
