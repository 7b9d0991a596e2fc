#pragma once

#include <optional>
#include <string>
#include <string_view>

class QPdfWriter;

// The report printed into a PDF file: A4 pages without printer margins at
// 1200 dots per inch, so that the report's own margins are those of the page.
void SetUpReportPdf(QPdfWriter& writer);

// The report text as the bytes of a PDF document; no value when it cannot be
// rendered. Needs a QGuiApplication.
std::optional<std::string> ReportPdfBytes(std::string_view text);

// Writes the report as a PDF file as a save writes a document: beside the
// path first, then renamed over it, so that a failed write leaves an existing
// file as it was. False when the file cannot be written.
bool WriteReportPdf(std::string_view text, const std::string& path);
