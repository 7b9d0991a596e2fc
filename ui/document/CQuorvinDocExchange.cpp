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

// The XRF import starts from a new document: the form is committed and the
// user may save the open one first. False when either stops it.
bool StartXrfImport(CQuorvinDoc& document) { return document.Ui().CommitForm() && document.SaveModified(); }

// Reads the chosen file and puts it into a new document, titled after the
// file. A file in which nothing could be found leaves the document as it
// was, with a notice. A cancelled dialog leaves a new, empty configuration;
// either way every address used becomes a slave and the document counts as
// modified, since it has no file of its own. An unreadable file ends with the
// error box.
void FinishXrfImport(CQuorvinDoc& document, const std::optional<std::string>& path)
{
    auto imported = std::make_unique<ConfigTemplate>();
    imported->TemplateName = document.Config().TemplateName;
    const XrfImportResult result =
        path ? ImportXrf(*imported, *path, document.Ui()) : XrfImportResult::Imported;
    if (result == XrfImportResult::NothingFound) {
        document.Ui().Notice(kNothingImportedMessage);
        return;
    }
    document.OnNewDocument();
    if (path) {
        document.SetTitle(std::filesystem::path(*path).filename().string());
        if (result == XrfImportResult::Unreadable) {
            document.Ui().ErrorBox(kOpenErrorCaption, "Error loading file!");
            return;
        }
        document.Config() = *imported;
    }
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
    if (!StartXrfImport(*this)) {
        return;
    }
    FinishXrfImport(*this, ui_.ChooseFileToOpen({"XRF File (*.xrf)|*.xrf||", "XRF", "", false}));
}

void CQuorvinDoc::ImportXrfFile(const std::string& path)
{
    if (!StartXrfImport(*this)) {
        return;
    }
    FinishXrfImport(*this, path);
}
