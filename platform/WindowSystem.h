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

// The small interface through which the core reaches the window system:
// message boxes, file dialogs, the status line, the progress bar, the profile
// store and the regional settings. The window program implements it with Qt,
// halvex-cli on the terminal, and the tests with scripted answers that record
// every message. What the document needs beyond it (the form, the views, the
// title) is its host interface, DocumentHost.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // A modal message box with an OK button.
    virtual void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) = 0;
    // A modal question with Yes and No; true when Yes was pressed. The file
    // watcher calls it from its own thread: implementations must show it on
    // the user-interface thread and wait for the answer.
    virtual bool AskYesNo(const std::string& caption, const std::string& text, MessageIcon icon) = 0;

    // File dialogs; no value when the user cancels.
    virtual std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) = 0;
    // A dialog choosing an existing folder; no value when the user cancels
    // or the window system has none.
    virtual std::optional<std::string> ChooseFolder(const std::string& title)
    {
        (void)title;
        return std::nullopt;
    }

    // The main frame's status line and the main view's progress bar (0..100).
    virtual void SetStatusText(const std::string& text) = 0;
    virtual void SetProgress(int percent) = 0;

    // The per-user profile store (section/key values). The defaults suit a
    // program without a profile.
    virtual int ReadProfileInt(const std::string& section, const std::string& key, int defaultValue)
    {
        (void)section;
        (void)key;
        return defaultValue;
    }
    virtual void WriteProfileInt(const std::string& section, const std::string& key, int value)
    {
        (void)section;
        (void)key;
        (void)value;
    }
    virtual std::optional<std::string> ReadProfileString(const std::string& section, const std::string& key)
    {
        (void)section;
        (void)key;
        return std::nullopt;
    }
    virtual void WriteProfileString(const std::string& section, const std::string& key, const std::string& value)
    {
        (void)section;
        (void)key;
        (void)value;
    }

    // The user's regional list and decimal separators; no value when they
    // cannot be read.
    virtual std::optional<std::string> QueryListSeparator() { return std::nullopt; }
    virtual std::optional<std::string> QueryDecimalSeparator() { return std::nullopt; }

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
