#pragma once

#include <optional>
#include <string>

// The application title: caption of notices and of the main window.
inline constexpr const char* kApplicationTitle = "Halvex Configuration Tool";

enum class MessageIcon { None, Information, Warning, Error, Question };

// What a file dialog offers. The filter is written as "Name (*.ext)|*.ext||",
// pairs of a description and a pattern list separated by '|'.
struct FileDialogRequest {
    std::string Filter;
    std::string DefaultExtension;  // appended when the user types a name without one
    std::string InitialName;
    bool ConfirmOverwrite = false;  // save dialogs: ask before replacing a file
};

// The one small interface through which the core reaches the window system:
// message boxes, file dialogs, the status line, the progress bar, the main
// form and the views, the profile store and the regional settings. The window
// program implements it with Qt, halvex-cli on the terminal, and the tests
// with scripted answers that record every message.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // A modal message box with an OK button.
    virtual void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) = 0;
    // A modal question with Yes and No; true when Yes was pressed.
    virtual bool AskYesNo(const std::string& caption, const std::string& text, MessageIcon icon) = 0;

    // File dialogs; no value when the user cancels.
    virtual std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) = 0;

    // The main frame's status line and the main view's progress bar (0..100).
    virtual void SetStatusText(const std::string& text) = 0;
    virtual void SetProgress(int percent) = 0;

    // Notice: OK button, the application title as caption, no icon.
    void Notice(const std::string& text) { ShowMessage(kApplicationTitle, text, MessageIcon::None); }
    void ErrorBox(const std::string& caption, const std::string& text)
    {
        ShowMessage(caption, text, MessageIcon::Error);
    }
    void InfoBox(const std::string& caption, const std::string& text)
    {
        ShowMessage(caption, text, MessageIcon::Information);
    }
    // Question: its own caption, question icon, Yes and No.
    bool Question(const std::string& caption, const std::string& text)
    {
        return AskYesNo(caption, text, MessageIcon::Question);
    }
};
