// Replacing all of 10,000 matches in a 500-page document as one undo step:
// the engine alone, with the folds a Japanese user chooses, and with the
// editor's view showing the document.

#include "bench/benchmain.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

constexpr int kPages = 500;
constexpr int kParagraphsPerPage = 24;
constexpr int kMatches = 10000;

// 12,000 paragraphs; 10,000 of them hold the word once, in one of its widths
// and kana forms.
QString documentText()
{
    const QString filler = QStringLiteral("文書の本文です。段落ごとに置換の時間を測ります。").repeated(2);
    const QString forms[] = {QStringLiteral("データ"), QStringLiteral("ﾃﾞｰﾀ"), QStringLiteral("でーた"), QStringLiteral("データ")};
    QString text;
    for (int i = 0; i < kPages * kParagraphsPerPage; ++i) {
        text += filler;
        if (i < kMatches)
            text += forms[i % 4];
        text += filler + QStringLiteral("\r\n");
    }
    return text;
}

void replaceAllAndUndo(benchmark::State& state, engine::TextEngine& engine, int flags, int expected)
{
    for (auto _ : state) {
        const int replaced = engine.replaceAll(QStringLiteral("データ"), flags, QStringLiteral("資料"));
        QApplication::processEvents();
        state.PauseTiming();
        if (replaced != expected)
            state.SkipWithError("not every match was replaced");
        engine.undo();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["replaced"] = expected;
}

void EngineReplaceAll(benchmark::State& state)
{
    engine::TextEngine engine;
    engine.setPlainText(documentText());
    state.counters["pages"] = engine.pageCount();
    replaceAllAndUndo(state, engine, engine::FindDefault, kMatches / 2);
}
BENCHMARK(EngineReplaceAll)->Unit(benchmark::kMillisecond)->Iterations(5);

void EngineReplaceAllWidthAndKanaFolded(benchmark::State& state)
{
    engine::TextEngine engine;
    engine.setPlainText(documentText());
    replaceAllAndUndo(state, engine, engine::FindDefault | engine::FindIgnoreWidth | engine::FindIgnoreKana,
                      kMatches);
}
BENCHMARK(EngineReplaceAllWidthAndKanaFolded)->Unit(benchmark::kMillisecond)->Iterations(5);

void ViewReplaceAllWidthAndKanaFolded(benchmark::State& state)
{
    engine::TextEngine engine;
    engine.setPlainText(documentText());
    engine::EngineView view(engine);
    view.resize(800, 600);
    view.show();
    QApplication::processEvents();
    replaceAllAndUndo(state, engine, engine::FindDefault | engine::FindIgnoreWidth | engine::FindIgnoreKana,
                      kMatches);
}
BENCHMARK(ViewReplaceAllWidthAndKanaFolded)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    return benchsupport::runBenchmarks(argc, argv);
}
