#pragma once

#include "WindowSystem.h"

#include <deque>
#include <iosfwd>
#include <memory>

class ProfileReader;

// The window system of halvex-cli: message boxes become lines of text
// (information boxes on standard output, everything else on standard error),
// questions are answered by --yes, and file dialogs take the paths that the
// command line named, in order.
class TerminalWindowSystem : public WindowSystem {
public:
    // profilePath: the profile file to read; empty: the user's profile.
    TerminalWindowSystem(std::ostream& out, std::ostream& err, bool answerYes, const std::string& profilePath = {});
    ~TerminalWindowSystem() override;

    void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) override;
    bool AskYesNo(const std::string& caption, const std::string& text, MessageIcon icon) override;
    std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) override;
    std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) override;
    void SetStatusText(const std::string& text) override;
    void SetProgress(int percent) override;
    // Settings come from the window program's profile, read without Qt.
    int ReadProfileInt(const std::string& section, const std::string& key, int defaultValue) override;
    std::optional<std::string> ReadProfileString(const std::string& section, const std::string& key) override;

    // The answer of the next file dialog.
    void QueueFileAnswer(const std::string& path);

    // Information boxes go to standard error too, so that standard output
    // holds only the command's data (--json).
    void KeepOutputForData() { informationToErr_ = true; }

private:
    std::optional<std::string> NextFileAnswer();

    std::ostream& out_;
    std::ostream& err_;
    bool answerYes_;
    bool informationToErr_ = false;
    std::unique_ptr<ProfileReader> profile_;
    std::deque<std::string> fileAnswers_;
};
