#pragma once

#include "ConfigTemplate.h"

#include <string>
#include <vector>

// A configuration with points of slaves 1 and 5 in every list; what the
// point list shows of it for slave 5 is written out in the tests.
ConfigTemplate SampleConfiguration();

// The point list lines of slave 5 of the sample, as the user sees them.
const std::vector<std::string>& SampleSlaveFiveLines();

// A configuration with points of every kind on two slaves (5 and 9), as the
// device operations and the gateway simulator are tested with.
ConfigTemplate TwoSlaveConfiguration();
