// Cutting a 65536-byte report into A4 pages with the printed layout: the
// configuration holds 256 points of each kind and 128 indirect messages, so
// its report is cut at the 65536-byte limit.
#include "SampleConfigurations.h"
#include "ReportPainter.h"
#include "ReportPdf.h"
#include "ReportText.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace {

QGuiApplication& Application()
{
    static int argc = 1;
    static char name[] = "exchange_bench";
    static char* argv[] = {name, nullptr};
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    static QGuiApplication application(argc, argv);
    return application;
}

void BM_PaginateFullReport(benchmark::State& state)
{
    Application();
    const std::string text = ReportText(*CapacityConfiguration(16, kIndirectMessagesFromFile));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    SetUpReportPdf(writer);
    std::size_t pages = 0;
    for (auto _ : state) {
        pages = ReportPagesFor(text, writer).size();
        benchmark::DoNotOptimize(pages);
    }
    state.counters["bytes"] = static_cast<double>(text.size());
    state.counters["pages"] = static_cast<double>(pages);
}
BENCHMARK(BM_PaginateFullReport)->Unit(benchmark::kMillisecond);

void BM_PrintFullReportToPdf(benchmark::State& state)
{
    Application();
    const std::string text = ReportText(*CapacityConfiguration(16, kIndirectMessagesFromFile));
    const std::string path = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                             "/halvex-bench-report-" + std::to_string(::getpid()) + ".pdf";
    for (auto _ : state) {
        benchmark::DoNotOptimize(WriteReportPdf(text, path));
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_PrintFullReportToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
