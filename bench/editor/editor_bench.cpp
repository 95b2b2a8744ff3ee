// Applying a style to the whole of a 500-page document and undoing it from
// the undo snapshot: the editor's own work on the engine (snapshot, style,
// restore), and the same commands through the editor control with its view.

#include "bench/benchmain.h"
#include "dialogs/frmt.h"
#include "editor/snapshotlayer.h"
#include "editor/styleapplier.h"
#include "editor/utxm.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"
#include "env/globals.h"
#include "env/yini.h"
#include "testsupport/scripteddialogs.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kPages = 500;
constexpr int kParagraphsPerPage = 24; // two-line body paragraphs at the default page size

QString documentText()
{
    const QString paragraph = QStringLiteral("文書の本文です。段落ごとにスタイルを適用し、元に戻す時間を測ります。")
                                  .repeated(2)
                              + QStringLiteral("\r\n");
    return paragraph.repeated(kPages * kParagraphsPerPage);
}

// The engine alone: what rtAct(60) and rtAct(11) ask of it.
struct EngineSession {
    engine::TextEngine engine;
    dialogs::Frmt formats;
    editor::SnapshotLayer snapshots{engine};

    EngineSession() { engine.setPlainText(documentText()); }

    bool applyStyle(int code)
    {
        engine.setSelection(0, -1);
        snapshots.take();
        return editor::StyleApplier(engine, formats).apply({code, 4, false, false}) && snapshots.held();
    }
};

void EngineApplyStyleToWholeDocument(benchmark::State& state)
{
    EngineSession session;
    state.counters["pages"] = session.engine.pageCount();
    int code = 0;
    for (auto _ : state) {
        if (!session.applyStyle(code))
            state.SkipWithError("no style or no snapshot");
        code = code == 0 ? 3 : 0;
    }
}
BENCHMARK(EngineApplyStyleToWholeDocument)->Unit(benchmark::kMillisecond)->Iterations(5);

void EngineUndoStyleOfWholeDocument(benchmark::State& state)
{
    EngineSession session;
    for (auto _ : state) {
        state.PauseTiming();
        const bool applied = session.applyStyle(0);
        state.ResumeTiming();
        if (!applied) {
            state.SkipWithError("no style or no snapshot");
            break;
        }
        session.snapshots.undo();
    }
}
BENCHMARK(EngineUndoStyleOfWholeDocument)->Unit(benchmark::kMillisecond)->Iterations(5);

// The editor control with its view. The view lays a largely changed document
// out again between events; these measure until control returns.
struct EditorSession {
    QTemporaryDir dir;
    testsupport::ScriptedDialogs dialogs;
    editor::uTxm editor;

    EditorSession()
    {
        env::gxIni().GetTxt(dir.filePath(QStringLiteral("User.xml")));
        editor.cOn(1, 4);
        editor.SetText(documentText());
        // As a user would, wait for the new text to be laid out before acting.
        const auto* view = editor.findChild<engine::EngineView*>();
        while (view && !view->laidOutToEnd())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    bool applyStyle(int code)
    {
        editor.GetObj()->setSelection(0, -1);
        editor.rtAct(60, code);
        return editor.snapshotHeld();
    }
};

void EditorApplyStyleToWholeDocument(benchmark::State& state)
{
    EditorSession session;
    for (auto _ : state) {
        if (!session.applyStyle(0))
            state.SkipWithError("no snapshot");
    }
}
BENCHMARK(EditorApplyStyleToWholeDocument)->Unit(benchmark::kMillisecond)->Iterations(1);

void EditorUndoStyleOfWholeDocument(benchmark::State& state)
{
    EditorSession session;
    for (auto _ : state) {
        state.PauseTiming();
        const bool applied = session.applyStyle(0);
        state.ResumeTiming();
        if (!applied) {
            state.SkipWithError("no snapshot");
            break;
        }
        session.editor.rtAct(11);
    }
}
BENCHMARK(EditorUndoStyleOfWholeDocument)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    return benchsupport::runBenchmarks(argc, argv);
}
