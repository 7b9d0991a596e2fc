#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

// A point in time as a file system keeps it.
struct FileTime {
    long long Seconds = 0;
    long Nanoseconds = 0;

    bool operator==(const FileTime&) const = default;
    auto operator<=>(const FileTime&) const = default;
};

// The time a file was last written, and which file it was (its volume and
// its number there): a file replaced by renaming another one over it is
// another file even when its time is not later.
struct FileStamp {
    FileTime Time;
    std::uint64_t Volume = 0;
    std::uint64_t FileId = 0;

    bool SameFile(const FileStamp& other) const { return Volume == other.Volume && FileId == other.FileId; }
};

struct FileTimes {
    FileStamp LastWrite;
    FileTime Creation;  // where the file system keeps none, the last status change
};

// No value when the file cannot be found.
std::optional<FileTimes> ReadFileTimes(const std::string& path);

// Waits for changes in a set of directories (names, sizes, last-write times
// of their entries), or for a stop signal from another thread. On Linux an
// inotify instance and an eventfd under poll(); on Windows
// ReadDirectoryChangesW on each directory and an event, under
// WaitForMultipleObjects.
class DirectoryChangeWaiter {
public:
    DirectoryChangeWaiter();
    ~DirectoryChangeWaiter();
    DirectoryChangeWaiter(const DirectoryChangeWaiter&) = delete;
    DirectoryChangeWaiter& operator=(const DirectoryChangeWaiter&) = delete;

    // False when the system gave no means to wait: nothing will be reported.
    bool Valid() const;

    // Starts watching a directory (an absolute path); false when it cannot
    // be watched. Two spellings of one directory may share one watch.
    bool Add(const std::string& directory);
    // Stops watching it.
    void Remove(const std::string& directory);

    enum class Outcome { Changed, TimedOut, Stopped, Failed };
    // Waits at most the milliseconds (forever when negative) for changes;
    // on Changed the directories changed since the last wait are added to
    // `changed`, and `overflow` is set when changes were lost, so that every
    // directory must be looked at.
    Outcome Wait(int milliseconds, std::set<std::string>& changed, bool& overflow);

    // Ends every watch and frees what the system holds for them (inotify
    // instances are limited per user); Stop still works afterwards.
    void Release();

    // From any thread, also while another one waits: the running and every
    // later Wait return Stopped. Everything else is for one thread at a time.
    void Stop();

private:
    struct State;
    std::unique_ptr<State> state_;
};
