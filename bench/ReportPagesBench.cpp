// Cutting a 65536-byte report into A4 pages with the printed layout: the
// configuration holds 256 points of each kind and 128 indirect messages, so
// its report is cut at the 65536-byte limit.
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
        DigitalInputPoint di;
        di.Description = name;
        di.Address = "1/8E" + std::to_string(i) + "/" + std::to_string(i + 7);
        di.DataType = "S";
        config->DigitalInputs.Append(di);
        AnalogOutputPoint ao;
        ao.Description = name;
        ao.Address = "1O" + std::to_string(i);
        config->AnalogOutputs.Append(ao);
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
    const std::string text = ReportText(*FullConfiguration());
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
    const std::string text = ReportText(*FullConfiguration());
    const std::string path = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                             "/halvex-bench-report-" + std::to_string(::getpid()) + ".pdf";
    for (auto _ : state) {
        benchmark::DoNotOptimize(WriteReportPdf(text, path));
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_PrintFullReportToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
