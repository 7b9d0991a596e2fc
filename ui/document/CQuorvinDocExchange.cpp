// The document's exchange commands: CSV export, slave template import and the
// XRF unit import.
#include "CQuorvinDoc.h"

#include "ConfigFile.h"
#include "CsvExport.h"
#include "SlaveTemplateImport.h"
#include "XrfImport.h"

#include <filesystem>
#include <memory>

namespace {

// The XRF import builds a new document from the unit file. The user may save
// the open one first (the form committed); the open document stays until the
// unit file has been read: a cancelled dialog or a failed import keep it.
// Every address used becomes a slave and the new document counts as
// modified, since it has no file of its own.
void ImportXrfInto(CQuorvinDoc& document, const std::optional<std::string>& path)
{
    if (!path) {
        return;
    }
    const auto imported = std::make_unique<ConfigTemplate>();
    if (!ImportXrf(*imported, *path, document.Ui())) {
        document.Ui().ErrorBox(kOpenErrorCaption, "Error loading file!");
        return;
    }
    document.OnNewDocument();
    document.Config() = *imported;
    document.SetTitle(std::filesystem::path(*path).filename().string());
    document.RebuildSlaveList();
    document.SetModifiedFlag(true);
    document.Ui().UpdateAllViews();
}

}  // namespace

void CQuorvinDoc::OnExportCsv()
{
    const auto path = ui_.ChooseFileToSave({"CSV File (*.csv)|*.csv||", "CSV", "", true});
    if (!path) {
        return;
    }
    ExportCsvFile(Config(), *path, ListSeparator, DecimalSeparator, ui_);
}

void CQuorvinDoc::OnSlaveImport()
{
    if (!ImportSlaveTemplate(Config(), SelectedSlave, UsedSlaves, ui_)) {
        return;
    }
    RebuildSlaveList();
    SetModifiedFlag(true);
    ui_.UpdateAllViews();
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
