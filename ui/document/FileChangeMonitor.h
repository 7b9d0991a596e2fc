#pragma once

#include "DirectoryWatch.h"

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

// Why OnFileChanged is called.
inline constexpr int kFileModified = 0;  // the last-write time moved on, or the file was replaced
inline constexpr int kFileGone = 1;      // the file cannot be found any more; it is no longer watched
inline constexpr int kFileAppeared = 2;  // it had no valid time; the time is now its creation time

struct WatchedFile {
    std::string Path;       // as given to Watch; reported as such
    std::string Directory;  // absolute; the current directory for a bare name
    std::string Name;
    // The time it was last seen with, and which file it was: a file replaced
    // by renaming another one over it counts as changed even when the new
    // file's last-write time is not later. No value: not valid.
    std::optional<FileStamp> Stored;
};

struct WatchedDirectory {
    std::string Path;
    int UseCount = 0;
};

// Watches a set of files for changes made on disk and reports each change
// through the virtual OnFileChanged, called on the watcher thread.
//
// One watcher thread waits on a DirectoryChangeWaiter holding one watch per
// watched directory, and on its stop signal. Every thread has a waiter of its
// own, so Stop never waits: a thread that is
// busy (scanning, or inside OnFileChanged waiting for the user) sees its own
// signal when it is done, while Start has already set up the next thread. A
// stopped thread starts no further reports.
//
// After a wake-up the thread waits until its directories have been quiet for
// a moment, so that the steps of one save (truncate and write; or write a new
// file, move the old one away and the new one in) are seen as one change.
//
// The collections are guarded by one lock, which the thread holds while it
// checks a file, never while it waits or while OnFileChanged runs.
class FileChangeMonitor {
public:
    FileChangeMonitor();
    virtual ~FileChangeMonitor();

    FileChangeMonitor(const FileChangeMonitor&) = delete;
    FileChangeMonitor& operator=(const FileChangeMonitor&) = delete;

    // Refreshes the stored time of every watched file and starts the watcher
    // thread; nothing when running.
    void Start();
    // Signals the watcher thread to end, without waiting for it.
    void Stop();
    // Adds a file; a new directory restarts a running thread so that it waits
    // on that directory too.
    void Watch(const std::string& path);
    void Unwatch(const std::string& path);

    // Called on the watcher thread; empty here.
    virtual void OnFileChanged(int reason, const std::string& path);

    // How long the directories must stay quiet after a change before the
    // files are checked (50 ms unless set); takes effect at the next wake-up.
    void SetQuietPeriod(std::chrono::milliseconds period);

    bool IsRunning() const;
    bool IsWatched(const std::string& path) const;
    std::vector<WatchedDirectory> Directories() const;
    // Watcher threads that have not ended yet: after a restart the old one
    // may still finish its scan.
    int LiveThreadCount() const;

protected:
    // Stops and waits for every watcher thread to end. A class that overrides
    // OnFileChanged calls it in its destructor, before its own members go.
    void StopAndWait();

    // Takes the file's present last-write time as seen, so that what changed
    // up to now is not reported. For an OnFileChanged that waits for the
    // user: the answer covers the changes made while the question was open.
    void AcknowledgeChanges(const std::string& path);

private:
    struct ThreadContext;

    void StartLocked();
    void StopLocked();
    void JoinEndedThreads();

    // The watcher thread. The scans return false when the thread is to end.
    void RunThread(const std::shared_ptr<ThreadContext>& context);
    void DropUnwatchedDirectories(ThreadContext& context);
    bool SettleEvents(ThreadContext& context, std::set<std::string>& signalled, bool& overflow);
    bool ScanSignalled(const ThreadContext& context, const std::set<std::string>& signalled, bool overflow);
    bool ScanDirectory(const ThreadContext& context, const std::string& directory);

    std::atomic<int> quietMilliseconds_{50};
    mutable std::mutex lock_;  // watched files and directories
    std::map<std::string, WatchedFile> files_;
    std::vector<WatchedDirectory> directories_;

    mutable std::mutex threadLock_;  // running flag and threads
    bool running_ = false;
    std::shared_ptr<ThreadContext> current_;
    struct RunningThread {
        std::thread Thread;
        std::shared_ptr<ThreadContext> Context;
    };
    std::vector<RunningThread> threads_;
};
