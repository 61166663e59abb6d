#include <benchmark/benchmark.h>

#include "acquisition/CQuolixDoc.h"
#include "graph/GraphRenderer.h"
#include "settings/SettingsRecord.h"
#include "support/RecordingDeviceContext.h"

namespace quolix {
namespace {

// One complete paint of a full store (2040 samples, a day and more at 64 s)
// into the recording device context.
void BM_OnDrawFullStore(benchmark::State& state) {
    CQuolixDoc doc;
    for (int32_t i = 0; i < CQuolixDoc::SampleLimit; ++i) {
        doc.times[static_cast<size_t>(i)] = i * 64;
        doc.readings[static_cast<size_t>(i)] = 1234567 + (i * 37) % 2001 - 1000;
    }
    doc.count = CQuolixDoc::SampleLimit;
    doc.comments = {"comment one", "comment two", "comment three", "", ""};
    SettingsRecord settings;
    settings.ApplyDefaults();
    RecordingDeviceContext dc;
    const GraphRenderer renderer(0, Rect{0, 0, 800, 600}, settings);
    for (auto _ : state) {
        dc.Clear();
        GraphScale scale;
        doc.ComputeScale(scale);
        renderer.OnDraw(dc, scale, doc.Samples(), doc.comments, [] {});
        benchmark::DoNotOptimize(dc.Calls().data());
    }
    state.counters["calls"] = static_cast<double>(dc.Calls().size());
}
BENCHMARK(BM_OnDrawFullStore)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quolix
