#pragma once

#include "ConfigTemplate.h"
#include "DeviceConnection.h"
#include "TextCompare.h"

#include <optional>
#include <string>
#include <memory>

// Uploads the configuration text the gateway keeps and compares it line by
// line with the text a download of `config` sends (the configuration file
// text without offsets), the gateway's text being the actual one. No value
// when the upload failed, after its error box.
std::optional<TextDifference> VerifyConfiguration(DeviceConnection& connection, const ConfigTemplate& config);

// Uploads the configuration the gateway keeps, for a comparison
// (DiffConfigurations). None when the upload failed, after its error box, or
// its text could not be read.
std::unique_ptr<ConfigTemplate> UploadForComparison(DeviceConnection& connection);

// "Configuration verify OK! ..." for a match; otherwise the count of
// differing lines and, on the lines below, the first difference with its
// line number and both lines.
std::string VerifyResultText(const TextDifference& difference);

// The result in a message box: "Success" with the information icon for a
// match, "Error" with the error icon for a difference.
void ReportVerifyResult(WindowSystem& ui, const TextDifference& difference);
