#pragma once

#include "ConfigTemplate.h"
#include "PointReference.h"
#include "SlaveSet.h"

#include <optional>
#include <string>
#include <vector>

// One problem the check found: its text, a line that names what it
// concerns, and the point (or, without a point, the slave) to show.
struct CheckFinding {
    std::string Text;
    std::string Detail;
    std::optional<PointReference> Point;
    std::optional<int> Slave;
};

struct ConfigurationCheck {
    // Everything for which a download of the configuration would refuse it,
    // with the download's own messages.
    std::vector<CheckFinding> Errors;
    // What the main view warns about, and what a user would want to know
    // before a download.
    std::vector<CheckFinding> Warnings;
};

// Checks the configuration for the plain download command (2.00 layout,
// slaves required). Errors: no slaves; a setting outside the range the main
// form accepts (with the form's message); what a save would not write back
// as it is (a point whose file line the reader could not take as written, a
// comma in a description or the online poll command, a lone blank as the
// description of a digital point or indirect message); input bytes over
// 242, output bytes over 244, more than 127 indirect messages, an online
// poll command over 17 characters; every address the device image cannot be built from; a
// text that does not fit behind the image. Warnings: a laid-out area over
// 240 bytes; two points of one slave with the same address; an indirect
// message for a slave without points; a slave of `addedSlaves` (the
// document's slaves that were added without points) that has nothing at all.
ConfigurationCheck CheckConfiguration(const ConfigTemplate& config, const SlaveAddressTable& addedSlaves = kNoSlaves);

// The count of what was found: "2 errors, 1 warning", or, when nothing was,
// "No errors and no warnings: the configuration can be downloaded."
std::string CheckSummary(const ConfigurationCheck& check);
