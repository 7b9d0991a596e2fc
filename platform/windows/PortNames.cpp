#include "PortNames.h"

std::string DefaultComPortDevice(int comPort) { return "\\\\.\\COM" + std::to_string(comPort); }

int HighestComPortNumber() { return 256; }
