// Word documents through "fumi --convert-to htm", each run a whole process
// (start-up, reading the .docx, writing the dialect and its pictures), for
// 3, 500 and 5,000 pages; and writing the 500-page document as .docx inside
// one process.

#include "bench/benchmain.h"
#include "bench/docx_convert/docxbenchinputs.h"

#include "engine/textengine.h"
#include "formats/docx/docxcodec.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_ConvertToDialect(benchmark::State& state)
{
    const QString input = docxbenchinputs::wordDocument(int(state.range(0)));
    const QTemporaryDir out;
    if (input.isEmpty() || !out.isValid()) {
        state.SkipWithError("the Word document could not be made (is LibreOffice installed?)");
        return;
    }
    for (auto _ : state) {
        QProcess fumi;
        QElapsedTimer timer;
        timer.start();
        fumi.start(QStringLiteral(FUMI_EXECUTABLE),
                   {QStringLiteral("--convert-to"), QStringLiteral("htm"), QStringLiteral("--outdir"),
                    out.filePath(QString::number(state.iterations())), input});
        if (!fumi.waitForFinished(-1) || fumi.exitCode() != 0) {
            state.SkipWithError("the conversion failed");
            return;
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_ConvertToDialect)->Arg(3)->Arg(500)->Arg(5000)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);

void BM_WriteWord(benchmark::State& state)
{
    formats::docx::registerDocxCodec();
    const QString input = docxbenchinputs::wordDocument(int(state.range(0)));
    engine::TextEngine engine;
    if (input.isEmpty() || !engine.loadFile(input, engine::FormatCode::Docx, false)) {
        state.SkipWithError("the Word document could not be made or read");
        return;
    }
    for (auto _ : state) {
        const std::optional<QByteArray> bytes = engine.saveToMemory(engine::FormatCode::Docx);
        if (!bytes) {
            state.SkipWithError("the Word writer failed");
            return;
        }
        benchmark::DoNotOptimize(bytes->size());
    }
}
BENCHMARK(BM_WriteWord)->Arg(500)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    return benchsupport::runBenchmarks(argc, argv);
}
