#pragma once

#include "Transport.h"

#include <string>

// A refused open of a device node described for the user: the portable
// reason and the system's text for the error number, and the advice that
// goes with it (for a permission refusal how to get access through the
// node's group, which is named by group and whether it may read and write).
OpenResult DescribeOpenRefusal(int error, const std::string& devicePath, const std::string& group = {},
                               bool groupMayUse = false);
