// The serial link and the device operations against halvex-gateway-sim
// running as its own process: what the link costs while it waits for a silent
// gateway, how long the largest archive download takes compared with the
// protocol's own pauses and the line's wire time, on the pseudo-terminal and
// through serial device servers on loopback (ser2net with RFC 2217, the
// simulator's own TCP listener), and one firmware round trip over each.
#include "ArchiveBlock.h"
#include "ArchiveTransfer.h"
#include "SerialLink.h"
#include "NetworkPeers.h"
#include "SimProcess.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <sys/resource.h>
#include <unistd.h>

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

// Answers the open-file dialog with the archive and shows nothing.
class ArchiveChooser : public WindowSystem {
public:
    explicit ArchiveChooser(std::string path) : path_(std::move(path)) {}
    void ShowMessage(const std::string&, const std::string& text, MessageIcon icon) override
    {
        failed_ = failed_ || icon == MessageIcon::Error;
        (void)text;
    }
    bool AskYesNo(const std::string&, const std::string&, MessageIcon) override { return false; }
    std::optional<std::string> ChooseFileToOpen(const FileDialogRequest&) override { return path_; }
    std::optional<std::string> ChooseFileToSave(const FileDialogRequest&) override { return std::nullopt; }
    void SetStatusText(const std::string&) override {}
    void SetProgress(int) override {}
    bool Failed() const { return failed_; }

private:
    std::string path_;
    bool failed_ = false;
};

// The transports the figures are taken over, by benchmark argument.
const char* const kTransports[] = {"pty", "ser2net-rfc2217", "listener", "socat", "ser2net-raw"};

// The largest archive, 65275 bytes, in 226 frames of at most 290 data bytes.
// Arguments: the simulator's line rate (0 for none) and the transport (an
// index into kTransports). Reports the wall time against the 500 ms settling
// pause plus 5 ms per frame, and with a line rate also against those pauses
// plus the bytes' time on the wire at 10 bits each; and the wall time against
// that over the pseudo-terminal at the same rate measured before in the run.
void LargestArchiveDownload(benchmark::State& state)
{
    const int lineRate = static_cast<int>(state.range(0));
    const std::string transport = kTransports[state.range(1)];
    std::vector<std::string> options;
    if (lineRate > 0) {
        options = {"--line-rate", std::to_string(lineRate)};
    }
    char directory[] = "/tmp/halvex-bench-XXXXXX";
    if (::mkdtemp(directory) == nullptr) {
        state.SkipWithError("cannot make a directory");
        return;
    }
    SimBehindServer sim(transport, options, directory);
    if (!sim.Running()) {
        state.SkipWithError("the server did not start");
        return;
    }
    const std::string path = std::string(directory) + "/archive.zip";
    std::ofstream(path, std::ios::binary) << std::string(kMaxArchiveSize, 'a');

    const int frames = static_cast<int>((kArchiveDataOffset + kMaxArchiveSize + 289) / 290);
    const double pausesMs = 500.0 + 5.0 * frames;
    const double wireBytes = (kArchiveDataOffset + kMaxArchiveSize) + 8.0 * frames  // requests
                             + 8.0 * frames + 1.0;                                  // replies, one answer byte
    const double wireMs = lineRate > 0 ? wireBytes * 10.0 * 1000.0 / lineRate : 0.0;
    double wall = 0;
    double cpu = 0;
    for (auto _ : state) {
        SerialLink link;
        ArchiveChooser ui(path);
        DeviceConnection connection{link, sim.address, ui};
        const double cpuStart = ProcessCpuSeconds();
        const auto wallStart = std::chrono::steady_clock::now();
        const bool sent = DownloadArchive(connection);
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        cpu += ProcessCpuSeconds() - cpuStart;
        if (!sent || ui.Failed()) {
            state.SkipWithError("the download failed");
            break;
        }
    }
    std::remove(path.c_str());
    std::remove((std::string(directory) + "/ser2net.yaml").c_str());
    ::rmdir(directory);
    const double wallMs = wall * 1000 / static_cast<double>(state.iterations());
    static std::map<int, double> ptyWallMs;
    if (transport == "pty") {
        ptyWallMs[lineRate] = wallMs;
    } else if (ptyWallMs.count(lineRate) != 0) {
        state.counters["vs_pty_percent"] = 100.0 * (wallMs - ptyWallMs[lineRate]) / ptyWallMs[lineRate];
    }
    state.SetLabel(transport);
    state.counters["frames"] = frames;
    state.counters["wall_ms"] = wallMs;
    state.counters["expected_ms"] = pausesMs + wireMs;
    state.counters["deviation_percent"] = 100.0 * (wallMs - pausesMs - wireMs) / (pausesMs + wireMs);
    state.counters["cpu_percent"] = 100.0 * cpu / wall;
}
BENCHMARK(LargestArchiveDownload)
    ->Args({0, 0})
    ->Args({38400, 0})
    ->Args({38400, 1})
    ->Args({38400, 2})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// One firmware request and its reply on an open link to the unpaced
// simulator, over each transport: what the transport adds to a frame.
void FirmwareRoundTrip(benchmark::State& state)
{
    const std::string transport = kTransports[state.range(0)];
    char directory[] = "/tmp/halvex-bench-XXXXXX";
    if (::mkdtemp(directory) == nullptr) {
        state.SkipWithError("cannot make a directory");
        return;
    }
    SimBehindServer sim(transport, {}, directory);
    SerialLink link;
    if (!sim.Running() || !link.Open(sim.address, 38400)) {
        state.SkipWithError("cannot reach the simulator");
        return;
    }
    for (auto _ : state) {
        std::uint8_t reply[16];
        int replyLength = sizeof reply;
        if (!link.Transact(2, 0, nullptr, replyLength, reply)) {
            state.SkipWithError("no reply");
            break;
        }
    }
    link.Close();
    std::remove((std::string(directory) + "/ser2net.yaml").c_str());
    ::rmdir(directory);
    state.SetLabel(transport);
}
BENCHMARK(FirmwareRoundTrip)->DenseRange(0, 4)->Iterations(200)->Unit(benchmark::kMicrosecond);

}  // namespace
