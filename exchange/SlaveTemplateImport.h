#pragma once

#include "ConfigTemplate.h"
#include "SlaveSet.h"
#include "WindowSystem.h"

// The most points one list may hold after a slave template import.
inline constexpr int kMaxImportedListCount = 255;

inline constexpr const char* kTooManySlavesMessage = "Total number of slaves exceed 16. Import aborted.";

// Fills the selected slave with the points of another configuration file: the
// user confirms replacing a slave that has points, chooses the file, and
// confirms creating further slaves when the file holds points of several
// slave addresses. The points of the file's first address (its main address)
// become points of the selected slave; the points of its other addresses form
// slaves of their own.
//
// usedSlaves are the slaves that exist now. Every refusal (no slave selected,
// a question answered No, the dialog cancelled, an unreadable file,
// conflicting addresses, more than 16 slaves or more than 255 entries in a
// list afterwards) leaves the configuration unchanged. True when the
// configuration was changed; the caller then rebuilds its slave list, marks the
// document modified and updates the views.
bool ImportSlaveTemplate(ConfigTemplate& config, int selectedSlave, const SlaveAddressTable& usedSlaves,
                         WindowSystem& ui);

// The import's second half, once the other file has been read into source:
// the checks of the slave addresses and list sizes (with their questions and
// messages), then the merge. True when the configuration was changed.
bool MergeSlaveTemplate(ConfigTemplate& config, int selectedSlave, const SlaveAddressTable& usedSlaves,
                        const ConfigTemplate& source, WindowSystem& ui);
