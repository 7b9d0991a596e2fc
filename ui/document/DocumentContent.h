#pragma once

#include "ConfigTemplate.h"
#include "SlaveSet.h"

// What the user edits in the document and what an undo step gives back: the
// configuration, and the slaves added with Slave > Add that have no points yet.
struct DocumentContent {
    ConfigTemplate Config;
    SlaveAddressTable AddedSlaves = kNoSlaves;
};
