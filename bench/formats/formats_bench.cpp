// The engine's HTML export and the HTML reader on a long document: 500 pages
// (about 30,000 elements with 300 distinct paragraph and run looks) and ten
// times that. Both must grow linearly with the document.

#include "bench/benchmain.h"
#include "bench/conversion/benchinputs.h"
#include "engine/textengine.h"
#include "formats/html/enginehtmlexport.h"
#include "formats/html/htmlimport.h"
#include "formats/html/tooltiptable.h"
#include "html/yhtm.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <benchmark/benchmark.h>

namespace {

void BM_EngineExport(benchmark::State& state)
{
    engine::TextEngine engine;
    benchinputs::buildDocument(*engine.document(), int(500 * state.range(0)));
    QTemporaryDir folder;
    const html::EngineExportRequest request{folder.filePath(QStringLiteral("doc.htm")), folder.path(), 4};
    for (auto _ : state) {
        if (!formats::exportEngineHtml(*engine.document(), request))
            state.SkipWithError("export failed");
    }
}
BENCHMARK(BM_EngineExport)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The whole save as the editor runs it: engine export, then the dialect.
void BM_SaveAsDialect(benchmark::State& state)
{
    engine::TextEngine engine;
    benchinputs::buildDocument(*engine.document(), int(500 * state.range(0)));
    QTemporaryDir folder;
    html::yHtm writer(html::StyleSet::defaults());
    const QString tips = formats::toolTipTable(*engine.document());
    for (auto _ : state) {
        if (!writer.cSaveHtm(formats::engineExport(engine), false, folder.filePath(QStringLiteral("doc.htm")), tips,
                             QStringLiteral("bench")))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveAsDialect)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ReadDialect(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("doc.htm"));
    {
        engine::TextEngine engine;
        benchinputs::buildDocument(*engine.document(), int(500 * state.range(0)));
        html::yHtm(html::StyleSet::defaults())
            .cSaveHtm(formats::engineExport(engine), false, path, formats::toolTipTable(*engine.document()), QStringLiteral("bench"));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("no file");
        return;
    }
    const QByteArray bytes = file.readAll();
    const formats::HtmlImport codec;
    for (auto _ : state) {
        engine::TextEngine engine;
        if (!codec.readFrom(bytes, folder.path(), engine.documentSet()))
            state.SkipWithError("read failed");
    }
    state.counters["bytes"] = double(bytes.size());
}
BENCHMARK(BM_ReadDialect)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    return benchsupport::runBenchmarks(argc, argv);
}
