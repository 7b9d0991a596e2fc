#pragma once

#include <string>
#include <vector>

class ProfileStore;

// The recently used files, most recent first, at most four, kept in the
// profile ("Recent File List"/"File1".."File4") after every change.
class RecentFileList {
public:
    explicit RecentFileList(ProfileStore& profile, int capacity = 4);

    void Load();
    // Puts the path first; an earlier entry of the same path goes.
    void Add(const std::string& path);
    void Remove(int index);

    const std::vector<std::string>& Paths() const { return paths_; }

private:
    void Save();

    ProfileStore& profile_;
    int capacity_;
    std::vector<std::string> paths_;
};
