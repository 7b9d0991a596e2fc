#pragma once

#include "Clock.h"
#include "Transport.h"

#include <iosfwd>
#include <string>
#include <vector>

// What a run of halvex-cli works with besides its arguments.
struct CliEnvironment {
    std::ostream& Out;
    std::ostream& Err;
    // The profile file to read settings from; empty: the user's profile,
    // the window program's own.
    std::string ProfilePath;
    // The device commands' line; null: the serial port that --port names.
    Transport* PortTransport = nullptr;
    Clock* PortClock = nullptr;
    // The tree with sys/ and dev/ in which serial devices are looked for.
    std::string SystemRoot = "/";
    // The operations log; empty: the user's own (OperationsLogPath()).
    std::string OperationsLogPath = {};
};

// Runs the command line (without the program name) and returns the exit
// status: 0 success, 1 the operation failed, 2 usage error.
int RunCli(const std::vector<std::string>& arguments, const CliEnvironment& environment);
