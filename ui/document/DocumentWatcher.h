#pragma once

#include "FileChangeMonitor.h"
#include "DocumentHost.h"

#include <mutex>
#include <string>

inline constexpr const char* kReloadCaption = "Reload?";

// The document's watcher: watches the file the document shows and, when it
// is changed, deleted or replaced on disk, asks whether to reload it. On Yes
// it posts "FILECHANGE"; the reload itself runs on the user-interface thread.
class DocumentWatcher : public FileChangeMonitor {
public:
    explicit DocumentWatcher(DocumentHost& ui);
    ~DocumentWatcher() override;

    // Watches this path instead of the one kept so far, taking the file's
    // present state as seen (also when it is the kept path, read again); an
    // empty path only stops watching the kept one.
    void WatchDocument(const std::string& path);
    std::string WatchedPath() const;

    // Asked on the watcher thread, which waits for the answer; the answer
    // covers the changes made while the question was open.
    void OnFileChanged(int reason, const std::string& path) override;

private:
    DocumentHost& ui_;
    mutable std::mutex pathLock_;
    std::string path_;
};

// "File <path> has been changed by another application.\nDo you want to reload it?"
std::string ReloadQuestion(const std::string& path);
