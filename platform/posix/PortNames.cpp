#include "PortNames.h"

std::string DefaultComPortDevice(int comPort) { return "/dev/ttyS" + std::to_string(comPort - 1); }

int HighestComPortNumber() { return 4; }
