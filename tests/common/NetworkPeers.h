#pragma once

#include "SimProcess.h"
#include "TcpSocket.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

// Peers on the loopback interface for the network ports: a TCP server of the
// test's own on a thread, and programs (ser2net, socat) that the test starts
// and stops.

// A port on 127.0.0.1 that nothing listens on just now.
inline int FreeTcpPort()
{
    TcpListener probe;
    probe.Listen("127.0.0.1", 0);
    return probe.Port();
}

// True when something listens on 127.0.0.1:port (IPv4 table of the kernel).
inline bool Listening(int port)
{
    char wanted[32];
    std::snprintf(wanted, sizeof wanted, "0100007F:%04X", port);
    std::ifstream table("/proc/net/tcp");
    std::string line;
    while (std::getline(table, line)) {
        if (line.find(wanted) != std::string::npos && line.find(" 0A ") != std::string::npos) {
            return true;
        }
    }
    return false;
}

// A server on 127.0.0.1 that hands each client, one after the other, to the
// function; it stops when destroyed.
class TestTcpServer {
public:
    using Handler = std::function<void(TcpSocket& client, const std::atomic<bool>& stop)>;

    explicit TestTcpServer(Handler handler) : handler_(std::move(handler))
    {
        listener_.Listen("127.0.0.1", 0);
        thread_ = std::thread([this] {
            while (!stop_) {
                TcpSocket client = listener_.Accept(20);
                if (client.IsOpen()) {
                    handler_(client, stop_);
                    ++served_;
                }
            }
        });
    }
    ~TestTcpServer()
    {
        stop_ = true;
        thread_.join();
    }
    TestTcpServer(const TestTcpServer&) = delete;
    TestTcpServer& operator=(const TestTcpServer&) = delete;

    std::string Address(const std::string& scheme) const
    {
        return scheme + "://127.0.0.1:" + std::to_string(listener_.Port());
    }
    int Served() const { return served_; }

private:
    Handler handler_;
    TcpListener listener_;
    std::atomic<bool> stop_{false};
    std::atomic<int> served_{0};
    std::thread thread_;
};

// Receives from the client until `count` bytes came, the client left or the
// milliseconds passed.
inline std::vector<std::uint8_t> ReceiveBytes(TcpSocket& client, std::size_t count, int milliseconds)
{
    std::vector<std::uint8_t> bytes;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    std::uint8_t chunk[512];
    while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
        if (!client.WaitReadable(10)) {
            continue;
        }
        const long got = client.Receive(chunk, std::min(sizeof chunk, count - bytes.size()));
        if (got < 0) {
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return bytes;
}

// A program started by the test with its output thrown away, stopped with
// SIGTERM when destroyed; Start waits until it listens on the port.
class PeerProcess {
public:
    PeerProcess(std::vector<std::string> argv, int port) : port_(port)
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        std::vector<char*> words;
        for (std::string& word : argv) {
            words.push_back(word.data());
        }
        words.push_back(nullptr);
        if (::posix_spawnp(&pid_, words[0], &actions, nullptr, words.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        for (int waited = 0; pid_ > 0 && waited < 500 && !Listening(port_); ++waited) {
            ::usleep(10000);
        }
    }
    ~PeerProcess()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    bool Running() const { return pid_ > 0 && Listening(port_); }
    int Port() const { return port_; }

private:
    pid_t pid_ = -1;
    int port_;
};

// ser2net in front of a serial device (the simulator's terminal), listening
// on 127.0.0.1 for RFC 2217 (Telnet) or raw TCP clients, without its
// character delay; its configuration is written beside the test.
inline std::vector<std::string> Ser2netCommand(const std::string& configPath, const std::string& device, int port,
                                               bool rfc2217)
{
    std::ofstream config(configPath);
    config << "%YAML 1.1\n---\nconnection: &gateway\n"
           << "  accepter: " << (rfc2217 ? "telnet(rfc2217),tcp," : "tcp,") << "127.0.0.1," << port << "\n"
           << "  connector: serialdev," << device << ",38400n81,local\n"
           << "  options:\n    chardelay: false\n";
    return {"ser2net", "-n", "-d", "-c", configPath};
}

// socat between raw TCP clients on 127.0.0.1 and the device, one at a time.
inline std::vector<std::string> SocatCommand(const std::string& device, int port)
{
    return {"socat", "TCP-LISTEN:" + std::to_string(port) + ",bind=127.0.0.1,reuseaddr,fork",
            "FILE:" + device + ",raw,echo=0"};
}

// halvex-gateway-sim with the options, reached through a server on loopback:
// "listener" (its own --listen, no terminal), "socat", "ser2net-raw" or
// "ser2net-rfc2217" in front of its terminal, or "pty" (the terminal itself).
// ser2net's configuration goes into the directory.
struct SimBehindServer {
    SimBehindServer(const std::string& kind, std::vector<std::string> options, const std::string& directory)
    {
        if (kind == "listener") {
            options.insert(options.end(), {"--listen", "127.0.0.1:0", "--no-pty"});
            sim = std::make_unique<SimProcess>(options);
            address = sim->Address();
            return;
        }
        sim = std::make_unique<SimProcess>(options);
        if (kind == "pty") {
            address = sim->Path();
            return;
        }
        const int port = FreeTcpPort();
        const bool rfc2217 = kind == "ser2net-rfc2217";
        server = std::make_unique<PeerProcess>(
            kind == "socat" ? SocatCommand(sim->Path(), port)
                            : Ser2netCommand(directory + "/ser2net.yaml", sim->Path(), port, rfc2217),
            port);
        address = (rfc2217 ? "rfc2217://127.0.0.1:" : "socket://127.0.0.1:") + std::to_string(port);
    }
    bool Running() const { return !address.empty() && (!server || server->Running()); }

    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<PeerProcess> server;
    std::string address;
};
