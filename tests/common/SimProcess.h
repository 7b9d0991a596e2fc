#pragma once

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// The halvex-gateway-sim program running beside the test: started with the
// given options, its terminal path read from the first line it prints (and
// with --listen its socket:// address from the next), and stopped with
// SIGTERM.
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& options)
    {
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        std::vector<std::string> words{HALVEX_SIM_PATH};
        words.insert(words.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        const bool spawned = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        if (!spawned) {
            pid_ = -1;
            ::close(out[0]);
            return;
        }
        out_ = out[0];
        path_ = ReadLine(5000);
        const auto has = [&](const char* option) {
            return std::find(options.begin(), options.end(), option) != options.end();
        };
        if (has("--no-pty")) {
            address_ = std::move(path_);
            path_.clear();
        } else if (has("--listen")) {
            address_ = ReadLine(5000);
        }
    }
    ~SimProcess() { Stop(); }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& Path() const { return path_; }
    const std::string& Address() const { return address_; }
    pid_t Pid() const { return pid_; }

    // Sends SIGTERM and returns the exit status (-1 when it did not exit
    // normally within five seconds).
    int Stop(int signal = SIGTERM)
    {
        if (pid_ > 0) {
            ::kill(pid_, signal);
            status_ = -1;
            for (int waited = 0; waited < 500; ++waited) {
                int status = 0;
                if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
                    pid_ = -1;
                    break;
                }
                ::usleep(10000);
            }
            if (pid_ > 0) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, nullptr, 0);
                pid_ = -1;
            }
        }
        if (out_ >= 0) {
            ::close(out_);
            out_ = -1;
        }
        return status_;
    }

private:
    std::string ReadLine(int timeoutMs)
    {
        std::string line;
        char c = 0;
        pollfd wait{out_, POLLIN, 0};
        while (::poll(&wait, 1, timeoutMs) > 0 && ::read(out_, &c, 1) == 1 && c != '\n') {
            line += c;
        }
        return line;
    }

    pid_t pid_ = -1;
    int out_ = -1;
    int status_ = -1;
    std::string path_;
    std::string address_;
};
