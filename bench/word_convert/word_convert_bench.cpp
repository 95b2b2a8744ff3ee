// Word documents through "fumi --convert-to htm", each run a whole process
// (start-up, reading the file, writing the dialect and its pictures): .docx
// of 3, 500 and 5,000 pages and .rtf of 3 and 500; and writing the 500-page
// document as .docx and as .rtf inside one process.

#include "bench/benchmain.h"
#include "bench/word_convert/wordbenchinputs.h"

#include "engine/textengine.h"
#include "formats/docx/docxcodec.h"
#include "formats/rtf/rtfcodec.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using MakeInput = QString (*)(int pages);

void BM_ConvertToDialect(benchmark::State& state, MakeInput makeInput)
{
    const QString input = makeInput(int(state.range(0)));
    const QTemporaryDir out;
    if (input.isEmpty() || !out.isValid()) {
        state.SkipWithError("the input document could not be made (is LibreOffice installed?)");
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
BENCHMARK_CAPTURE(BM_ConvertToDialect, docx, &wordbenchinputs::wordDocument)
    ->Arg(3)->Arg(500)->Arg(5000)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_ConvertToDialect, rtf, &wordbenchinputs::richTextDocument)
    ->Arg(3)->Arg(500)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Write(benchmark::State& state, engine::FormatCode format)
{
    formats::docx::registerDocxCodec();
    formats::rtf::registerRtfCodec();
    const QString input = wordbenchinputs::wordDocument(int(state.range(0)));
    engine::TextEngine engine;
    if (input.isEmpty() || !engine.loadFile(input, engine::FormatCode::Docx, false)) {
        state.SkipWithError("the Word document could not be made or read");
        return;
    }
    for (auto _ : state) {
        const std::optional<QByteArray> bytes = engine.saveToMemory(format);
        if (!bytes) {
            state.SkipWithError("the writer failed");
            return;
        }
        benchmark::DoNotOptimize(bytes->size());
    }
}
BENCHMARK_CAPTURE(BM_Write, docx, engine::FormatCode::Docx)
    ->Arg(500)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Write, rtf, engine::FormatCode::Rtf)
    ->Arg(500)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    return benchsupport::runBenchmarks(argc, argv);
}
