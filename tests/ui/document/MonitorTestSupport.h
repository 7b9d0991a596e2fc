#pragma once

#include "FileChangeMonitor.h"
#ifndef _WIN32
#include "ProcessRunner.h"
#endif
#include "TestFiles.h"

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

// Long enough for the watcher to settle and scan after a change it should not report.
inline constexpr auto kQuietPeriod = 400ms;
inline constexpr auto kReportTimeout = 5s;

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

struct Report {
    int Reason = -1;
    std::string Path;
    bool operator==(const Report&) const = default;
};

// Records every report; Hold keeps the watcher thread inside OnFileChanged until Release.
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
        released_.wait(guard, [this] { return !holding_; });
        --inside_;
    }

    std::vector<Report> Reports() const
    {
        std::lock_guard guard(lock_);
        return reports_;
    }
    bool WaitForReports(std::size_t count)
    {
        return WaitUntil([&] { return Reports().size() >= count; });
    }
    bool WaitUntilInside()
    {
        return WaitUntil([&] {
            std::lock_guard guard(lock_);
            return inside_ > 0;
        });
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
        released_.notify_all();
    }

private:
    mutable std::mutex lock_;
    std::condition_variable released_;
    std::vector<Report> reports_;
    bool holding_ = false;
    int inside_ = 0;
};

inline std::time_t Now() { return std::time(nullptr); }

// Sets a file's last-write time to a whole second since the epoch.
inline void SetLastWriteTime(const std::string& path, std::time_t seconds)
{
    std::error_code ignored;
    std::filesystem::last_write_time(
        path, std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(seconds)), ignored);
}

// A file whose last-write time lies in the past, so that any write moves it on.
inline std::string OldFile(const TemporaryDirectory& directory, const std::string& name)
{
    const std::string path = directory.File(name);
    WriteTextFile(path, "old");
    SetLastWriteTime(path, Now() - 100);
    return path;
}

// Another process appends to the file (on Windows, where no shell is at
// hand, this process does).
inline void AppendFromOtherProcess(const std::string& path, const std::string& text)
{
#ifdef _WIN32
    std::ofstream(path, std::ios::binary | std::ios::app) << text;
#else
    RunProcess({"/bin/sh", "-c", "printf '%s' \"$1\" >> \"$2\"", "sh", text, path});
#endif
}
