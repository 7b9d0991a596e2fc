#include "ReportText.h"

#include "ConfigFile.h"
#include "FileAccess.h"
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
    const auto path = TemporaryFilePath();
    if (!path) {
        ui.ErrorBox("Error", "Unable to create temporary file");
        return std::nullopt;
    }
    if (!WritePrivateFile(*path, ConfigFileText(config, true))) {
        ui.ErrorBox("Error", "Unable to write temporary file");
        return std::nullopt;
    }
    auto text = ReadPrivateFile(*path, kMaxReportBytes);
    if (!text) {
        ui.ErrorBox("Error", "Unable to read back temporary file");
        return std::nullopt;
    }
    return text;
}
