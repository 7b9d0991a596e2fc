// The serial link against halvex-gateway-sim running as its own process:
// what the link costs while it waits for a silent gateway.
#include "SerialLink.h"
#include "SimProcess.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <sys/resource.h>

namespace {

double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// One firmware request to a gateway that never answers, with the 5000 ms
// reply time-out of the device operations. Reports the processor time of
// this process as a share of the wall time.
void SilentGatewayWait(benchmark::State& state)
{
    SimProcess sim({"--fault", "silence:1000"});
    SerialLink link;
    if (!link.Open(sim.Path(), 38400)) {
        state.SkipWithError("cannot open the simulator's terminal");
        return;
    }
    link.SetReplyTimeout(5000);
    double wall = 0;
    double cpu = 0;
    for (auto _ : state) {
        const double cpuStart = ProcessCpuSeconds();
        const auto wallStart = std::chrono::steady_clock::now();
        int replyLength = 0;
        benchmark::DoNotOptimize(link.Transact(2, 0, nullptr, replyLength, nullptr));
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        cpu += ProcessCpuSeconds() - cpuStart;
    }
    state.counters["wall_ms"] = wall * 1000 / static_cast<double>(state.iterations());
    state.counters["cpu_ms"] = cpu * 1000 / static_cast<double>(state.iterations());
    state.counters["cpu_percent"] = 100.0 * cpu / wall;
}
BENCHMARK(SilentGatewayWait)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
