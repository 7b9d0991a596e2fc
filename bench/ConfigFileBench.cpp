// Reading and writing a configuration filled to every capacity: 256 points of
// each kind and 128 indirect messages.
#include "ConfigFile.h"
#include "SampleConfigurations.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

class SilentWindowSystem : public WindowSystem {
public:
    void ShowMessage(const std::string&, const std::string&, MessageIcon) override {}
    bool AskYesNo(const std::string&, const std::string&, MessageIcon) override { return false; }
    std::optional<std::string> ChooseFileToOpen(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> ChooseFileToSave(const FileDialogRequest&) override { return std::nullopt; }
    void SetStatusText(const std::string&) override {}
    void SetProgress(int) override {}
};

std::string BenchPath()
{
    return std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/halvex-bench-" +
           std::to_string(::getpid()) + ".hxc";
}

void BM_WriteConfigFile(benchmark::State& state)
{
    const auto config = CapacityConfiguration(16, kIndirectMessagesFromFile);
    const std::string path = BenchPath();
    for (auto _ : state) {
        benchmark::DoNotOptimize(WriteConfigFile(*config, path, false));
    }
    ::unlink(path.c_str());
}
BENCHMARK(BM_WriteConfigFile)->Unit(benchmark::kMillisecond);

void BM_ReadConfigFile(benchmark::State& state)
{
    const auto config = CapacityConfiguration(16, kIndirectMessagesFromFile);
    const std::string path = BenchPath();
    WriteConfigFile(*config, path, false);
    auto target = std::make_unique<ConfigTemplate>();
    SilentWindowSystem ui;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadConfigFile(*target, path, ui));
    }
    ::unlink(path.c_str());
}
BENCHMARK(BM_ReadConfigFile)->Unit(benchmark::kMillisecond);

}  // namespace
