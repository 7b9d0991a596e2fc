#pragma once

#include "ConfigTemplate.h"
#include "WindowSystem.h"

#include <string>

// Builds a configuration from a SPA unit description file (".xrf"): the
// [SPA_UNIT] section maps unit numbers to SPA slave addresses (UnitTable),
// and every recognised line of the [ANALOG_INPUT], [ANALOG_OUTPUT],
// [DIGITAL_INPUT] and [DIGITAL_OUTPUT] sections becomes a point, in file
// order, up to the capacity of its list. A first line that is a comment names
// the template.
//
// The configuration is Reset first (TemplateName is kept unless the file names
// one). False when the file cannot be read or is empty. Lines that do not fit
// are skipped silently; a digital input address without a category letter
// gives the notice "Warning : Digital Input #n seems to be corrupt".
bool ImportXrf(ConfigTemplate& config, const std::string& path, WindowSystem& ui);

// The same for the text of such a file already in memory.
bool ImportXrfText(ConfigTemplate& config, std::string text, WindowSystem& ui);
