#include "DocumentWatcher.h"

DocumentWatcher::DocumentWatcher(DocumentHost& ui) : ui_(ui) {}

DocumentWatcher::~DocumentWatcher() { StopAndWait(); }

void DocumentWatcher::WatchDocument(const std::string& path)
{
    std::string previous;
    {
        std::lock_guard guard(pathLock_);
        previous = path_;
        path_ = path;
    }
    if (!previous.empty() && previous != path) {
        Unwatch(previous);
    }
    // Also for the kept path: a file reported gone is no longer watched, and
    // what the document has just read from it is no change to ask about.
    if (!path.empty()) {
        AcknowledgeChanges(path);
        Watch(path);
    }
}

std::string DocumentWatcher::WatchedPath() const
{
    std::lock_guard guard(pathLock_);
    return path_;
}

void DocumentWatcher::OnFileChanged(int reason, const std::string& path)
{
    (void)reason;
    if (path != WatchedPath()) {
        return;
    }
    const bool reload = ui_.AskYesNo(kReloadCaption, ReloadQuestion(path), MessageIcon::Warning);
    AcknowledgeChanges(path);
    if (reload) {
        ui_.PostFileChange();
    }
}

std::string ReloadQuestion(const std::string& path)
{
    return "File " + path + " has been changed by another application.\nDo you want to reload it?";
}
