// Whole conversions as "fumi --convert-to htm" runs them (read, then the
// dialect written): an 8 MB foreign HTML manual, and the 3 MB dialect of a
// 500-page document, each in pieces as the command converts them and, for
// comparison, as one document (second argument 0). The inputs are written
// once by the fixtures below; the same files for timing whole processes come
// from conversion_inputs.

#include "bench/benchmain.h"
#include "bench/conversion/benchinputs.h"
#include "engine/textengine.h"
#include "formats/convertfile.h"
#include "formats/html/enginehtmlexport.h"
#include "formats/html/tooltiptable.h"
#include "html/yhtm.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <benchmark/benchmark.h>

namespace {

// state.range(1): 1 in pieces, 0 as one document.
void convertEachTime(benchmark::State& state, const QTemporaryDir& folder, const QString& input)
{
    const QString out = folder.filePath(QStringLiteral("out"));
    const qsizetype pieceLength = state.range(1) ? formats::ConversionRun::kHtmlPieceLength : qsizetype(1) << 40;
    for (auto _ : state) {
        const formats::ConversionOutcome outcome =
            formats::ConversionRun({input}, pieceLength).convert(input, QStringLiteral("htm"), out);
        if (!outcome.written)
            state.SkipWithError(qPrintable(outcome.reason));
    }
    state.counters["bytes"] = double(QFile(input).size());
}

void BM_ConvertManual(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString input = folder.filePath(QStringLiteral("manual.html"));
    QFile file(input);
    if (!file.open(QIODevice::WriteOnly) || file.write(benchinputs::foreignManual(state.range(0) << 20)) < 0) {
        state.SkipWithError("cannot write the manual");
        return;
    }
    file.close();
    convertEachTime(state, folder, input);
}
BENCHMARK(BM_ConvertManual)->ArgsProduct({{1, 8}, {1, 0}})->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_ConvertDocument(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString input = folder.filePath(QStringLiteral("document.htm"));
    {
        engine::TextEngine engine;
        benchinputs::buildDocument(*engine.document(), int(state.range(0)));
        html::yHtm(html::StyleSet::defaults())
            .cSaveHtm(formats::engineExport(engine), false, input, formats::toolTipTable(*engine.document()), QStringLiteral("bench"));
    }
    convertEachTime(state, folder, input);
}
BENCHMARK(BM_ConvertDocument)->ArgsProduct({{50, 500}, {1, 0}})->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    return benchsupport::runBenchmarks(argc, argv);
}
