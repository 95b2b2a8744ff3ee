// Word documents through "fumi --convert-to htm", each run a whole process
// (start-up, reading the file, writing the dialect and its pictures): .docx
// of 3, 500 and 5,000 pages and .rtf of 3 and 500; and writing the 500-page
// document as .docx and as .rtf inside one process.
//
// Word 97–2003 goes through LibreOffice, so the 500-page .doc is timed side
// by side with LibreOffice's own conversion of the same file: .doc to the
// dialect against soffice's .doc to HTML, and the dialect to .doc against
// soffice's HTML to .doc; and, for where the time goes, soffice's .doc to
// .docx, the conversion Fumi's reading runs. Every case runs once untimed
// first, so that both sides start with a LibreOffice profile already set up.

#include "bench/benchmain.h"
#include "bench/word_convert/wordbenchinputs.h"

#include "engine/textengine.h"
#include "formats/docx/docxcodec.h"
#include "formats/rtf/rtfcodec.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <benchmark/benchmark.h>

namespace {

using MakeInput = QString (*)(int pages);

// Runs `program` with `arguments` to its end; false when it failed.
bool ran(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// Times whole runs of `program`; `argumentsFor` gives each run's arguments
// from its output folder (a fresh one per run, so no run overwrites another).
template <typename Arguments>
void timeRuns(benchmark::State& state, const QString& program, const QString& input, Arguments argumentsFor)
{
    const QTemporaryDir out;
    if (input.isEmpty() || !out.isValid()) {
        state.SkipWithError("the input document could not be made (is LibreOffice installed?)");
        return;
    }
    if (!ran(program, argumentsFor(out.filePath(QStringLiteral("warm-up"))))) {
        state.SkipWithError("the conversion failed");
        return;
    }
    int run = 0;
    for (auto _ : state) {
        const QStringList arguments = argumentsFor(out.filePath(QString::number(++run)));
        QElapsedTimer timer;
        timer.start();
        if (!ran(program, arguments)) {
            state.SkipWithError("the conversion failed");
            return;
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    }
}

// `input` through "fumi --convert-to `target`".
void timeFumi(benchmark::State& state, const QString& input, const QString& target)
{
    timeRuns(state, QStringLiteral(FUMI_EXECUTABLE), input, [&](const QString& folder) {
        return QStringList{QStringLiteral("--convert-to"), target, QStringLiteral("--outdir"), folder, input};
    });
}

// `input` through LibreOffice's own "soffice --headless --convert-to
// `target`", with a profile of the benchmark's own.
void timeLibreOffice(benchmark::State& state, const QString& input, const QString& target)
{
    const QTemporaryDir profile;
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty() || !profile.isValid()) {
        state.SkipWithError("LibreOffice is not installed");
        return;
    }
    const QString installation = QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile.path()).toString();
    timeRuns(state, soffice, input, [&](const QString& folder) {
        return QStringList{installation, QStringLiteral("--headless"), QStringLiteral("--convert-to"), target,
                           QStringLiteral("--outdir"), folder, input};
    });
}

void BM_ConvertToDialect(benchmark::State& state, MakeInput makeInput)
{
    timeFumi(state, makeInput(int(state.range(0))), QStringLiteral("htm"));
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

// The document in Fumi's dialect, as "fumi --convert-to htm" writes it from
// the .docx; made once, beside the other inputs.
QString dialectDocument(int pages)
{
    const QString word = wordbenchinputs::wordDocument(pages);
    if (word.isEmpty())
        return {};
    const QString folder = QFileInfo(word).absolutePath() + QStringLiteral("/dialect");
    const QString dialect = folder + u'/' + QFileInfo(word).completeBaseName() + QStringLiteral(".htm");
    if (QFileInfo::exists(dialect)
        || ran(QStringLiteral(FUMI_EXECUTABLE),
               {QStringLiteral("--convert-to"), QStringLiteral("htm"), QStringLiteral("--outdir"), folder, word}))
        return dialect;
    return {};
}

void BM_DocToDialect(benchmark::State& state)
{
    timeFumi(state, wordbenchinputs::word97Document(int(state.range(0))), QStringLiteral("htm"));
}
void BM_DocToHtmlByLibreOffice(benchmark::State& state)
{
    timeLibreOffice(state, wordbenchinputs::word97Document(int(state.range(0))), QStringLiteral("html"));
}
// The conversion Fumi's reading of a .doc runs, on its own.
void BM_DocToDocxByLibreOffice(benchmark::State& state)
{
    timeLibreOffice(state, wordbenchinputs::word97Document(int(state.range(0))), QStringLiteral("docx"));
}
void BM_DialectToDoc(benchmark::State& state)
{
    timeFumi(state, dialectDocument(int(state.range(0))), QStringLiteral("doc"));
}
void BM_DialectToDocByLibreOffice(benchmark::State& state)
{
    timeLibreOffice(state, dialectDocument(int(state.range(0))), QStringLiteral("doc:MS Word 97"));
}
BENCHMARK(BM_DocToDialect)->Arg(500)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DocToHtmlByLibreOffice)->Arg(500)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DocToDocxByLibreOffice)->Arg(500)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DialectToDoc)->Arg(500)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DialectToDocByLibreOffice)->Arg(500)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    return benchsupport::runBenchmarks(argc, argv);
}
