#pragma once

#include "CliRunner.h"
#include "InMemoryGateway.h"
#include "ProcessRunner.h"

#include <sstream>
#include <string>
#include <vector>

// Runs halvex-cli's command line in this process and collects the exit
// status and both output streams. Device commands talk to the gateway in
// memory when one is given, on a virtual clock; the profile is the file
// named (none: an empty one).
// The same with a responder of the test's own in the gateway's place.
inline ProcessResult Cli(const std::vector<std::string>& arguments, InMemoryTransport::Responder responder,
                         const std::string& profile = "/nonexistent/profile.conf")
{
    std::ostringstream out;
    std::ostringstream err;
    VirtualClock clock;
    InMemoryTransport transport(clock);
    transport.SetMissingPath("/dev/does-not-exist");
    const bool device = static_cast<bool>(responder);
    if (device) {
        transport.SetResponder(std::move(responder));
    }
    const CliEnvironment environment{out, err, profile, device ? &transport : nullptr, &clock};
    ProcessResult result;
    result.ExitStatus = RunCli(arguments, environment);
    result.Out = out.str();
    result.Err = err.str();
    return result;
}

inline ProcessResult Cli(const std::vector<std::string>& arguments, InMemoryGateway* gateway = nullptr,
                         const std::string& profile = "/nonexistent/profile.conf")
{
    return Cli(arguments, gateway != nullptr ? gateway->Responder() : InMemoryTransport::Responder(), profile);
}
