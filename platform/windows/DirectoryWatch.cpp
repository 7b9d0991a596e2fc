#include "DirectoryWatch.h"

#include "WideText.h"

#include <algorithm>
#include <chrono>

namespace {

// Changes of names, sizes and last-write times of the directory's entries.
constexpr DWORD kDirectoryChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                    FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE |
                                    FILE_NOTIFY_CHANGE_CREATION | FILE_NOTIFY_CHANGE_ATTRIBUTES;

// 100-nanosecond intervals since 1601 as seconds and nanoseconds since 1970.
FileTime TimeOf(const FILETIME& time)
{
    constexpr long long kUnixEpoch = 116444736000000000LL;
    const long long ticks =
        static_cast<long long>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) -
        kUnixEpoch;
    long long seconds = ticks / 10000000;
    long long rest = ticks % 10000000;
    if (rest < 0) {
        rest += 10000000;
        --seconds;
    }
    return {seconds, static_cast<long>(rest * 100)};
}

// One directory under watch: its handle, the overlapped read of its changes
// and the event that read signals.
struct Watch {
    std::string Path;
    HANDLE Directory = INVALID_HANDLE_VALUE;
    OVERLAPPED Overlapped{};
    alignas(DWORD) char Buffer[16384];

    ~Watch()
    {
        if (Directory != INVALID_HANDLE_VALUE) {
            ::CancelIoEx(Directory, &Overlapped);
            DWORD ignored = 0;
            ::GetOverlappedResult(Directory, &Overlapped, &ignored, TRUE);
            ::CloseHandle(Directory);
        }
        if (Overlapped.hEvent != nullptr) {
            ::CloseHandle(Overlapped.hEvent);
        }
    }

    bool Listen()
    {
        ::ResetEvent(Overlapped.hEvent);
        return ::ReadDirectoryChangesW(Directory, Buffer, sizeof Buffer, FALSE, kDirectoryChanges, nullptr,
                                       &Overlapped, nullptr) != 0;
    }
};

}  // namespace

std::optional<FileTimes> ReadFileTimes(const std::string& path)
{
    const auto info = FileInformation(path);
    if (!info) {
        return std::nullopt;
    }
    FileTimes times;
    times.LastWrite.Time = TimeOf(info->ftLastWriteTime);
    times.LastWrite.Volume = info->dwVolumeSerialNumber;
    times.LastWrite.FileId = (static_cast<std::uint64_t>(info->nFileIndexHigh) << 32) | info->nFileIndexLow;
    times.Creation = TimeOf(info->ftCreationTime);
    return times;
}

struct DirectoryChangeWaiter::State {
    HANDLE StopEvent = nullptr;
    std::vector<std::unique_ptr<Watch>> Watches;
};

DirectoryChangeWaiter::DirectoryChangeWaiter() : state_(std::make_unique<State>())
{
    state_->StopEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

DirectoryChangeWaiter::~DirectoryChangeWaiter()
{
    Release();
    if (state_->StopEvent != nullptr) {
        ::CloseHandle(state_->StopEvent);
    }
}

bool DirectoryChangeWaiter::Valid() const { return state_->StopEvent != nullptr; }

bool DirectoryChangeWaiter::Add(const std::string& directory)
{
    // WaitForMultipleObjects takes at most 64 handles, one being the stop event.
    if (!Valid() || state_->Watches.size() >= MAXIMUM_WAIT_OBJECTS - 1) {
        return false;
    }
    auto watch = std::make_unique<Watch>();
    watch->Path = directory;
    watch->Overlapped.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    watch->Directory = ::CreateFileW(WideFromUtf8(directory).c_str(), FILE_LIST_DIRECTORY,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (watch->Overlapped.hEvent == nullptr || watch->Directory == INVALID_HANDLE_VALUE || !watch->Listen()) {
        return false;
    }
    state_->Watches.push_back(std::move(watch));
    return true;
}

void DirectoryChangeWaiter::Remove(const std::string& directory)
{
    auto& watches = state_->Watches;
    watches.erase(std::remove_if(watches.begin(), watches.end(),
                                 [&directory](const auto& watch) { return watch->Path == directory; }),
                  watches.end());
}

DirectoryChangeWaiter::Outcome DirectoryChangeWaiter::Wait(int milliseconds, std::set<std::string>& changed,
                                                           bool& overflow)
{
    if (!Valid()) {
        return Outcome::Failed;
    }
    std::vector<HANDLE> handles{state_->StopEvent};
    for (const auto& watch : state_->Watches) {
        handles.push_back(watch->Overlapped.hEvent);
    }
    const DWORD ready = ::WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE,
                                                 milliseconds < 0 ? INFINITE : static_cast<DWORD>(milliseconds));
    if (ready == WAIT_TIMEOUT) {
        return Outcome::TimedOut;
    }
    if (ready == WAIT_OBJECT_0) {
        return Outcome::Stopped;
    }
    if (ready >= WAIT_OBJECT_0 + handles.size()) {
        return Outcome::Failed;
    }
    // Every watch whose read has completed, not only the first one signalled.
    for (const auto& watch : state_->Watches) {
        if (::WaitForSingleObject(watch->Overlapped.hEvent, 0) != WAIT_OBJECT_0) {
            continue;
        }
        DWORD bytes = 0;
        if (!::GetOverlappedResult(watch->Directory, &watch->Overlapped, &bytes, FALSE) || bytes == 0) {
            // The buffer overflowed (or the read failed): changes were lost.
            overflow = true;
        }
        changed.insert(watch->Path);
        if (!watch->Listen()) {
            return Outcome::Failed;
        }
    }
    return Outcome::Changed;
}

void DirectoryChangeWaiter::Release() { state_->Watches.clear(); }

void DirectoryChangeWaiter::Stop()
{
    if (state_->StopEvent != nullptr) {
        ::SetEvent(state_->StopEvent);
    }
}
