#include "TemporaryFile.h"

#include <utility>

// The lifetime of the object is the same on every system: the file goes
// with it (Remove, in posix/ or windows/), and a move hands it on.
TemporaryFile::~TemporaryFile() { Remove(); }

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : path_(std::exchange(other.path_, {})), file_(std::exchange(other.file_, kNoFile))
{
}

TemporaryFile& TemporaryFile::operator=(TemporaryFile&& other) noexcept
{
    if (this != &other) {
        Remove();
        path_ = std::exchange(other.path_, {});
        file_ = std::exchange(other.file_, kNoFile);
    }
    return *this;
}
