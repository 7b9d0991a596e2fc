#pragma once

#include "WindowSystem.h"

#include <string>
#include <vector>

// A message an operation showed.
struct RecordedMessage {
    std::string Caption;
    std::string Text;
    MessageIcon Icon = MessageIcon::None;
};

// A window system that keeps every message box an operation shows. With an
// inner window system it passes everything on to it as well (the status
// line, the bar, questions, dialogs, the profile), so that the operations
// log learns an operation's last message while the user sees it as always.
// Without one it stands alone for a line of a batch run on its own thread:
// questions are answered by answerYes, dialogs cancelled, nothing shown.
class MessageRecorder : public WindowSystem {
public:
    explicit MessageRecorder(WindowSystem* inner = nullptr, bool answerYes = false)
        : inner_(inner), answerYes_(answerYes)
    {
    }

    void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) override;
    bool AskYesNo(const std::string& caption, const std::string& text, MessageIcon icon) override;
    std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) override;
    std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) override;
    std::optional<std::string> ChooseFolder(const std::string& title) override;
    void SetStatusText(const std::string& text) override;
    void SetProgress(int percent) override;
    int ReadProfileInt(const std::string& section, const std::string& key, int defaultValue) override;
    void WriteProfileInt(const std::string& section, const std::string& key, int value) override;
    std::optional<std::string> ReadProfileString(const std::string& section, const std::string& key) override;
    void WriteProfileString(const std::string& section, const std::string& key, const std::string& value) override;
    std::optional<std::string> QueryListSeparator() override;
    std::optional<std::string> QueryDecimalSeparator() override;

    const std::vector<RecordedMessage>& Messages() const { return messages_; }
    // The text of the last message, empty when none was shown.
    std::string LastText() const { return messages_.empty() ? std::string() : messages_.back().Text; }
    // Whether the last message is an error or a warning.
    bool LastIsTrouble() const;

private:
    WindowSystem* inner_;
    bool answerYes_;
    std::vector<RecordedMessage> messages_;
};
