#include "FileChangeMonitor.h"

#include "PathText.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <set>
#include <system_error>

namespace {

// The longest a report is put off by a file that keeps changing.
constexpr auto kLongestSettle = std::chrono::milliseconds(1000);

WatchedFile DescribeFile(const std::string& path)
{
    WatchedFile file;
    file.Path = path;
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(PathFromUtf8(path), error);
    if (error) {
        full = PathFromUtf8(path);
    }
    file.Directory = Utf8FromPath(full.parent_path());
    file.Name = Utf8FromPath(full.filename());
    return file;
}

std::string FullPath(const WatchedFile& file) { return Utf8FromPath(PathFromUtf8(file.Directory) / PathFromUtf8(file.Name)); }

std::optional<FileStamp> ReadLastWrite(const WatchedFile& file)
{
    const auto times = ReadFileTimes(FullPath(file));
    if (!times) {
        return std::nullopt;
    }
    return times->LastWrite;
}

}  // namespace

struct FileChangeMonitor::ThreadContext {
    DirectoryChangeWaiter Waiter;
    std::vector<std::string> Watched;  // the directories the waiter has
    // Set under the collections' lock, so that a scan either finishes its check
    // of a file before Stop returns or sees the request.
    bool StopRequested = false;
    std::atomic<bool> Ended{false};
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
    if (!context->Waiter.Valid()) {
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
            if (context->Waiter.Add(directory.Path)) {
                context->Watched.push_back(directory.Path);
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
    current_->Waiter.Stop();
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
    for (;;) {
        DropUnwatchedDirectories(*context);
        std::set<std::string> signalled;
        bool overflow = false;
        if (context->Waiter.Wait(-1, signalled, overflow) != DirectoryChangeWaiter::Outcome::Changed) {
            break;
        }
        if (!SettleEvents(*context, signalled, overflow)) {
            break;
        }
        if (!ScanSignalled(*context, signalled, overflow)) {
            break;
        }
    }
    // The system's watching resources are limited per user; the stop signal
    // stays until Stop can no longer use it.
    context->Waiter.Release();
    context->Ended = true;
}

void FileChangeMonitor::SetQuietPeriod(std::chrono::milliseconds period)
{
    quietMilliseconds_ = static_cast<int>(period.count());
}

bool FileChangeMonitor::SettleEvents(ThreadContext& context, std::set<std::string>& signalled, bool& overflow)
{
    const auto giveUp = std::chrono::steady_clock::now() + kLongestSettle;
    while (std::chrono::steady_clock::now() < giveUp) {
        switch (context.Waiter.Wait(quietMilliseconds_.load(), signalled, overflow)) {
        case DirectoryChangeWaiter::Outcome::Changed:
            break;
        case DirectoryChangeWaiter::Outcome::TimedOut:
            return true;
        case DirectoryChangeWaiter::Outcome::Stopped:
        case DirectoryChangeWaiter::Outcome::Failed:
            return false;
        }
    }
    return true;
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
            const auto times = ReadFileTimes(FullPath(file));
            if (!times) {
                reason = kFileGone;
            } else if (!file.Stored) {
                file.Stored = FileStamp{times->Creation, times->LastWrite.Volume, times->LastWrite.FileId};
                reason = kFileAppeared;
            } else if (file.Stored->Time < times->LastWrite.Time || !file.Stored->SameFile(times->LastWrite)) {
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
    auto dropped = std::stable_partition(context.Watched.begin(), context.Watched.end(), stillWatched);
    for (auto it = dropped; it != context.Watched.end(); ++it) {
        context.Waiter.Remove(*it);
    }
    context.Watched.erase(dropped, context.Watched.end());
}
