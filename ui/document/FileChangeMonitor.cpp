#include "FileChangeMonitor.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <set>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/sysmacros.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

// Changes of names, sizes and last-write times in the directory itself.
constexpr std::uint32_t kDirectoryEvents = IN_CREATE | IN_DELETE | IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE |
                                           IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF |
                                           IN_ONLYDIR;

// The longest a report is put off by a file that keeps changing.
constexpr auto kLongestSettle = std::chrono::milliseconds(1000);

std::string CurrentDirectory()
{
    char buffer[PATH_MAX];
    if (::getcwd(buffer, sizeof buffer) == nullptr) {
        return ".";
    }
    return buffer;
}

WatchedFile DescribeFile(const std::string& path)
{
    WatchedFile file;
    file.Path = path;
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        file.Directory = CurrentDirectory();
        file.Name = path;
        return file;
    }
    file.Directory = slash == 0 ? "/" : path.substr(0, slash);
    file.Name = path.substr(slash + 1);
    if (file.Directory.front() != '/') {
        file.Directory = CurrentDirectory() + "/" + file.Directory;
    }
    return file;
}

std::string FullPath(const WatchedFile& file)
{
    return file.Directory == "/" ? "/" + file.Name : file.Directory + "/" + file.Name;
}

struct FileTimes {
    FileStamp LastWrite;
    timespec Creation{};
};

// No value when the file cannot be found.
std::optional<FileTimes> ReadFileTimes(const WatchedFile& file)
{
    struct statx info {};
    if (::statx(AT_FDCWD, FullPath(file).c_str(), 0, STATX_MTIME | STATX_CTIME | STATX_BTIME | STATX_INO, &info) !=
        0) {
        return std::nullopt;
    }
    FileTimes times;
    times.LastWrite.Time = {static_cast<time_t>(info.stx_mtime.tv_sec), static_cast<long>(info.stx_mtime.tv_nsec)};
    times.LastWrite.Device = makedev(info.stx_dev_major, info.stx_dev_minor);
    times.LastWrite.Inode = static_cast<ino_t>(info.stx_ino);
    // File systems without a birth time: the last status change is the closest.
    const statx_timestamp& creation = (info.stx_mask & STATX_BTIME) != 0 ? info.stx_btime : info.stx_ctime;
    times.Creation = {static_cast<time_t>(creation.tv_sec), static_cast<long>(creation.tv_nsec)};
    return times;
}

std::optional<FileStamp> ReadLastWrite(const WatchedFile& file)
{
    const auto times = ReadFileTimes(file);
    if (!times) {
        return std::nullopt;
    }
    return times->LastWrite;
}

bool Earlier(const timespec& a, const timespec& b)
{
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

bool SameFile(const FileStamp& a, const FileStamp& b) { return a.Device == b.Device && a.Inode == b.Inode; }

bool WaitReadable(pollfd* fds, nfds_t count, int timeoutMilliseconds)
{
    for (;;) {
        const int ready = ::poll(fds, count, timeoutMilliseconds);
        if (ready >= 0) {
            return ready > 0;
        }
        if (errno != EINTR) {
            return false;
        }
    }
}

}  // namespace

struct FileChangeMonitor::ThreadContext {
    int StopSignal = -1;
    int Notifications = -1;
    // Watch descriptor and directory path; two spellings of one directory share a descriptor.
    std::vector<std::pair<int, std::string>> Watches;
    // Set under the collections' lock, so that a scan either finishes its check
    // of a file before Stop returns or sees the request.
    bool StopRequested = false;
    std::atomic<bool> Ended{false};

    ThreadContext() = default;
    ThreadContext(const ThreadContext&) = delete;
    ThreadContext& operator=(const ThreadContext&) = delete;
    ~ThreadContext()
    {
        if (StopSignal >= 0) {
            ::close(StopSignal);
        }
        if (Notifications >= 0) {
            ::close(Notifications);
        }
    }

    // The directories named by the pending events; false when the descriptor failed.
    bool ReadEvents(std::set<std::string>& signalled, bool& overflow) const
    {
        alignas(inotify_event) char buffer[16384];
        for (;;) {
            const ssize_t got = ::read(Notifications, buffer, sizeof buffer);
            if (got < 0) {
                return errno == EAGAIN || errno == EINTR;
            }
            if (got == 0) {
                return false;
            }
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if ((event->mask & IN_Q_OVERFLOW) != 0) {
                    overflow = true;
                }
                for (const auto& [descriptor, directory] : Watches) {
                    if (descriptor == event->wd) {
                        signalled.insert(directory);
                    }
                }
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }
};

FileChangeMonitor::FileChangeMonitor() = default;

FileChangeMonitor::~FileChangeMonitor() { StopAndWait(); }

void FileChangeMonitor::OnFileChanged(int reason, const std::string& path)
{
    (void)reason;
    (void)path;
}

void FileChangeMonitor::Start()
{
    std::lock_guard threads(threadLock_);
    StartLocked();
}

void FileChangeMonitor::Stop()
{
    std::lock_guard threads(threadLock_);
    StopLocked();
}

void FileChangeMonitor::StartLocked()
{
    if (running_) {
        return;
    }
    JoinEndedThreads();
    auto context = std::make_shared<ThreadContext>();
    context->StopSignal = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    context->Notifications = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (context->StopSignal < 0 || context->Notifications < 0) {
        return;
    }
    {
        // The watches are in place before Start returns: a change right after
        // it is not missed.
        std::lock_guard collections(lock_);
        for (auto& [path, file] : files_) {
            file.Stored = ReadLastWrite(file);
        }
        for (const WatchedDirectory& directory : directories_) {
            const int descriptor = ::inotify_add_watch(context->Notifications, directory.Path.c_str(), kDirectoryEvents);
            if (descriptor >= 0) {
                context->Watches.emplace_back(descriptor, directory.Path);
            }
        }
    }
    try {
        threads_.push_back({std::thread([this, context] { RunThread(context); }), context});
    } catch (const std::system_error&) {
        return;
    }
    current_ = context;
    running_ = true;
}

void FileChangeMonitor::StopLocked()
{
    if (!running_) {
        return;
    }
    running_ = false;
    {
        std::lock_guard collections(lock_);
        current_->StopRequested = true;
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(current_->StopSignal, &one, sizeof one);
    current_.reset();
}

void FileChangeMonitor::StopAndWait()
{
    std::vector<RunningThread> ending;
    {
        std::lock_guard threads(threadLock_);
        StopLocked();
        ending.swap(threads_);
    }
    for (RunningThread& thread : ending) {
        thread.Thread.join();
    }
}

void FileChangeMonitor::JoinEndedThreads()
{
    auto ended = std::stable_partition(threads_.begin(), threads_.end(),
                                       [](const RunningThread& thread) { return !thread.Context->Ended; });
    for (auto it = ended; it != threads_.end(); ++it) {
        it->Thread.join();
    }
    threads_.erase(ended, threads_.end());
}

void FileChangeMonitor::Watch(const std::string& path)
{
    std::lock_guard threads(threadLock_);
    bool newDirectory = false;
    {
        std::lock_guard collections(lock_);
        if (files_.count(path) != 0) {
            return;
        }
        WatchedFile file = DescribeFile(path);
        file.Stored = ReadLastWrite(file);
        auto directory = std::find_if(directories_.begin(), directories_.end(),
                                      [&file](const WatchedDirectory& entry) { return entry.Path == file.Directory; });
        if (directory != directories_.end()) {
            ++directory->UseCount;
        } else {
            directories_.push_back({file.Directory, 1});
            newDirectory = true;
        }
        files_.emplace(path, std::move(file));
    }
    if (newDirectory && running_) {
        StopLocked();
        StartLocked();
    }
}

void FileChangeMonitor::Unwatch(const std::string& path)
{
    std::lock_guard collections(lock_);
    const auto file = files_.find(path);
    if (file == files_.end()) {
        return;
    }
    auto directory = std::find_if(directories_.begin(), directories_.end(), [&file](const WatchedDirectory& entry) {
        return entry.Path == file->second.Directory;
    });
    if (directory != directories_.end() && --directory->UseCount <= 0) {
        directories_.erase(directory);
    }
    files_.erase(file);
}

bool FileChangeMonitor::IsRunning() const
{
    std::lock_guard threads(threadLock_);
    return running_;
}

bool FileChangeMonitor::IsWatched(const std::string& path) const
{
    std::lock_guard collections(lock_);
    return files_.count(path) != 0;
}

std::vector<WatchedDirectory> FileChangeMonitor::Directories() const
{
    std::lock_guard collections(lock_);
    return directories_;
}

int FileChangeMonitor::LiveThreadCount() const
{
    std::lock_guard threads(threadLock_);
    return static_cast<int>(std::count_if(threads_.begin(), threads_.end(),
                                          [](const RunningThread& thread) { return !thread.Context->Ended; }));
}

void FileChangeMonitor::RunThread(const std::shared_ptr<ThreadContext>& context)
{
    pollfd waitSet[2] = {{context->StopSignal, POLLIN, 0}, {context->Notifications, POLLIN, 0}};
    for (;;) {
        DropUnwatchedDirectories(*context);
        if (!WaitReadable(waitSet, 2, -1) || waitSet[0].revents != 0 || (waitSet[1].revents & POLLIN) == 0) {
            break;
        }
        std::set<std::string> signalled;
        bool overflow = false;
        if (!SettleEvents(*context, signalled, overflow)) {
            break;
        }
        if (!ScanSignalled(*context, signalled, overflow)) {
            break;
        }
    }
    // inotify instances are limited per user; the stop signal stays open
    // until Stop can no longer write to it.
    ::close(context->Notifications);
    context->Notifications = -1;
    context->Ended = true;
}

void FileChangeMonitor::SetQuietPeriod(std::chrono::milliseconds period)
{
    quietMilliseconds_ = static_cast<int>(period.count());
}

bool FileChangeMonitor::SettleEvents(ThreadContext& context, std::set<std::string>& signalled, bool& overflow)
{
    pollfd waitSet[2] = {{context.StopSignal, POLLIN, 0}, {context.Notifications, POLLIN, 0}};
    const auto giveUp = std::chrono::steady_clock::now() + kLongestSettle;
    for (;;) {
        if (!context.ReadEvents(signalled, overflow)) {
            return false;
        }
        if (std::chrono::steady_clock::now() >= giveUp || !WaitReadable(waitSet, 2, quietMilliseconds_.load())) {
            return true;
        }
        if (waitSet[0].revents != 0) {
            return false;
        }
    }
}

bool FileChangeMonitor::ScanSignalled(const ThreadContext& context, const std::set<std::string>& signalled,
                                      bool overflow)
{
    std::vector<std::string> directories;
    {
        std::lock_guard collections(lock_);
        for (const WatchedDirectory& directory : directories_) {
            if (overflow || signalled.count(directory.Path) != 0) {
                directories.push_back(directory.Path);
            }
        }
    }
    for (const std::string& directory : directories) {
        if (!ScanDirectory(context, directory)) {
            return false;
        }
    }
    return true;
}

bool FileChangeMonitor::ScanDirectory(const ThreadContext& context, const std::string& directory)
{
    std::vector<std::string> paths;
    {
        std::lock_guard collections(lock_);
        for (const auto& [path, file] : files_) {
            if (file.Directory == directory) {
                paths.push_back(path);
            }
        }
    }
    for (const std::string& path : paths) {
        int reason = -1;
        {
            std::lock_guard collections(lock_);
            if (context.StopRequested) {
                return false;
            }
            const auto entry = files_.find(path);
            if (entry == files_.end()) {
                continue;
            }
            WatchedFile& file = entry->second;
            const auto times = ReadFileTimes(file);
            if (!times) {
                reason = kFileGone;
            } else if (!file.Stored) {
                file.Stored = FileStamp{times->Creation, times->LastWrite.Device, times->LastWrite.Inode};
                reason = kFileAppeared;
            } else if (Earlier(file.Stored->Time, times->LastWrite.Time) || !SameFile(*file.Stored, times->LastWrite)) {
                file.Stored = times->LastWrite;
                reason = kFileModified;
            }
        }
        if (reason < 0) {
            continue;
        }
        OnFileChanged(reason, path);
        if (reason == kFileGone) {
            Unwatch(path);
        }
    }
    return true;
}

void FileChangeMonitor::AcknowledgeChanges(const std::string& path)
{
    std::lock_guard collections(lock_);
    const auto entry = files_.find(path);
    if (entry == files_.end()) {
        return;
    }
    if (const auto stamp = ReadLastWrite(entry->second)) {
        entry->second.Stored = stamp;
    }
}

void FileChangeMonitor::DropUnwatchedDirectories(ThreadContext& context)
{
    std::lock_guard collections(lock_);
    auto stillWatched = [this](const std::string& path) {
        return std::any_of(directories_.begin(), directories_.end(),
                           [&path](const WatchedDirectory& entry) { return entry.Path == path; });
    };
    auto dropped = std::stable_partition(context.Watches.begin(), context.Watches.end(),
                                         [&](const auto& watch) { return stillWatched(watch.second); });
    for (auto it = dropped; it != context.Watches.end(); ++it) {
        const int descriptor = it->first;
        const bool shared = std::any_of(context.Watches.begin(), dropped,
                                        [descriptor](const auto& watch) { return watch.first == descriptor; });
        if (!shared) {
            ::inotify_rm_watch(context.Notifications, descriptor);
        }
    }
    context.Watches.erase(dropped, context.Watches.end());
}
