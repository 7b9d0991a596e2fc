#pragma once

#include "FileChangeMonitor.h"
#include "DocumentHost.h"

#include <mutex>
#include <string>

inline constexpr const char* kReloadCaption = "Reload?";
inline constexpr const char* kFileMissingCaption = "File Missing";

// What the user agreed to in the last answered question about the file.
// KeepUnsaved: a file that is gone is not saved again; the configuration is
// then in no file.
enum class ConfirmedFileAction { None, Reload, SaveAgain, KeepUnsaved };

// The document's watcher: watches the file the document shows and, when it
// is changed or replaced on disk, asks whether to reload it; when it is gone
// (moved away or deleted), whether to save the configuration to it again. On
// Yes, and on No for a file that is gone, it posts "FILECHANGE"; the document
// then does what was agreed, on the user-interface thread.
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

    // The action agreed to since the last call; None when there is none.
    ConfirmedFileAction TakeConfirmedAction();

private:
    DocumentHost& ui_;
    mutable std::mutex pathLock_;
    std::string path_;
    ConfirmedFileAction confirmed_ = ConfirmedFileAction::None;
};

// "File <path> has been changed by another application.\nDo you want to reload it?"
std::string ReloadQuestion(const std::string& path);
// "File <path> has been moved or deleted by another application.\nDo you want
// to save the configuration to it again?"
std::string FileGoneQuestion(const std::string& path);
