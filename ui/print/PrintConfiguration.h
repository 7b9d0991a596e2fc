#pragma once

#include "ConfigTemplate.h"
#include "WindowSystem.h"

#include <string_view>

class QPrinter;
class QWidget;

inline constexpr const char* kPrintJobFailedText = "Unable to start the print job";
inline constexpr const char* kNoPrinterQuestion =
    "No printer is installed.\nDo you want to save the report as a PDF file?";
inline constexpr const char* kPdfWriteFailedText = "Unable to write the PDF file";

// File > Print: writes the configuration with its offset columns to a
// temporary file, reads it back (at most 65536 bytes; an error box when either
// fails) and prints the text with the report layout, on the printer the user
// chooses or, where no printer is installed, into a PDF file.
void PrintConfiguration(const ConfigTemplate& config, WindowSystem& ui, QWidget* parent);

// The report text on a printer, or as a PDF file where none is installed.
void PrintReportText(std::string_view text, WindowSystem& ui, QWidget* parent, bool printerInstalled);

// The printer dialog and the print job. Cancelling the dialog prints nothing;
// a job that cannot start is an error box.
void PrintOnChosenPrinter(std::string_view text, WindowSystem& ui, QPrinter& printer, QWidget* parent);

// Asks whether to make the report a PDF file, asks for its name and writes it;
// an error box when it cannot be written.
void OfferReportAsPdf(std::string_view text, WindowSystem& ui);

bool HasInstalledPrinter();
