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
// one). Unreadable when the file cannot be read or is empty; NothingFound
// when it holds none of the sections above (random bytes, another kind of
// file), so that nothing was imported. Lines that do not fit are skipped
// silently; a digital input address without a category letter gives the
// notice "Warning : Digital Input #n seems to be corrupt".
enum class XrfImportResult { Imported, Unreadable, NothingFound };

XrfImportResult ImportXrf(ConfigTemplate& config, const std::string& path, WindowSystem& ui);

// The same for the text of such a file already in memory.
XrfImportResult ImportXrfText(ConfigTemplate& config, std::string text, WindowSystem& ui);

// What the window and halvex-cli say for NothingFound.
inline constexpr const char* kNothingImportedMessage =
    "Nothing was imported: the file holds none of the sections [SPA_UNIT], [ANALOG_INPUT], [ANALOG_OUTPUT], "
    "[DIGITAL_INPUT] and [DIGITAL_OUTPUT].";
