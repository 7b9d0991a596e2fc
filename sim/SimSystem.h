#pragma once

#include "GatewayServer.h"

#include <memory>
#include <string>

// What halvex-gateway-sim needs of its system besides TCP (which platform/
// gives alike everywhere): being told to stop, and the pseudo-terminal with
// its symbolic link. POSIX (SimSystemPosix.cpp): SIGINT and SIGTERM stop it,
// and the terminal is served on the calling thread. Windows
// (SimSystemWindows.cpp) has no pseudo-terminal, so there the simulator
// serves TCP clients only; the console's Ctrl-C stops it.
class SimSystem {
public:
    SimSystem();
    // Removes the link made by OpenTerminal.
    ~SimSystem();
    SimSystem(const SimSystem&) = delete;
    SimSystem& operator=(const SimSystem&) = delete;

    // Whether this system has a pseudo-terminal to serve.
    static bool HasTerminal();

    // Catches the requests to stop from now on; false with a reason when it
    // cannot.
    bool CatchStop(std::string& error);
    // Opens the pseudo-terminal and, unless linkPath is empty, makes it a
    // symbolic link to the terminal (replacing an existing symbolic link,
    // never anything else); false with a reason.
    bool OpenTerminal(const std::string& linkPath, std::string& error);
    // The device path of the terminal side.
    std::string TerminalPath() const;
    // Serves the terminal until told to stop.
    void ServeTerminal(GatewayServer& server);
    // Returns when told to stop.
    void WaitForStop();

private:
    struct State;
    std::unique_ptr<State> state_;
};
