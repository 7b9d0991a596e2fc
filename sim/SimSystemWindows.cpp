#include "SimSystem.h"

#include "InterruptCancel.h"

#include <chrono>
#include <thread>

namespace {

// How often the wait for a stop looks at the Ctrl-C flag.
constexpr std::chrono::milliseconds kStopSlice{50};

}  // namespace

struct SimSystem::State {
    std::unique_ptr<InterruptCancel> CtrlC;
};

SimSystem::SimSystem() : state_(std::make_unique<State>()) {}

SimSystem::~SimSystem() = default;

bool SimSystem::HasTerminal() { return false; }

// The console's Ctrl-C (and Ctrl-Break) only raise a flag from now on.
bool SimSystem::CatchStop(std::string&)
{
    state_->CtrlC = std::make_unique<InterruptCancel>();
    return true;
}

bool SimSystem::OpenTerminal(const std::string&, std::string& error)
{
    error = "Windows has no pseudo-terminal";
    return false;
}

std::string SimSystem::TerminalPath() const { return {}; }

void SimSystem::ServeTerminal(GatewayServer&) {}

void SimSystem::WaitForStop()
{
    while (!state_->CtrlC->Flag().load()) {
        std::this_thread::sleep_for(kStopSlice);
    }
}
