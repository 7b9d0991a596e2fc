// halvex-cli commands that talk to the gateway or build its device image.
#include "CliCommand.h"

std::vector<CliCommand> DeviceCommands() { return {}; }
