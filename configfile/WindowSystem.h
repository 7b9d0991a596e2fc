#pragma once

#include <optional>
#include <string>

// The application title: caption of notices and of the main window.
inline constexpr const char* kApplicationTitle = "Halvex Configuration Tool";

// The gateway's diagnostics as the device layer decodes them.
struct DiagnosticsRecord;

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
    // A modal question with Yes and No; true when Yes was pressed. The file
    // watcher calls it from its own thread: implementations must show it on
    // the user-interface thread and wait for the answer.
    virtual bool AskYesNo(const std::string& caption, const std::string& text, MessageIcon icon) = 0;

    // File dialogs; no value when the user cancels.
    virtual std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) = 0;

    // The main frame's status line and the main view's progress bar (0..100).
    virtual void SetStatusText(const std::string& text) = 0;
    virtual void SetProgress(int percent) = 0;

    // --- What the document needs of the window program. The defaults suit a
    // program without windows (halvex-cli): no form, no views, no profile.

    // The framework's "save changes?" question: Yes, No or Cancel.
    enum class SaveChangesAnswer { Yes, No, Cancel };
    virtual SaveChangesAnswer AskSaveChanges(const std::string& documentTitle)
    {
        (void)documentTitle;
        return SaveChangesAnswer::No;
    }

    // The main form: validate it and write it into the configuration; false
    // when a field is out of range (the form has shown its message).
    virtual bool CommitForm() { return true; }
    // Rebuild every view from the configuration.
    virtual void UpdateAllViews() {}
    // The document's title changed (for example to "Untitled").
    virtual void TitleChanged(const std::string& title) { (void)title; }
    // A file was opened or saved: it goes to the top of the recent-file list.
    virtual void AddToRecentFiles(const std::string& path) { (void)path; }
    // Check item comPort-1 of the COM port menu and uncheck the others; no
    // item is checked for a value outside 1..4.
    virtual void SetComPortChecks(int comPort) { (void)comPort; }

    // The per-user profile store (section/key values).
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

    // The user's regional list and decimal separators; no value when they
    // cannot be read.
    virtual std::optional<std::string> QueryListSeparator() { return std::nullopt; }
    virtual std::optional<std::string> QueryDecimalSeparator() { return std::nullopt; }

    // The "SPA Slave Address" dialog, preset with the address; no value on Cancel.
    virtual std::optional<int> EditSlaveAddress(int preset)
    {
        (void)preset;
        return std::nullopt;
    }

    // The modal diagnostics dialog, filled from the record; returns when the
    // user closes it. Programs without windows show nothing.
    virtual void ShowDiagnostics(const DiagnosticsRecord& record) { (void)record; }

    // Posts the registered "FILECHANGE" event to the main view; may be called
    // from any thread. The view then reloads the document.
    virtual void PostFileChange() {}

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
