#pragma once

#include "FileChangeMonitor.h"
#include "ProcessRunner.h"
#include "TestFiles.h"

#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

// Long enough for the watcher to settle and scan after a change it should
// not report.
inline constexpr auto kQuietPeriod = 400ms;
inline constexpr auto kReportTimeout = 5s;

struct Report {
    int Reason = -1;
    std::string Path;
    bool operator==(const Report&) const = default;
};

// Records every report; a test may hold the watcher thread inside
// OnFileChanged until it releases it.
class RecordingMonitor : public FileChangeMonitor {
public:
    ~RecordingMonitor() override
    {
        Release();
        StopAndWait();
    }

    void OnFileChanged(int reason, const std::string& path) override
    {
        std::unique_lock guard(lock_);
        reports_.push_back({reason, path});
        ++inside_;
        changed_.notify_all();
        changed_.wait(guard, [this] { return !holding_; });
        --inside_;
    }

    bool WaitForReports(std::size_t count, std::chrono::milliseconds timeout = kReportTimeout)
    {
        std::unique_lock guard(lock_);
        return changed_.wait_for(guard, timeout, [&] { return reports_.size() >= count; });
    }

    std::vector<Report> Reports() const
    {
        std::lock_guard guard(lock_);
        return reports_;
    }

    void Hold()
    {
        std::lock_guard guard(lock_);
        holding_ = true;
    }
    void Release()
    {
        std::lock_guard guard(lock_);
        holding_ = false;
        changed_.notify_all();
    }
    bool WaitUntilInside()
    {
        std::unique_lock guard(lock_);
        return changed_.wait_for(guard, kReportTimeout, [this] { return inside_ > 0; });
    }

private:
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::vector<Report> reports_;
    bool holding_ = false;
    int inside_ = 0;
};

// Polls until the condition holds; false after the report time-out.
template <typename Condition>
bool WaitUntil(Condition condition)
{
    const auto giveUp = std::chrono::steady_clock::now() + kReportTimeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > giveUp) {
            return false;
        }
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

// Sets a file's last-write time to a whole second since the epoch.
inline void SetLastWriteTime(const std::string& path, time_t seconds)
{
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

inline time_t Now() { return ::time(nullptr); }

// Another process appends to the file.
inline void AppendFromOtherProcess(const std::string& path, const std::string& text)
{
    RunProcess({"/bin/sh", "-c", "printf '%s' \"$1\" >> \"$2\"", "sh", text, path});
}
