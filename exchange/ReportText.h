#pragma once

#include "ConfigTemplate.h"
#include "WindowSystem.h"

#include <cstddef>
#include <optional>
#include <string>

// The printed report is the configuration file text with its offset columns,
// at most its first 65536 bytes (a longer text is cut, possibly inside a line).
inline constexpr std::size_t kMaxReportBytes = 65536;

std::string ReportText(const ConfigTemplate& config);

// The report text as the print command makes it: the configuration is written
// with offsets to a temporary file of its own, which is read back and deleted. On failure an
// error box ("Unable to create temporary file", "Unable to write temporary
// file" or "Unable to read back temporary file", caption "Error") and no value.
std::optional<std::string> ReportTextThroughTemporaryFile(const ConfigTemplate& config, WindowSystem& ui);
