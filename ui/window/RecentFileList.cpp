#include "RecentFileList.h"

#include "ProfileStore.h"

#include <algorithm>

namespace {

const char* const kSection = "Recent File List";

std::string EntryKey(int index) { return "File" + std::to_string(index + 1); }

}  // namespace

RecentFileList::RecentFileList(ProfileStore& profile, int capacity) : profile_(profile), capacity_(capacity) {}

void RecentFileList::Load()
{
    paths_.clear();
    for (int i = 0; i < capacity_; ++i) {
        const auto path = profile_.ReadString(kSection, EntryKey(i));
        if (path && !path->empty() && std::find(paths_.begin(), paths_.end(), *path) == paths_.end()) {
            paths_.push_back(*path);
        }
    }
}

void RecentFileList::Add(const std::string& path)
{
    if (path.empty()) {
        return;
    }
    std::erase(paths_, path);
    paths_.insert(paths_.begin(), path);
    if (static_cast<int>(paths_.size()) > capacity_) {
        paths_.resize(static_cast<std::size_t>(capacity_));
    }
    Save();
}

void RecentFileList::Remove(int index)
{
    if (index < 0 || index >= static_cast<int>(paths_.size())) {
        return;
    }
    paths_.erase(paths_.begin() + index);
    Save();
}

void RecentFileList::Save()
{
    for (int i = 0; i < capacity_; ++i) {
        if (i < static_cast<int>(paths_.size())) {
            profile_.WriteString(kSection, EntryKey(i), paths_[static_cast<std::size_t>(i)]);
        } else {
            profile_.Remove(kSection, EntryKey(i));
        }
    }
}
