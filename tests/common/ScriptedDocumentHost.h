#pragma once

#include "DocumentHost.h"
#include "ScriptedWindowSystem.h"

#include <deque>
#include <string>
#include <vector>

// The document's host for tests: the scripted core services, and for the
// document's own needs scripted answers (save changes, form commit, slave
// address) and a record of every call (views, titles, recent files, COM port
// checks, diagnostics dialogs, posted file changes).
class ScriptedDocumentHost : public ScriptedCore<DocumentHost> {
public:
    SaveChangesAnswer AskSaveChanges(const std::string& documentTitle) override
    {
        SaveChangesTitles.push_back(documentTitle);
        if (SaveChangesAnswers.empty()) {
            return SaveChangesAnswer::No;
        }
        const SaveChangesAnswer answer = SaveChangesAnswers.front();
        SaveChangesAnswers.pop_front();
        return answer;
    }

    bool CommitForm() override
    {
        ++CommitFormCalls;
        return CommitFormResult;
    }

    void UpdateAllViews() override { ++UpdateAllViewsCalls; }
    void TitleChanged(const std::string& title) override { Titles.push_back(title); }
    void AddToRecentFiles(const std::string& path) override { RecentFiles.push_back(path); }
    void SetComPortChecks(int comPort) override { ComPortChecks.push_back(comPort); }

    std::optional<int> EditSlaveAddress(int preset) override
    {
        SlaveAddressPresets.push_back(preset);
        if (SlaveAddressAnswers.empty()) {
            return std::nullopt;
        }
        const auto answer = SlaveAddressAnswers.front();
        SlaveAddressAnswers.pop_front();
        return answer;
    }

    void PostFileChange() override { ++PostFileChangeCalls; }
    bool ShowGatewayDifferences(const std::vector<std::string>& lines) override
    {
        GatewayDifferences.push_back(lines);
        return DownloadAfterCompare;
    }
    void ShowDiagnostics(const DiagnosticsRecord& record) override { Dialogs.push_back(record); }

    std::deque<SaveChangesAnswer> SaveChangesAnswers;  // No when empty
    std::vector<std::string> SaveChangesTitles;
    bool CommitFormResult = true;
    int CommitFormCalls = 0;
    int UpdateAllViewsCalls = 0;
    std::vector<std::string> Titles;
    std::vector<std::string> RecentFiles;
    std::vector<int> ComPortChecks;
    std::deque<std::optional<int>> SlaveAddressAnswers;  // nullopt = Cancel
    std::vector<int> SlaveAddressPresets;
    int PostFileChangeCalls = 0;
    std::vector<std::vector<std::string>> GatewayDifferences;
    bool DownloadAfterCompare = false;
    std::vector<DiagnosticsRecord> Dialogs;
};
