// The document's exchange commands: CSV export, slave template import and the
// XRF unit import.
#include "CQuorvinDoc.h"

#include "ConfigFile.h"
#include "CsvExport.h"
#include "SlaveTemplateImport.h"
#include "XrfImport.h"

#include <filesystem>

namespace {

// The XRF import starts from a new document: the form is committed and the
// user may save the open one first. False when either stops it.
bool StartXrfImport(CQuorvinDoc& document)
{
    return document.Ui().CommitForm() && document.SaveModified() && document.OnNewDocument();
}

}  // namespace

void CQuorvinDoc::OnExportCsv()
{
    const auto path = ui_.ChooseFileToSave({"CSV File (*.csv)|*.csv||", "CSV", "", true});
    if (!path) {
        return;
    }
    ExportCsvFile(Config(), *path, listSeparator_, decimalSeparator_, ui_);
}

void CQuorvinDoc::OnSlaveImport()
{
    // One undoable step; a refused import changes nothing.
    Change([this](DocumentContent& content) {
        return ImportSlaveTemplate(content.Config, selectedSlave_, usedSlaves_, ui_);
    });
}

// Imports the chosen file into the new document, titled after the file. A
// cancelled dialog leaves the new, empty configuration; either way every
// address used becomes a slave and the document counts as modified, since it
// has no file of its own. A failed import ends with the error box.
void CQuorvinDoc::FinishXrfImport(const std::optional<std::string>& path)
{
    if (path) {
        SetTitle(std::filesystem::path(*path).filename().string());
        if (!ImportXrf(content_->Config, *path, ui_)) {
            StartHistory(IsModified());
            ui_.ErrorBox(kOpenErrorCaption, "Error loading file!");
            return;
        }
    }
    RebuildSlaveList();
    StartHistory(true);
    ui_.UpdateAllViews();
}

void CQuorvinDoc::OnImportXrf()
{
    if (!StartXrfImport(*this)) {
        return;
    }
    FinishXrfImport(ui_.ChooseFileToOpen({"XRF File (*.xrf)|*.xrf||", "XRF", "", false}));
}

void CQuorvinDoc::ImportXrfFile(const std::string& path)
{
    if (!StartXrfImport(*this)) {
        return;
    }
    FinishXrfImport(path);
}
