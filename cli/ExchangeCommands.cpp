// halvex-cli commands of the exchange formats: CSV export, XRF import, print.
#include "CliCommand.h"

std::vector<CliCommand> ExchangeCommands() { return {}; }
