#pragma once

#include "GatewayEngine.h"
#include "GatewayFaults.h"
#include "NetworkAddress.h"

#include <optional>
#include <string>
#include <vector>

// The command line of halvex-gateway-sim.
struct SimOptions {
    std::string LinkPath;   // symbolic link to the terminal side; empty for none
    std::string StateDirectory;
    GatewaySettings Settings;
    int LineRate = 0;       // baud; 0 answers as fast as the terminal allows
    FaultQueue Faults;
    std::optional<NetworkAddress> Listen;  // serve TCP clients there too
    bool Terminal = true;                  // false: no pseudo-terminal, TCP alone
    bool Help = false;
};

// The usage text: the one with the pseudo-terminal, or the one of a system
// without (Windows), where --listen is required.
std::string SimUsage(bool hasTerminal = true);

// No value (and a message in `error`) for an unknown option, a missing or
// malformed value. Without a pseudo-terminal on the system, the options ask
// for TCP alone: --listen is required, --no-pty changes nothing and --link
// is a mistake.
std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& words, std::string& error,
                                          bool hasTerminal = true);
