// The window program left alone: halvex is started under an X server (the one
// of DISPLAY, else an Xvfb of its own), and once its main window is there it
// is watched for 10 s. Reported: the program's processor time over that time
// as a share of one core (from /proc/PID/stat), the PropertyNotify events of
// its top-level window, and among them the changes of its title (WM_NAME,
// _NET_WM_NAME). An idle program does nothing: no time, no title changes.
// HALVEX_PROGRAM names another build of the program to watch.
#include "TestFiles.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kIdleTime = std::chrono::seconds(10);
constexpr auto kSettleTime = std::chrono::seconds(1);
constexpr auto kStartTimeout = std::chrono::seconds(20);

pid_t Spawn(const std::vector<std::string>& arguments, int keepFd = -1)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (keepFd >= 0) {
        // Without FD_CLOEXEC after a dup onto itself: the child keeps it.
        posix_spawn_file_actions_adddup2(&actions, keepFd, keepFd);
    }
    pid_t child = 0;
    const int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? child : -1;
}

void Stop(pid_t child)
{
    if (child > 0) {
        ::kill(child, SIGTERM);
        ::waitpid(child, nullptr, 0);
    }
}

// An Xvfb of its own: the display number it chose, read from -displayfd.
std::optional<std::string> StartXvfb(pid_t& server)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return std::nullopt;
    }
    server = Spawn({"Xvfb", "-displayfd", std::to_string(pipeEnds[1]), "-screen", "0", "1024x768x24", "-nolisten",
                    "tcp"},
                   pipeEnds[1]);
    ::close(pipeEnds[1]);
    std::string number;
    pollfd waiting{pipeEnds[0], POLLIN, 0};
    char c = 0;
    while (::poll(&waiting, 1, 10000) > 0 && ::read(pipeEnds[0], &c, 1) == 1 && c != '\n') {
        number += c;
    }
    ::close(pipeEnds[0]);
    if (server < 0 || number.empty()) {
        return std::nullopt;
    }
    return ":" + number;
}

// User and system time of the process, in seconds.
double ProcessorSeconds(pid_t process)
{
    std::ifstream stat("/proc/" + std::to_string(process) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The fields after the command name in parentheses; utime and stime are
    // fields 14 and 15, the 12th and 13th after it.
    std::istringstream rest(text.substr(text.rfind(')') + 2));
    std::string field;
    unsigned long long utime = 0;
    unsigned long long stime = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i) {
        if (i == 14) {
            utime = std::stoull(field);
        } else if (i == 15) {
            stime = std::stoull(field);
        }
    }
    return static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

std::string WindowName(Display* display, Window window)
{
    char* name = nullptr;
    std::string result;
    if (XFetchName(display, window, &name) != 0 && name != nullptr) {
        result = name;
        XFree(name);
    }
    return result;
}

// The window (at any depth, a window manager's frame included) whose name
// ends in the application title.
Window FindMainWindow(Display* display, Window parent)
{
    const std::string suffix = "Halvex Configuration Tool";
    const std::string name = WindowName(display, parent);
    if (name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
        return parent;
    }
    Window root = 0;
    Window up = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (XQueryTree(display, parent, &root, &up, &children, &count) != 0) {
        for (unsigned int i = 0; i < count && found == 0; ++i) {
            found = FindMainWindow(display, children[i]);
        }
        XFree(children);
    }
    return found;
}

struct IdleFigures {
    double ProcessorShare = 0;
    int PropertyChanges = 0;
    int TitleChanges = 0;
};

// Watches the window for the idle time; the program's processor share over it.
IdleFigures WatchIdle(Display* display, Window window, pid_t program)
{
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    XSelectInput(display, window, PropertyChangeMask);
    XSync(display, False);
    IdleFigures figures;
    const double cpuStart = ProcessorSeconds(program);
    const auto start = Clock::now();
    const auto end = start + kIdleTime;
    pollfd connection{XConnectionNumber(display), POLLIN, 0};
    for (auto now = start; now < end; now = Clock::now()) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == PropertyNotify) {
                ++figures.PropertyChanges;
                figures.TitleChanges += event.xproperty.atom == XA_WM_NAME || event.xproperty.atom == netName;
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - now).count();
        ::poll(&connection, 1, static_cast<int>(std::max<long long>(1, left)));
    }
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    figures.ProcessorShare = (ProcessorSeconds(program) - cpuStart) / elapsed;
    return figures;
}

void BM_IdleWindowProgram(benchmark::State& state)
{
    pid_t server = -1;
    std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    if (display.empty()) {
        const auto started = StartXvfb(server);
        if (!started) {
            state.SkipWithError("no X server: DISPLAY is not set and Xvfb cannot be started");
            Stop(server);
            return;
        }
        display = *started;
    }
    TemporaryDirectory profile;
    ::setenv("DISPLAY", display.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    ::setenv("XDG_CONFIG_HOME", profile.Path().c_str(), 1);
    Display* connection = XOpenDisplay(display.c_str());
    const char* other = std::getenv("HALVEX_PROGRAM");
    const pid_t program = connection != nullptr ? Spawn({other != nullptr ? other : HALVEX_PATH}) : -1;
    Window window = 0;
    for (auto deadline = Clock::now() + kStartTimeout; program > 0 && window == 0 && Clock::now() < deadline;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        window = FindMainWindow(connection, XDefaultRootWindow(connection));
    }
    if (window == 0) {
        state.SkipWithError("the main window of halvex did not appear");
    } else {
        std::this_thread::sleep_for(kSettleTime);
        IdleFigures figures;
        for (auto _ : state) {
            figures = WatchIdle(connection, window, program);
        }
        state.counters["cpu_percent"] = figures.ProcessorShare * 100.0;
        state.counters["property_changes"] = figures.PropertyChanges;
        state.counters["title_changes"] = figures.TitleChanges;
    }
    Stop(program);
    if (connection != nullptr) {
        XCloseDisplay(connection);
    }
    Stop(server);
}
BENCHMARK(BM_IdleWindowProgram)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
