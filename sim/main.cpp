// halvex-gateway-sim: the gateway's side of the serial protocol on a
// pseudo-terminal, to run and test every device operation without hardware.
#include "FileAccess.h"
#include "GatewayEngine.h"
#include "GatewayServer.h"
#include "GatewayStore.h"
#include "PseudoTerminal.h"
#include "SimOptions.h"

#include <csignal>
#include <iostream>
#include <sys/signalfd.h>
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
    if (stopFd < 0 || (!options->StateDirectory.empty() && !store.UseDirectory(options->StateDirectory, error)) ||
        !terminal.Open(error) ||
        (!options->LinkPath.empty() && !MakeLink(options->LinkPath, terminal.TerminalPath(), error))) {
        std::cerr << "halvex-gateway-sim: " << (error.empty() ? "cannot catch signals" : error) << '\n';
        return 1;
    }
    std::cout << terminal.TerminalPath() << std::endl;

    GatewayEngine engine(store, options->Faults, options->Settings);
    GatewayServer server(engine, terminal.ControlFd(), options->LineRate);
    server.Serve(stopFd);

    if (!options->LinkPath.empty()) {
        ::unlink(options->LinkPath.c_str());
    }
    ::close(stopFd);
    return 0;
}
