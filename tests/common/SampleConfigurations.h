#pragma once

#include "ConfigTemplate.h"

#include <memory>
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

// A configuration that uses every field of every record kind.
std::unique_ptr<ConfigTemplate> EveryFieldConfiguration();

// A configuration filled to every capacity: 256 points in each of the four
// point lists and the given number of indirect messages, the points spread
// over slave addresses 1 to slaveCount.
std::unique_ptr<ConfigTemplate> CapacityConfiguration(int slaveCount, int indirectMessages);
