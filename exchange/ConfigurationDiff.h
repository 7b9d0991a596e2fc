#pragma once

#include "ConfigTemplate.h"

#include <string>
#include <vector>

// The differences of two configurations as a user reads them, one line
// each: first every setting that differs, by its name in the configuration
// file ("SPA_BAUDRATE: 9600 -> 19200"), then for each point section in file
// order the entries that were changed (with the fields that differ), added
// or removed, by section and position counted from 1
// ("[ANALOG_INPUT] 3 changed: Scale 1.000000 -> 2.000000"). Entries are
// compared by their position in the list. Empty when the two are equal.
std::vector<std::string> DiffConfigurations(const ConfigTemplate& from, const ConfigTemplate& to);
