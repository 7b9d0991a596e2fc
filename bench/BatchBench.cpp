// Eight gateways, each halvex-gateway-sim on a pseudo-terminal of its own
// paced at 38400 baud, each sent a configuration of its own: first one after
// the other (the slowest single download is the yardstick), then all eight
// as one batch with eight lines at once. Reported: the slowest single
// download, the batch's wall time, their ratio, and how many lines of the
// batch succeeded.
#include "BatchRunner.h"
#include "ConfigFile.h"
#include "SampleConfigurations.h"
#include "SimProcess.h"
#include "TestFiles.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>

namespace {

constexpr int kGateways = 8;

double WallSeconds(const std::vector<GatewayJob>& jobs, const BatchOptions& options, int& succeeded)
{
    const auto start = std::chrono::steady_clock::now();
    const auto results = RunBatch(jobs, options);
    succeeded = static_cast<int>(
        std::count_if(results.begin(), results.end(), [](const BatchLineResult& line) { return line.Succeeded; }));
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_EightDownloadsAtOnce(benchmark::State& state)
{
    TemporaryDirectory directory;
    std::vector<std::unique_ptr<SimProcess>> sims;
    std::string manifest = "name,port,file,action\n";
    for (int i = 1; i <= kGateways; ++i) {
        sims.push_back(std::make_unique<SimProcess>(std::vector<std::string>{"--line-rate", "38400"}));
        ConfigTemplate config = TwoSlaveConfiguration();
        config.TemplateName = "gateway " + std::to_string(i);
        const std::string file = directory.File("gw" + std::to_string(i) + ".hxc");
        WriteTextFile(file, ConfigFileText(config, false));
        manifest += "gw" + std::to_string(i) + "," + sims.back()->Path() + "," + file + ",download\n";
    }
    const BatchPlan plan = PlanBatch(ParseManifest(manifest).Lines, {},
                                     [](const std::string& port) { return std::optional<std::string>(port); });
    BatchOptions options{kGateways, nullptr, OperationLog{"bench", directory.File("operations.jsonl")}};
    for (auto _ : state) {
        double slowest = 0;
        int succeeded = 0;
        for (const GatewayJob& job : plan.Jobs) {
            slowest = std::max(slowest, WallSeconds({job}, options, succeeded));
        }
        const double batch = WallSeconds(plan.Jobs, options, succeeded);
        state.counters["slowest_single_s"] = slowest;
        state.counters["batch_wall_s"] = batch;
        state.counters["ratio"] = batch / slowest;
        state.counters["lines_ok"] = succeeded;
    }
}
BENCHMARK(BM_EightDownloadsAtOnce)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
