#pragma once

#include "WindowSystem.h"

#include <deque>
#include <string>
#include <vector>

// A window system for tests: every message box and question is recorded with
// its caption, text and icon; questions and file dialogs take their answers
// from scripts queued by the test (No, and Cancel, when the script is empty).
class ScriptedWindowSystem : public WindowSystem {
public:
    struct Message {
        std::string Caption;
        std::string Text;
        MessageIcon Icon;
        bool IsQuestion = false;

        bool operator==(const Message&) const = default;
    };

    void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) override
    {
        Messages.push_back({caption, text, icon, false});
    }

    bool AskYesNo(const std::string& caption, const std::string& text, MessageIcon icon) override
    {
        Messages.push_back({caption, text, icon, true});
        if (Answers.empty()) {
            return false;
        }
        const bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) override
    {
        return NextFile(request);
    }

    std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) override
    {
        return NextFile(request);
    }

    void SetStatusText(const std::string& text) override { StatusTexts.push_back(text); }
    void SetProgress(int percent) override { ProgressValues.push_back(percent); }

    // The texts of all messages and questions, in order.
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const Message& message : Messages) {
            texts.push_back(message.Text);
        }
        return texts;
    }

    std::vector<Message> Messages;
    std::deque<bool> Answers;                       // Yes = true
    std::deque<std::optional<std::string>> Files;   // nullopt = Cancel
    std::vector<FileDialogRequest> FileRequests;
    std::vector<std::string> StatusTexts;
    std::vector<int> ProgressValues;

private:
    std::optional<std::string> NextFile(const FileDialogRequest& request)
    {
        FileRequests.push_back(request);
        if (Files.empty()) {
            return std::nullopt;
        }
        auto answer = Files.front();
        Files.pop_front();
        return answer;
    }
};

inline ScriptedWindowSystem::Message NoticeMessage(const std::string& text)
{
    return {kApplicationTitle, text, MessageIcon::None, false};
}

inline ScriptedWindowSystem::Message ErrorMessage(const std::string& caption, const std::string& text)
{
    return {caption, text, MessageIcon::Error, false};
}

inline ScriptedWindowSystem::Message InfoMessage(const std::string& caption, const std::string& text)
{
    return {caption, text, MessageIcon::Information, false};
}
