#include "SimSystem.h"

#include "PseudoTerminal.h"
#include "TerminalLine.h"

#include <csignal>
#include <poll.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

struct SimSystem::State {
    // SIGINT and SIGTERM arrive here instead of as signals.
    int StopFd = -1;
    PseudoTerminal Terminal;
    std::string LinkPath;  // the link made, to remove
};

SimSystem::SimSystem() : state_(std::make_unique<State>()) {}

SimSystem::~SimSystem()
{
    if (!state_->LinkPath.empty()) {
        ::unlink(state_->LinkPath.c_str());
    }
    if (state_->StopFd >= 0) {
        ::close(state_->StopFd);
    }
}

bool SimSystem::HasTerminal() { return true; }

bool SimSystem::CatchStop(std::string& error)
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    if (::sigprocmask(SIG_BLOCK, &signals, nullptr) == 0) {
        state_->StopFd = ::signalfd(-1, &signals, SFD_CLOEXEC);
    }
    if (state_->StopFd < 0) {
        error = "cannot catch signals";
        return false;
    }
    return true;
}

bool SimSystem::OpenTerminal(const std::string& linkPath, std::string& error)
{
    if (!state_->Terminal.Open(error)) {
        return false;
    }
    if (linkPath.empty()) {
        return true;
    }
    struct stat info {};
    if (::lstat(linkPath.c_str(), &info) == 0) {
        if (!S_ISLNK(info.st_mode)) {
            error = linkPath + " exists and is not a symbolic link";
            return false;
        }
        ::unlink(linkPath.c_str());
    }
    if (::symlink(state_->Terminal.TerminalPath().c_str(), linkPath.c_str()) != 0) {
        error = "cannot create the link " + linkPath;
        return false;
    }
    state_->LinkPath = linkPath;
    return true;
}

std::string SimSystem::TerminalPath() const { return state_->Terminal.TerminalPath(); }

void SimSystem::ServeTerminal(GatewayServer& server)
{
    TerminalLine line(state_->Terminal.ControlFd(), state_->StopFd);
    server.Serve(line);
}

void SimSystem::WaitForStop()
{
    pollfd stop{state_->StopFd, POLLIN, 0};
    while (::poll(&stop, 1, -1) <= 0 || (stop.revents & POLLIN) == 0) {
    }
}
