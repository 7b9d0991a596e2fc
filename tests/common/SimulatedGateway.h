#pragma once

#include "GatewayEngine.h"
#include "GatewayServer.h"
#include "GatewayStore.h"
#include "PseudoTerminal.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

// Stops a serving thread through an eventfd and joins it.
class ServingThread {
public:
    ServingThread() : stopFd_(::eventfd(0, EFD_CLOEXEC)) {}
    ~ServingThread() { Stop(); ::close(stopFd_); }
    ServingThread(const ServingThread&) = delete;
    ServingThread& operator=(const ServingThread&) = delete;

    template <typename Body>
    void Start(Body body)
    {
        thread_ = std::thread([this, body] { body(stopFd_); });
    }
    void Stop()
    {
        if (thread_.joinable()) {
            const std::uint64_t one = 1;
            (void)!::write(stopFd_, &one, sizeof one);
            thread_.join();
        }
    }

private:
    int stopFd_;
    std::thread thread_;
};

// The gateway simulator's engine and server on a pseudo-terminal, served by
// a thread of the test process.
class SimulatedGateway {
public:
    explicit SimulatedGateway(const std::vector<std::string>& faults = {}, GatewaySettings settings = {},
                              int lineRate = 0, const std::string& stateDirectory = {})
    {
        for (const std::string& fault : faults) {
            faults_.Add(fault);
        }
        std::string error;
        if (!stateDirectory.empty()) {
            store_.UseDirectory(stateDirectory, error);
        }
        terminal_.Open(error);
        engine_ = std::make_unique<GatewayEngine>(store_, faults_, settings);
        server_ = std::make_unique<GatewayServer>(*engine_, terminal_.ControlFd(), lineRate);
        serving_.Start([this](int stopFd) { server_->Serve(stopFd); });
    }
    ~SimulatedGateway() { serving_.Stop(); }

    const std::string& Path() const { return terminal_.TerminalPath(); }
    int RequestsReceived() const { return server_->RequestsReceived(); }
    // Read it only while no operation runs.
    GatewayStore& Store() { return store_; }

private:
    GatewayStore store_;
    FaultQueue faults_;
    PseudoTerminal terminal_;
    std::unique_ptr<GatewayEngine> engine_;
    std::unique_ptr<GatewayServer> server_;
    ServingThread serving_;
};

// A peer on a pseudo-terminal that records every request frame it receives
// and answers it with whatever bytes the test's responder returns.
class ScriptedPeer {
public:
    using Frame = std::vector<std::uint8_t>;
    using Responder = std::function<Frame(const Frame& request, int index)>;

    explicit ScriptedPeer(Responder responder) : responder_(std::move(responder))
    {
        std::string error;
        terminal_.Open(error);
        serving_.Start([this](int stopFd) { Serve(stopFd); });
    }
    ~ScriptedPeer() { serving_.Stop(); }

    const std::string& Path() const { return terminal_.TerminalPath(); }
    std::vector<Frame> Frames() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return frames_;
    }

private:
    void Serve(int stopFd)
    {
        Frame pending;
        for (;;) {
            pollfd fds[2] = {{stopFd, POLLIN, 0}, {terminal_.ControlFd(), POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0 || (fds[0].revents & POLLIN) != 0) {
                return;
            }
            std::uint8_t buffer[2048];
            const ssize_t got = ::read(terminal_.ControlFd(), buffer, sizeof buffer);
            if (got > 0) {
                pending.insert(pending.end(), buffer, buffer + got);
            }
            while (pending.size() >= 2 && pending.size() >= static_cast<std::size_t>((pending[0] << 8) | pending[1])) {
                const std::size_t length = static_cast<std::size_t>((pending[0] << 8) | pending[1]);
                if (length == 0) {
                    pending.clear();
                    break;
                }
                const Frame frame(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(length));
                pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(length));
                int index = 0;
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    frames_.push_back(frame);
                    index = static_cast<int>(frames_.size()) - 1;
                }
                const Frame reply = responder_(frame, index);
                if (!reply.empty()) {
                    (void)!::write(terminal_.ControlFd(), reply.data(), reply.size());
                }
            }
        }
    }

    Responder responder_;
    PseudoTerminal terminal_;
    mutable std::mutex mutex_;
    std::vector<Frame> frames_;
    ServingThread serving_;
};
