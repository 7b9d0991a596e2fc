#pragma once

#include "ConfigTemplate.h"
#include "WindowSystem.h"

#include <string_view>

class QWidget;

// File > Print: writes the configuration with its offset columns to the
// private temporary file, reads it back (at most 65536 bytes; an error box when
// either fails), lets the user choose a printer and prints the text on it with
// the report layout. Cancelling the printer dialog prints nothing.
void PrintConfiguration(const ConfigTemplate& config, WindowSystem& ui, QWidget* parent);

// The printer dialog and the print job for a report text.
void PrintReportText(std::string_view text, QWidget* parent);
