#include "TerminalWindowSystem.h"

#include "NumberText.h"
#include "ProfileFile.h"

#include <ostream>

TerminalWindowSystem::TerminalWindowSystem(std::ostream& out, std::ostream& err, bool answerYes)
    : out_(out), err_(err), answerYes_(answerYes)
{
}

void TerminalWindowSystem::ShowMessage(const std::string&, const std::string& text, MessageIcon icon)
{
    if (icon == MessageIcon::Information) {
        out_ << text << '\n' << std::flush;
        return;
    }
    if (icon == MessageIcon::Error || icon == MessageIcon::Warning) {
        errorShown_ = true;
    }
    err_ << text << '\n' << std::flush;
}

bool TerminalWindowSystem::AskYesNo(const std::string&, const std::string& text, MessageIcon)
{
    err_ << text << '\n' << (answerYes_ ? "-> Yes" : "-> No") << '\n' << std::flush;
    return answerYes_;
}

std::optional<std::string> TerminalWindowSystem::ChooseFileToOpen(const FileDialogRequest&)
{
    return NextFileAnswer();
}

std::optional<std::string> TerminalWindowSystem::ChooseFileToSave(const FileDialogRequest&)
{
    return NextFileAnswer();
}

void TerminalWindowSystem::SetStatusText(const std::string&) {}

void TerminalWindowSystem::SetProgress(int) {}

int TerminalWindowSystem::ReadProfileInt(const std::string& section, const std::string& key, int defaultValue)
{
    const auto value = ReadProfileString(section, key);
    if (!value) {
        return defaultValue;
    }
    const IntScan scan = ScanInt(*value);
    return scan.Found ? scan.Value : defaultValue;
}

std::optional<std::string> TerminalWindowSystem::ReadProfileString(const std::string& section, const std::string& key)
{
    return ReadProfileFileValue(ProfileFilePath(), section, key);
}

void TerminalWindowSystem::QueueFileAnswer(const std::string& path) { fileAnswers_.push_back(path); }

std::optional<std::string> TerminalWindowSystem::NextFileAnswer()
{
    if (fileAnswers_.empty()) {
        return std::nullopt;
    }
    std::string path = fileAnswers_.front();
    fileAnswers_.pop_front();
    return path;
}
