// halvex-gateway-sim: the gateway's side of the serial protocol on a
// pseudo-terminal and, with --listen, over raw TCP, to run and test every
// device operation without hardware. Where the system has no pseudo-terminal
// (Windows) it serves TCP clients only. What differs between systems is
// behind SimSystem.
#include "FileAccess.h"
#include "GatewayEngine.h"
#include "GatewayServer.h"
#include "GatewayStore.h"
#include "SimOptions.h"
#include "SimSystem.h"
#include "TcpGatewayLine.h"

#include <atomic>
#include <iostream>
#include <mutex>
#include <thread>

int main(int argc, char** argv)
{
    IgnoreFileSizeSignal();
    std::string error;
    const bool hasTerminal = SimSystem::HasTerminal();
    auto options = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), error, hasTerminal);
    if (!options) {
        std::cerr << "halvex-gateway-sim: " << error << '\n' << SimUsage(hasTerminal);
        return 2;
    }
    if (options->Help) {
        std::cout << SimUsage(hasTerminal);
        return 0;
    }
    SimSystem system;
    GatewayStore store;
    TcpListener listener;
    bool ready = system.CatchStop(error);
    if (ready && options->Listen) {
        if (const NetResult listening = listener.Listen(options->Listen->Host, options->Listen->Port); !listening.Ok()) {
            error = "cannot listen on " + options->Listen->Host + ":" + std::to_string(options->Listen->Port) + ": " +
                    listening.Reason;
            ready = false;
        }
    }
    if (!ready || (!options->StateDirectory.empty() && !store.UseDirectory(options->StateDirectory, error)) ||
        (options->Terminal && !system.OpenTerminal(options->LinkPath, error))) {
        std::cerr << "halvex-gateway-sim: " << error << '\n';
        return 1;
    }
    if (options->Terminal) {
        std::cout << system.TerminalPath() << std::endl;
    }
    std::mutex engineLock;
    std::atomic<bool> stop{false};
    GatewayEngine engine(store, options->Faults, options->Settings);
    std::thread tcpClients;
    if (options->Listen) {
        NetworkAddress shown = *options->Listen;
        shown.Port = listener.Port();
        std::cout << FormatNetworkAddress(shown) << std::endl;
        tcpClients = std::thread([&] {
            ServeTcpClients(listener, stop, [&](GatewayLine& line) {
                GatewayServer server(engine, options->LineRate, &engineLock);
                server.Serve(line);
            });
        });
    }
    if (options->Terminal) {
        GatewayServer server(engine, options->LineRate, &engineLock);
        system.ServeTerminal(server);
    } else {
        system.WaitForStop();
    }
    stop = true;
    if (tcpClients.joinable()) {
        tcpClients.join();
    }
    return 0;
}
