// Writing a 500-page document as .docx (the same generated document the
// HTML benchmarks use), and ten times that: the whole package in memory,
// as a save through the engine writes it.

#include "bench/benchmain.h"
#include "bench/conversion/benchinputs.h"
#include "engine/textengine.h"
#include "formats/docx/docxwriter.h"

#include <benchmark/benchmark.h>

namespace {

void BM_DocxWrite(benchmark::State& state)
{
    engine::TextEngine engine;
    benchinputs::buildDocument(*engine.document(), int(500 * state.range(0)));
    const html::StyleSet styles = html::StyleSet::defaults();
    qint64 bytes = 0;
    for (auto _ : state) {
        const std::optional<QByteArray> package = formats::docx::writeDocx(engine.documentSet(), styles);
        if (!package)
            state.SkipWithError("write failed");
        else
            bytes = package->size();
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_DocxWrite)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    return benchsupport::runBenchmarks(argc, argv);
}
