#include "TerminalWindowSystem.h"

#include "ProfileReader.h"

#include <ostream>

TerminalWindowSystem::TerminalWindowSystem(std::ostream& out, std::ostream& err, bool answerYes,
                                           const std::string& profilePath)
    : out_(out),
      err_(err),
      answerYes_(answerYes),
      profile_(std::make_unique<ProfileReader>(profilePath.empty() ? ProfileReader::UserProfile()
                                                                   : ProfileReader::FromIniFile(profilePath)))
{
}

TerminalWindowSystem::~TerminalWindowSystem() = default;

void TerminalWindowSystem::ShowMessage(const std::string&, const std::string& text, MessageIcon icon)
{
    if (icon == MessageIcon::Information && !informationToErr_) {
        out_ << text << '\n' << std::flush;
        return;
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
    return profile_->ReadInt(section, key, defaultValue);
}

std::optional<std::string> TerminalWindowSystem::ReadProfileString(const std::string& section, const std::string& key)
{
    return profile_->ReadString(section, key);
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
