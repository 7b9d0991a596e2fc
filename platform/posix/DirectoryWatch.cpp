#include "DirectoryWatch.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>

namespace {

// Changes of names, sizes and last-write times in the directory itself.
constexpr std::uint32_t kDirectoryEvents = IN_CREATE | IN_DELETE | IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE |
                                           IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF |
                                           IN_ONLYDIR;

FileTime TimeOf(const statx_timestamp& time) { return {static_cast<long long>(time.tv_sec), static_cast<long>(time.tv_nsec)}; }

}  // namespace

std::optional<FileTimes> ReadFileTimes(const std::string& path)
{
    struct statx info {};
    if (::statx(AT_FDCWD, path.c_str(), 0, STATX_MTIME | STATX_CTIME | STATX_BTIME | STATX_INO, &info) != 0) {
        return std::nullopt;
    }
    FileTimes times;
    times.LastWrite.Time = TimeOf(info.stx_mtime);
    times.LastWrite.Volume = makedev(info.stx_dev_major, info.stx_dev_minor);
    times.LastWrite.FileId = info.stx_ino;
    // File systems without a birth time: the last status change is the closest.
    times.Creation = TimeOf((info.stx_mask & STATX_BTIME) != 0 ? info.stx_btime : info.stx_ctime);
    return times;
}

struct DirectoryChangeWaiter::State {
    int StopSignal = -1;
    int Notifications = -1;
    // Watch descriptor and directory path; two spellings of one directory share a descriptor.
    std::vector<std::pair<int, std::string>> Watches;

    // The directories named by the pending events; false when the descriptor failed.
    bool ReadEvents(std::set<std::string>& changed, bool& overflow) const
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
                        changed.insert(directory);
                    }
                }
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }
};

DirectoryChangeWaiter::DirectoryChangeWaiter() : state_(std::make_unique<State>())
{
    state_->StopSignal = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    state_->Notifications = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
}

DirectoryChangeWaiter::~DirectoryChangeWaiter()
{
    Release();
    if (state_->StopSignal >= 0) {
        ::close(state_->StopSignal);
    }
}

bool DirectoryChangeWaiter::Valid() const { return state_->StopSignal >= 0 && state_->Notifications >= 0; }

bool DirectoryChangeWaiter::Add(const std::string& directory)
{
    if (!Valid()) {
        return false;
    }
    const int descriptor = ::inotify_add_watch(state_->Notifications, directory.c_str(), kDirectoryEvents);
    if (descriptor < 0) {
        return false;
    }
    state_->Watches.emplace_back(descriptor, directory);
    return true;
}

void DirectoryChangeWaiter::Remove(const std::string& directory)
{
    auto& watches = state_->Watches;
    const auto found = std::find_if(watches.begin(), watches.end(),
                                    [&directory](const auto& watch) { return watch.second == directory; });
    if (found == watches.end()) {
        return;
    }
    const int descriptor = found->first;
    watches.erase(found);
    const bool shared = std::any_of(watches.begin(), watches.end(),
                                    [descriptor](const auto& watch) { return watch.first == descriptor; });
    if (!shared && state_->Notifications >= 0) {
        ::inotify_rm_watch(state_->Notifications, descriptor);
    }
}

DirectoryChangeWaiter::Outcome DirectoryChangeWaiter::Wait(int milliseconds, std::set<std::string>& changed,
                                                           bool& overflow)
{
    if (!Valid()) {
        return Outcome::Failed;
    }
    pollfd waitSet[2] = {{state_->StopSignal, POLLIN, 0}, {state_->Notifications, POLLIN, 0}};
    int ready = -1;
    do {
        ready = ::poll(waitSet, 2, milliseconds < 0 ? -1 : milliseconds);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) {
        return Outcome::Failed;
    }
    if (waitSet[0].revents != 0) {
        return Outcome::Stopped;
    }
    if (ready == 0) {
        return Outcome::TimedOut;
    }
    if ((waitSet[1].revents & POLLIN) == 0 || !state_->ReadEvents(changed, overflow)) {
        return Outcome::Failed;
    }
    return Outcome::Changed;
}

void DirectoryChangeWaiter::Release()
{
    if (state_->Notifications >= 0) {
        ::close(state_->Notifications);
        state_->Notifications = -1;
    }
    state_->Watches.clear();
}

void DirectoryChangeWaiter::Stop()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(state_->StopSignal, &one, sizeof one);
}
