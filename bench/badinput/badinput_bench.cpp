// Inputs that once made the readers quadratic, each at a size and at ten
// times that size: the time must grow about tenfold, not a hundredfold.
//   - an attribute value of nothing but "&" (character references);
//   - one link holding many bold runs (the link's field is made per run);
//   - a text file of nothing but line feeds, read and saved as the dialect;
//   - a row of cells that all end by implication (the engine HTML export).

#include "bench/benchmain.h"
#include "engine/textengine.h"
#include "formats/html/enginehtmlexport.h"
#include "formats/html/htmlimport.h"
#include "formats/html/markupscanner.h"
#include "formats/html/tooltiptable.h"
#include "html/yhtm.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void readHtml(benchmark::State& state, const QByteArray& bytes)
{
    const formats::HtmlImport codec;
    for (auto _ : state) {
        engine::TextEngine engine;
        if (!codec.readFrom(bytes, QString(), engine.documentSet()))
            state.SkipWithError("read failed");
    }
}

void BM_DecodeAmpersands(benchmark::State& state)
{
    const QString text(int(100'000 * state.range(0)), u'&');
    for (auto _ : state)
        benchmark::DoNotOptimize(formats::decodeEntities(text));
}
BENCHMARK(BM_DecodeAmpersands)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ReadLinkOfBoldRuns(benchmark::State& state)
{
    const QByteArray runs = QByteArray("<b>x</b>y").repeated(int(2'000 * state.range(0)));
    readHtml(state, "<html><body><p><a href=\"http://example.com/\">" + runs + "</a></p></body></html>");
}
BENCHMARK(BM_ReadLinkOfBoldRuns)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_ReadRowOfImpliedCells(benchmark::State& state)
{
    const QByteArray cells = QByteArray("<td>x").repeated(int(5'000 * state.range(0)));
    readHtml(state, "<html><body><table><tr>" + cells + "</table></body></html>");
}
BENCHMARK(BM_ReadRowOfImpliedCells)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_ExportRowOfImpliedCells(benchmark::State& state)
{
    const QByteArray cells = QByteArray("<td>x").repeated(int(5'000 * state.range(0)));
    engine::TextEngine engine;
    if (!formats::HtmlImport().readFrom("<html><body><table><tr>" + cells + "</table></body></html>", QString(),
                                        engine.documentSet()))
        state.SkipWithError("read failed");
    QTemporaryDir folder;
    const html::EngineExportRequest request{folder.filePath(QStringLiteral("doc.htm")), folder.path(), 4};
    for (auto _ : state) {
        if (!formats::exportEngineHtml(*engine.document(), request))
            state.SkipWithError("export failed");
    }
}
BENCHMARK(BM_ExportRowOfImpliedCells)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

// The command line's conversion of a text file: read, then save as the dialect.
void BM_ConvertLineFeeds(benchmark::State& state)
{
    const QByteArray text(int(100'000 * state.range(0)), '\n');
    QTemporaryDir folder;
    html::yHtm writer(html::StyleSet::defaults());
    for (auto _ : state) {
        engine::TextEngine engine;
        if (!engine.loadFromMemory(text, engine::FormatCode::PlainText, false)
            || !writer.cSaveHtm(formats::engineExport(engine), false, folder.filePath(QStringLiteral("doc.htm")),
                                formats::toolTipTable(*engine.document()), QStringLiteral("bench")))
            state.SkipWithError("conversion failed");
    }
}
BENCHMARK(BM_ConvertLineFeeds)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    return benchsupport::runBenchmarks(argc, argv);
}
