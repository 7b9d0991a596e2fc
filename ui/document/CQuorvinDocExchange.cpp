// The document's exchange commands: CSV export, slave template import and the
// XRF unit import.
#include "CQuorvinDoc.h"

#include "ConfigFile.h"
#include "CsvExport.h"
#include "SlaveTemplateImport.h"
#include "XrfImport.h"

#include <filesystem>
#include <memory>

// The XRF import builds a new document from the unit file. The user may save
// the open one first (the form committed); the open document stays until the
// unit file has been read: a cancelled dialog, a failed import or a file in
// which nothing could be found (with a notice) keep it. Every address used
// becomes a slave and the new document counts as modified, since it has no
// file of its own.
void ImportXrfInto(CQuorvinDoc& document, const std::optional<std::string>& path)
{
    if (!path) {
        return;
    }
    const auto imported = std::make_unique<ConfigTemplate>();
    const XrfImportResult result = ImportXrf(*imported, *path, document.Ui());
    if (result == XrfImportResult::NothingFound) {
        document.Ui().Notice(kNothingImportedMessage);
        return;
    }
    if (result == XrfImportResult::Unreadable) {
        document.Ui().ErrorBox(kOpenErrorCaption, "Error loading file!");
        return;
    }
    document.OnNewDocument();
    document.content_->Config = *imported;
    document.SetTitle(std::filesystem::path(*path).filename().string());
    document.RebuildSlaveList();
    document.StartHistory(true);
    document.Ui().UpdateAllViews();
}

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

void CQuorvinDoc::OnImportXrf()
{
    if (SaveModified()) {
        ImportXrfInto(*this, ui_.ChooseFileToOpen({"XRF File (*.xrf)|*.xrf||", "XRF", "", false}));
    }
}

void CQuorvinDoc::ImportXrfFile(const std::string& path)
{
    if (SaveModified()) {
        ImportXrfInto(*this, path);
    }
}
