// Undo and redo at full capacity: 256 points of each kind and 127 indirect
// messages on 16 slaves. Each change goes the document's one way (compared
// with the last recorded state, its changed run kept); the figures are the
// time of a change, of an undo and of a redo, and the memory a step keeps.
#include "CQuorvinDoc.h"
#include "SampleConfigurations.h"
#include "ScriptedDocumentHost.h"

#include <benchmark/benchmark.h>

namespace {

struct FullDocument {
    FullDocument()
    {
        doc.Change([](DocumentContent& content) {
            content.Config = *CapacityConfiguration(16, kMaxIndirectMessages);
            return true;
        });
        doc.OnNewDocument();  // an empty history: only the measured steps count
        doc.Change([](DocumentContent& content) {
            content.Config = *CapacityConfiguration(16, kMaxIndirectMessages);
            return true;
        });
    }

    // One point edited, as the point dialog stores it.
    void EditPoint(int step)
    {
        doc.Change(
            [step](DocumentContent& content) {
                content.Config.DigitalInputs[step % kPointListCapacity].Description = "Edited " + std::to_string(step);
                return true;
            },
            ChangeEffect::Edit);
    }

    ScriptedDocumentHost ui;
    CQuorvinDoc doc{ui, "halvex"};
};

void BM_ChangeAtCapacity(benchmark::State& state)
{
    FullDocument full;
    const std::size_t before = full.doc.History().BytesKept();
    int step = 0;
    for (auto _ : state) {
        full.EditPoint(step++);
    }
    const auto kept = static_cast<double>(full.doc.History().StepCount() - 1);
    state.counters["bytes_per_step"] = static_cast<double>(full.doc.History().BytesKept() - before) / kept;
}
BENCHMARK(BM_ChangeAtCapacity)->Iterations(100)->Unit(benchmark::kMicrosecond);

void BM_UndoRedoAtCapacity(benchmark::State& state)
{
    FullDocument full;
    for (int step = 0; step < 100; ++step) {
        full.EditPoint(step);
    }
    for (auto _ : state) {
        while (full.doc.CanUndo()) {
            full.doc.OnEditUndo();
        }
        while (full.doc.CanRedo()) {
            full.doc.OnEditRedo();
        }
    }
    state.SetItemsProcessed(state.iterations() * 2 * static_cast<long long>(full.doc.History().StepCount()));
}
BENCHMARK(BM_UndoRedoAtCapacity)->Unit(benchmark::kMillisecond);

// The largest step: a slave removed at capacity takes a sixteenth of every list.
void BM_SlaveRemoveUndoAtCapacity(benchmark::State& state)
{
    FullDocument full;
    full.doc.SelectSlave(1);
    const std::size_t before = full.doc.History().BytesKept();
    full.doc.Change([](DocumentContent& content) {
        auto ofSlave = [](const auto& point) { return point.SlaveAddress == 1; };
        content.Config.AnalogInputs.RemoveIf(ofSlave);
        content.Config.DigitalInputs.RemoveIf(ofSlave);
        content.Config.AnalogOutputs.RemoveIf(ofSlave);
        content.Config.DigitalOutputs.RemoveIf(ofSlave);
        content.Config.IndirectMessages.RemoveIf(ofSlave);
        return true;
    });
    state.counters["bytes_per_step"] = static_cast<double>(full.doc.History().BytesKept() - before);
    for (auto _ : state) {
        full.doc.OnEditUndo();
        full.doc.OnEditRedo();
    }
}
BENCHMARK(BM_SlaveRemoveUndoAtCapacity)->Unit(benchmark::kMicrosecond);

}  // namespace
