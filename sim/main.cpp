// halvex-gateway-sim: the gateway's side of the serial protocol on a
// pseudo-terminal and, with --listen, over raw TCP, to run and test every
// device operation without hardware.
#include "FileAccess.h"
#include "GatewayEngine.h"
#include "GatewayServer.h"
#include "GatewayStore.h"
#include "PseudoTerminal.h"
#include "SimOptions.h"
#include "TcpGatewayLine.h"
#include "TerminalLine.h"

#include <atomic>
#include <csignal>
#include <iostream>
#include <mutex>
#include <poll.h>
#include <sys/signalfd.h>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Points the link at the terminal; an existing symbolic link is replaced,
// anything else at that path is left alone.
bool MakeLink(const std::string& link, const std::string& target, std::string& error)
{
    struct stat info {};
    if (::lstat(link.c_str(), &info) == 0) {
        if (!S_ISLNK(info.st_mode)) {
            error = link + " exists and is not a symbolic link";
            return false;
        }
        ::unlink(link.c_str());
    }
    if (::symlink(target.c_str(), link.c_str()) != 0) {
        error = "cannot create the link " + link;
        return false;
    }
    return true;
}

// SIGINT and SIGTERM arrive on a descriptor that stops the server.
int StopSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    if (::sigprocmask(SIG_BLOCK, &signals, nullptr) != 0) {
        return -1;
    }
    return ::signalfd(-1, &signals, SFD_CLOEXEC);
}

void WaitForStop(int stopFd)
{
    pollfd stop{stopFd, POLLIN, 0};
    while (::poll(&stop, 1, -1) <= 0 || (stop.revents & POLLIN) == 0) {
    }
}

}  // namespace

int main(int argc, char** argv)
{
    IgnoreFileSizeSignal();
    std::string error;
    auto options = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "halvex-gateway-sim: " << error << '\n' << kSimUsage;
        return 2;
    }
    if (options->Help) {
        std::cout << kSimUsage;
        return 0;
    }
    const int stopFd = StopSignals();
    GatewayStore store;
    PseudoTerminal terminal;
    TcpListener listener;
    if (options->Listen) {
        if (const NetResult listening = listener.Listen(options->Listen->Host, options->Listen->Port); !listening.Ok()) {
            error = "cannot listen on " + options->Listen->Host + ":" + std::to_string(options->Listen->Port) + ": " +
                    listening.Reason;
        }
    }
    if (stopFd < 0 || !error.empty() ||
        (!options->StateDirectory.empty() && !store.UseDirectory(options->StateDirectory, error)) ||
        (options->Terminal && !terminal.Open(error)) ||
        (!options->LinkPath.empty() && options->Terminal && !MakeLink(options->LinkPath, terminal.TerminalPath(), error))) {
        std::cerr << "halvex-gateway-sim: " << (error.empty() ? "cannot catch signals" : error) << '\n';
        return 1;
    }
    if (options->Terminal) {
        std::cout << terminal.TerminalPath() << std::endl;
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
        TerminalLine line(terminal.ControlFd(), stopFd);
        server.Serve(line);
    } else {
        WaitForStop(stopFd);
    }
    stop = true;
    if (tcpClients.joinable()) {
        tcpClients.join();
    }

    if (!options->LinkPath.empty() && options->Terminal) {
        ::unlink(options->LinkPath.c_str());
    }
    ::close(stopFd);
    return 0;
}
