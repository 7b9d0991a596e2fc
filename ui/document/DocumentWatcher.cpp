#include "DocumentWatcher.h"

#include <utility>

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
    if (path != WatchedPath()) {
        return;
    }
    // A file that is gone cannot be reloaded: the configuration stays, and
    // the user may put it back where it was. Kept where it is, it is in no
    // file any more: the document counts as modified.
    const bool gone = reason == kFileGone;
    const bool yes = gone ? ui_.AskAboutFileChange(kFileMissingCaption, FileGoneQuestion(path))
                          : ui_.AskAboutFileChange(kReloadCaption, ReloadQuestion(path));
    AcknowledgeChanges(path);
    if (yes || gone) {
        {
            std::lock_guard guard(pathLock_);
            confirmed_ = !gone ? ConfirmedFileAction::Reload
                               : (yes ? ConfirmedFileAction::SaveAgain : ConfirmedFileAction::KeepUnsaved);
        }
        ui_.PostFileChange();
    }
}

ConfirmedFileAction DocumentWatcher::TakeConfirmedAction()
{
    std::lock_guard guard(pathLock_);
    return std::exchange(confirmed_, ConfirmedFileAction::None);
}

std::string ReloadQuestion(const std::string& path)
{
    return "File " + path + " has been changed by another application.\nDo you want to reload it?";
}

std::string FileGoneQuestion(const std::string& path)
{
    return "File " + path +
           " has been moved or deleted by another application.\nDo you want to save the configuration to it again?";
}
