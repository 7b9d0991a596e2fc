#pragma once

#include "WindowSystem.h"

#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

// A window system for tests: every message box and question is recorded with
// its caption, text and icon; questions and file dialogs take their answers
// from scripts queued by the test (No, and Cancel, when the script is empty).
struct ScriptedMessage {
    std::string Caption;
    std::string Text;
    MessageIcon Icon;
    bool IsQuestion = false;

    bool operator==(const ScriptedMessage&) const = default;
};

// Interface is WindowSystem or an interface that extends it (the document's
// host): the core services are scripted the same way for both.
template <typename Interface>
class ScriptedCore : public Interface {
public:
    using Message = ScriptedMessage;

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

    // The folder dialog takes its answer from Files as well.
    std::optional<std::string> ChooseFolder(const std::string& title) override { return NextFile({title, {}, {}}); }

    void SetStatusText(const std::string& text) override { StatusTexts.push_back(text); }
    void SetProgress(int percent) override { ProgressValues.push_back(percent); }

    int ReadProfileInt(const std::string& section, const std::string& key, int defaultValue) override
    {
        const auto value = ProfileInts.find({section, key});
        return value == ProfileInts.end() ? defaultValue : value->second;
    }
    void WriteProfileInt(const std::string& section, const std::string& key, int value) override
    {
        ProfileInts[{section, key}] = value;
    }
    std::optional<std::string> ReadProfileString(const std::string& section, const std::string& key) override
    {
        const auto value = ProfileStrings.find({section, key});
        return value == ProfileStrings.end() ? std::nullopt : std::optional<std::string>(value->second);
    }
    void WriteProfileString(const std::string& section, const std::string& key, const std::string& value) override
    {
        ProfileStrings[{section, key}] = value;
    }

    std::optional<std::string> QueryListSeparator() override { return ListSeparatorAnswer; }
    std::optional<std::string> QueryDecimalSeparator() override { return DecimalSeparatorAnswer; }

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
    std::map<std::pair<std::string, std::string>, int> ProfileInts;
    std::map<std::pair<std::string, std::string>, std::string> ProfileStrings;
    std::optional<std::string> ListSeparatorAnswer = ",";  // nullopt: cannot be read
    std::optional<std::string> DecimalSeparatorAnswer = ".";

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

using ScriptedWindowSystem = ScriptedCore<WindowSystem>;

inline ScriptedMessage NoticeMessage(const std::string& text)
{
    return {kApplicationTitle, text, MessageIcon::None, false};
}

inline ScriptedMessage WarningMessage(const std::string& text)
{
    return {kApplicationTitle, text, MessageIcon::Warning, false};
}

inline ScriptedMessage ErrorMessage(const std::string& caption, const std::string& text)
{
    return {caption, text, MessageIcon::Error, false};
}

inline ScriptedMessage InfoMessage(const std::string& caption, const std::string& text)
{
    return {caption, text, MessageIcon::Information, false};
}

inline ScriptedMessage CancelledMessage() { return {kApplicationTitle, "Operation cancelled", MessageIcon::Warning, false}; }
