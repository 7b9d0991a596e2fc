#pragma once

#include "ConfigTemplate.h"
#include "WindowSystem.h"

#include <ctime>
#include <string>

// The spreadsheet export of a configuration: global settings, the fixed
// general-status block, every point with its Profibus offset and data size,
// the indirect SPA messages and the two area sizes. Fields are separated by
// the list separator and scales use the decimal separator, so that the file
// opens in columns in a spreadsheet set up for the user's region. Lines end
// in CR LF; texts are written as held, without quoting.

// The local time as "%H:%M %A %B %d %Y" with English day and month names,
// whatever the process locale is.
std::string FormatExportTime(std::time_t time);

// The file contents; exportTime is the text of the EXPORT_TIME line.
std::string CsvText(const ConfigTemplate& config, const std::string& listSeparator,
                    const std::string& decimalSeparator, const std::string& exportTime);

// Writes CsvText with the given export time to the path. False when the file
// cannot be completely written; an existing file is then left as it was.
bool ExportCsv(const ConfigTemplate& config, const std::string& path, const std::string& listSeparator,
               const std::string& decimalSeparator, std::time_t exportTime = std::time(nullptr));

// ExportCsv at the present time, and when it fails the error box "Error
// exporting file!".
bool ExportCsvFile(const ConfigTemplate& config, const std::string& path, const std::string& listSeparator,
                   const std::string& decimalSeparator, WindowSystem& ui);
