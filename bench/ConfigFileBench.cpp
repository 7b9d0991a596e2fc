// Reading and writing a configuration filled to every capacity: 256 points of
// each kind and 128 indirect messages; importing an XRF file of one 50 MB line
// and one of ordinary lines.
#include "ConfigFile.h"
#include "FileAccess.h"
#include "SampleConfigurations.h"
#include "XrfImport.h"

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

void ImportXrfFile(benchmark::State& state, const std::string& text)
{
    const std::string path = BenchPath() + ".xrf";
    ReplaceFileContents(path, text);
    auto target = std::make_unique<ConfigTemplate>();
    SilentWindowSystem ui;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ImportXrf(*target, path, ui));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
    ::unlink(path.c_str());
}

void BM_ImportXrfOneLongLine(benchmark::State& state)
{
    ImportXrfFile(state, "[ANALOG_INPUT]\n" + std::string(50u << 20, 'x') + "\n");
}
BENCHMARK(BM_ImportXrfOneLongLine)->Unit(benchmark::kMillisecond);

// 2000 lines of every kind, of which 256 of each fill their lists.
void BM_ImportXrfOrdinaryLines(benchmark::State& state)
{
    std::string text = "; Bench.xrf\n[SPA_UNIT]\n1=5\n";
    for (const char* section : {"[ANALOG_INPUT]", "[ANALOG_OUTPUT]", "[DIGITAL_INPUT]", "[DIGITAL_OUTPUT]"}) {
        text += std::string(section) + "\n";
        for (int i = 0; i < 2000; ++i) {
            const std::string description = "\"Point " + std::to_string(i) + "\": ";
            text += section[1] == 'A' ? description + "1.0I" + std::to_string(i) + "/2.5\n"
                    : section[9] == 'I' ? "1." + description + "1.3I" + std::to_string(i) + " S 1 E1/2 [1,2,3,4]\n"
                                        : "1." + description + "x 1.0O" + std::to_string(i) + " B\n";
        }
    }
    ImportXrfFile(state, text);
}
BENCHMARK(BM_ImportXrfOrdinaryLines)->Unit(benchmark::kMillisecond);

}  // namespace
