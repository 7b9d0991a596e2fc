// Reading and writing a configuration filled to every capacity: 256 points of
// each kind and 128 indirect messages.
#include "ConfigFile.h"

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

std::unique_ptr<ConfigTemplate> FullConfiguration()
{
    auto config = std::make_unique<ConfigTemplate>();
    for (int i = 0; i < 256; ++i) {
        const std::string name = "Point description " + std::to_string(i);
        AnalogInputPoint ai;
        ai.Description = name;
        ai.Address = "1I" + std::to_string(i);
        ai.SlaveAddress = i % 16;
        config->AnalogInputs.Append(ai);
        AnalogOutputPoint ao;
        ao.Description = name;
        ao.Address = "1O" + std::to_string(i);
        config->AnalogOutputs.Append(ao);
        DigitalInputPoint di;
        di.Description = name;
        di.Address = "1/8E" + std::to_string(i) + "/" + std::to_string(i + 7);
        di.DataType = "S";
        config->DigitalInputs.Append(di);
        DigitalOutputPoint dout;
        dout.Description = name;
        dout.Address = "0O" + std::to_string(i);
        dout.DataType = "B";
        config->DigitalOutputs.Append(dout);
        if (i < 128) {
            IndirectSpaMessage message;
            message.Description = name;
            config->IndirectMessages.Append(message);
        }
    }
    return config;
}

std::string BenchPath()
{
    return std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/halvex-bench-" +
           std::to_string(::getpid()) + ".hxc";
}

void BM_WriteConfigFile(benchmark::State& state)
{
    const auto config = FullConfiguration();
    const std::string path = BenchPath();
    for (auto _ : state) {
        benchmark::DoNotOptimize(WriteConfigFile(*config, path, false));
    }
    ::unlink(path.c_str());
}
BENCHMARK(BM_WriteConfigFile)->Unit(benchmark::kMillisecond);

void BM_ReadConfigFile(benchmark::State& state)
{
    const auto config = FullConfiguration();
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
