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

inline constexpr const char* kSimUsage =
    "usage: halvex-gateway-sim [--link PATH] [--firmware MAJOR.MINOR.BUILD] [--reply-block N]\n"
    "                          [--line-rate BAUD] [--fault KIND[:COUNT]]... [--state DIR]\n"
    "                          [--listen HOST:PORT [--no-pty]]\n"
    "\n"
    "Simulates the gateway on a pseudo-terminal; prints the terminal's path on the first line.\n"
    "  --link PATH          also make PATH a symbolic link to the terminal\n"
    "  --firmware M.m.b     the firmware version it reports (default 1.5.12)\n"
    "  --reply-block N      data bytes per reply block, 1 to 1000 (default 292); a reply\n"
    "                       that needs more than 255 blocks is refused with the error bit\n"
    "  --line-rate BAUD     pace reading and replies like a serial line of that baud rate\n"
    "  --fault KIND[:COUNT] damage the next COUNT replies (default 1); faults apply in order:\n"
    "                       bad-crc silence error-bit retry-bit short oversize-length\n"
    "                       zero-block-count trailing-bytes\n"
    "  --state DIR          keep configuration, archive and diagnostics in DIR across runs\n"
    "  --listen HOST:PORT   also serve raw TCP clients there, one at a time ([::1]:PORT for\n"
    "                       IPv6, port 0 for any free one); prints socket://HOST:PORT on the\n"
    "                       line after the terminal's path\n"
    "  --no-pty             serve TCP alone, without a pseudo-terminal\n";

// No value (and a message in `error`) for an unknown option, a missing or
// malformed value.
std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& words, std::string& error);
