// The main view's RefillPointList for a configuration filled to capacity, and
// the window program's start-up to its first shown window. Without DISPLAY
// the offscreen platform is used; under an X server (for example inside
// xvfb-run) the real one.
#include "BenchApplication.h"
#include "CCompanionListBox.h"
#include "CQuorvinApp.h"
#include "CQuorvinDoc.h"
#include "CQuorvinView.h"
#include "ConfigFile.h"
#include "SampleConfigurations.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::string BenchDirectory()
{
    const std::string directory =
        (std::filesystem::temp_directory_path() / ("halvex-window-bench-" + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(directory);
    return directory;
}

// 16 slaves whose points stay within the areas' 240 bytes (no warning at
// start), and 127 indirect messages.
ConfigTemplate StartUpConfiguration()
{
    ConfigTemplate config;
    for (int slave = 1; slave <= kMaxSlaves; ++slave) {
        for (int i = 0; i < 4; ++i) {
            AnalogInputPoint analogInput;
            analogInput.SlaveAddress = slave;
            analogInput.Description = "Current " + std::to_string(i);
            analogInput.Address = "0I" + std::to_string(i);
            config.AnalogInputs.Append(analogInput);
            DigitalInputPoint digitalInput;
            digitalInput.SlaveAddress = slave;
            digitalInput.Description = "State " + std::to_string(i);
            digitalInput.Address = "1/1I" + std::to_string(i) + "/" + std::to_string(i);
            digitalInput.DataType = "S";
            config.DigitalInputs.Append(digitalInput);
            DigitalOutputPoint digitalOutput;
            digitalOutput.SlaveAddress = slave;
            digitalOutput.Description = "Command " + std::to_string(i);
            digitalOutput.Address = "1O" + std::to_string(i);
            digitalOutput.DataType = "B";
            config.DigitalOutputs.Append(digitalOutput);
        }
        for (int i = 0; i < 2; ++i) {
            AnalogOutputPoint analogOutput;
            analogOutput.SlaveAddress = slave;
            analogOutput.Description = "Setpoint " + std::to_string(i);
            analogOutput.Address = "0S" + std::to_string(i);
            config.AnalogOutputs.Append(analogOutput);
        }
    }
    for (int i = 0; i < kMaxIndirectMessages; ++i) {
        IndirectSpaMessage message;
        message.SlaveAddress = 1 + i % kMaxSlaves;
        message.Description = "Message " + std::to_string(i);
        config.IndirectMessages.Append(message);
    }
    return config;
}

void BM_RefillPointListAtCapacity(benchmark::State& state)
{
    BenchApplication();
    const std::string directory = BenchDirectory();
    const std::string file = directory + "/full.hxc";
    // Every line of the list is shown: all points belong to one slave.
    WriteConfigFile(*CapacityConfiguration(1, kMaxIndirectMessages), file, false);
    // The size warnings of the first fill are closed as they come.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialog->accept();
        }
    });
    closer.start(5);
    CQuorvinApp app(ParseStartOptions({"halvex", file}),
                    std::make_unique<ProfileStore>(QString::fromStdString(directory + "/profile.ini")));
    app.InitInstance();
    closer.stop();
    for (auto _ : state) {
        app.View().RefillPointList();
    }
    state.counters["lines"] = app.View().PointList()->Count();
    std::filesystem::remove_all(directory);
}
BENCHMARK(BM_RefillPointListAtCapacity)->Unit(benchmark::kMillisecond);

// From starting the program to its first shown window, which it reports
// with --describe-window before it quits; measured as the whole run.
void BM_StartUpToFirstShownWindow(benchmark::State& state)
{
    const std::string directory = BenchDirectory();
    const std::string file = directory + "/start.hxc";
    WriteConfigFile(StartUpConfiguration(), file, false);
    if (!std::getenv("DISPLAY")) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    ::setenv("XDG_CONFIG_HOME", directory.c_str(), 1);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        char* argv[] = {const_cast<char*>(HALVEX_PATH), const_cast<char*>(file.c_str()),
                        const_cast<char*>("--describe-window"), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        pid_t child = 0;
        if (posix_spawn(&child, HALVEX_PATH, &actions, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start halvex");
            break;
        }
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("halvex did not end cleanly");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::filesystem::remove_all(directory);
}
BENCHMARK(BM_StartUpToFirstShownWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
