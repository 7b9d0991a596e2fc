#include "MessageRecorder.h"

void MessageRecorder::ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon)
{
    messages_.push_back({caption, text, icon});
    if (inner_ != nullptr) {
        inner_->ShowMessage(caption, text, icon);
    }
}

bool MessageRecorder::AskYesNo(const std::string& caption, const std::string& text, MessageIcon icon)
{
    messages_.push_back({caption, text, icon});
    return inner_ != nullptr ? inner_->AskYesNo(caption, text, icon) : answerYes_;
}

std::optional<std::string> MessageRecorder::ChooseFileToOpen(const FileDialogRequest& request)
{
    return inner_ != nullptr ? inner_->ChooseFileToOpen(request) : std::nullopt;
}

std::optional<std::string> MessageRecorder::ChooseFileToSave(const FileDialogRequest& request)
{
    return inner_ != nullptr ? inner_->ChooseFileToSave(request) : std::nullopt;
}

std::optional<std::string> MessageRecorder::ChooseFolder(const std::string& title)
{
    return inner_ != nullptr ? inner_->ChooseFolder(title) : std::nullopt;
}

void MessageRecorder::SetStatusText(const std::string& text)
{
    if (inner_ != nullptr) {
        inner_->SetStatusText(text);
    }
}

void MessageRecorder::SetProgress(int percent)
{
    if (inner_ != nullptr) {
        inner_->SetProgress(percent);
    }
}

int MessageRecorder::ReadProfileInt(const std::string& section, const std::string& key, int defaultValue)
{
    return inner_ != nullptr ? inner_->ReadProfileInt(section, key, defaultValue) : defaultValue;
}

void MessageRecorder::WriteProfileInt(const std::string& section, const std::string& key, int value)
{
    if (inner_ != nullptr) {
        inner_->WriteProfileInt(section, key, value);
    }
}

std::optional<std::string> MessageRecorder::ReadProfileString(const std::string& section, const std::string& key)
{
    return inner_ != nullptr ? inner_->ReadProfileString(section, key) : std::nullopt;
}

void MessageRecorder::WriteProfileString(const std::string& section, const std::string& key,
                                         const std::string& value)
{
    if (inner_ != nullptr) {
        inner_->WriteProfileString(section, key, value);
    }
}

std::optional<std::string> MessageRecorder::QueryListSeparator()
{
    return inner_ != nullptr ? inner_->QueryListSeparator() : std::nullopt;
}

std::optional<std::string> MessageRecorder::QueryDecimalSeparator()
{
    return inner_ != nullptr ? inner_->QueryDecimalSeparator() : std::nullopt;
}

bool MessageRecorder::LastIsTrouble() const
{
    return !messages_.empty() &&
           (messages_.back().Icon == MessageIcon::Error || messages_.back().Icon == MessageIcon::Warning);
}
