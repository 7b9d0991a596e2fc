#pragma once

#include <string>
#include <string_view>

class QPdfWriter;

// The report printed into a PDF file: A4 pages without printer margins at
// 1200 dots per inch, so that the report's own margins are those of the page.
void SetUpReportPdf(QPdfWriter& writer);

// Writes the report text as PDF pages to the path; false when the file cannot
// be written. Needs a QGuiApplication.
bool WriteReportPdf(std::string_view text, const std::string& path);
