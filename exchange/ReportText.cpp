#include "ReportText.h"

#include "ConfigFile.h"
#include "TemporaryFile.h"

std::string ReportText(const ConfigTemplate& config)
{
    std::string text = ConfigFileText(config, true);
    if (text.size() > kMaxReportBytes) {
        text.resize(kMaxReportBytes);
    }
    return text;
}

std::optional<std::string> ReportTextThroughTemporaryFile(const ConfigTemplate& config, WindowSystem& ui)
{
    // The print's own file, deleted when the text has been read back.
    auto file = TemporaryFile::Create();
    if (!file) {
        ui.ErrorBox("Error", "Unable to create temporary file");
        return std::nullopt;
    }
    if (!file->Write(ConfigFileText(config, true))) {
        ui.ErrorBox("Error", "Unable to write temporary file");
        return std::nullopt;
    }
    auto text = file->Read(kMaxReportBytes);
    if (!text) {
        ui.ErrorBox("Error", "Unable to read back temporary file");
        return std::nullopt;
    }
    return text;
}
