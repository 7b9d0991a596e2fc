#pragma once

#include "DiagnosticsRecord.h"
#include "WindowSystem.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class SerialLink;

// What the document needs of the window program beyond the core window-system
// services: the main form, the views, the title, the recent-file list, the
// COM port menu, the slave address and diagnostics dialogs, and the posting
// of "FILECHANGE". The window program implements it with Qt; the tests with
// scripted answers.
class DocumentHost : public WindowSystem {
public:
    // The framework's "save changes?" question: Yes, No or Cancel.
    enum class SaveChangesAnswer { Yes, No, Cancel };
    virtual SaveChangesAnswer AskSaveChanges(const std::string& documentTitle) = 0;

    // The main form: validate it and write it into the configuration; false
    // when a field is out of range (the form has shown its message).
    virtual bool CommitForm() = 0;
    // Rebuild every view from the configuration.
    virtual void UpdateAllViews() = 0;
    // The document's modified flag changed: the title's mark follows it.
    virtual void ModifiedChanged(bool modified) { (void)modified; }
    // The document's title changed (for example to "Untitled").
    virtual void TitleChanged(const std::string& title) = 0;
    // A file was opened or saved: it goes to the top of the recent-file list.
    virtual void AddToRecentFiles(const std::string& path) = 0;
    // Check item comPort-1 of the COM port menu and uncheck the others; 0
    // checks its "Other Port" item (a device path); no item is checked for a
    // value outside 0..4.
    virtual void SetComPortChecks(int comPort) = 0;

    // The "SPA Slave Address" dialog, preset with the address; no value on Cancel.
    virtual std::optional<int> EditSlaveAddress(int preset) = 0;

    // The modal diagnostics dialog, filled from the record; returns when the
    // user closes it.
    virtual void ShowDiagnostics(const DiagnosticsRecord& record) = 0;

    // Runs a device operation on the document's link and returns when it has
    // ended. The window program runs it on a worker thread, keeps the window
    // painted meanwhile and offers Cancel; the operation's messages and
    // questions still reach the user through this host. By default it runs at
    // once on the calling thread.
    virtual void RunDeviceOperation(SerialLink& link, const std::function<void()>& operation)
    {
        (void)link;
        operation();
    }

    // The watcher's Yes/No question about the open file (warning icon),
    // asked from the watcher's thread. The window program shows it only once
    // no modal dialog is open, so that the user answers knowing what that
    // dialog has done to the document.
    virtual bool AskAboutFileChange(const std::string& caption, const std::string& text)
    {
        return AskYesNo(caption, text, MessageIcon::Warning);
    }

    // Device > Compare with Gateway: the differences between what the gateway
    // holds and the document, one line each (none: they are equal). True when
    // the user chose to download the document; by default nobody does.
    virtual bool ShowGatewayDifferences(const std::vector<std::string>& lines)
    {
        (void)lines;
        return false;
    }

    // Posts the registered "FILECHANGE" event to the main view; may be called
    // from any thread. The view then reloads the document.
    virtual void PostFileChange() = 0;
};
