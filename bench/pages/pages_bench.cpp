// Pagination and page-view editing of a long generated document: a 500-page
// document of Japanese and English paragraphs with headings, 100 tables,
// 50 pictures and 1,000 fields.
//
//   pages_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "bench/benchmain.h"
#include "engine/pagelayout.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"
#include "print/pageview.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {

constexpr int kParagraphs = 12700;
constexpr int kTables = 100;
constexpr int kPictures = 50;
constexpr int kFields = 1000;
constexpr int kHeadingEvery = 40;

QString paragraph(int i)
{
    if (i % kHeadingEvery == 0)
        return QStringLiteral("第%1章 見出し Heading %1").arg(i / kHeadingEvery + 1);
    if (i % 2)
        return QStringLiteral("吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。"
                              "何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは記憶している。"
                              "段落 %1。").arg(i);
    return QStringLiteral("The quick brown fox jumps over the lazy dog, paragraph %1, "
                          "long enough to wrap over a second line of a letter-sized page.").arg(i);
}

// The engine with the generated document, made once for every benchmark.
engine::TextEngine& generated()
{
    static std::unique_ptr<engine::TextEngine> made = [] {
        auto engine = std::make_unique<engine::TextEngine>();
        QStringList text;
        for (int i = 0; i < kParagraphs; ++i)
            text << paragraph(i);
        engine->setPlainText(text.join(QChar(u'\n')));
        QTextDocument& body = *engine->document();
        // From the end backwards, so that earlier positions stay where they are.
        QImage picture(160, 90, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        for (int i = kParagraphs - 1; i > 0; --i) {
            const int position = body.findBlockByNumber(i).position();
            const int step = kParagraphs / kFields;
            if (i % step == 0) {
                engine->setSelection(position, 4);
                engine->insertField(QStringLiteral("リンク%1").arg(i));
            }
            if (i % (kParagraphs / kTables) == 0) {
                engine->setSelection(position, 0);
                engine->insertTable(3, 4);
            }
            if (i % (kParagraphs / kPictures) == 7) {
                engine->setSelection(position, 0);
                engine->insertPicture(picture, engine::PictureInline);
            }
            if (i % kHeadingEvery == 0) {
                engine->setSelection(position, body.findBlockByNumber(i).length() - 1);
                engine->setFontSize(16);
                engine->setBold(true);
            }
        }
        engine->setHeaderFooterFlags(engine::HeaderEveryPage | engine::FooterEveryPage);
        engine->headerFooterDocument(engine::HeaderEveryPage)->setPlainText(QStringLiteral("ヘッダー"));
        engine->headerFooterDocument(engine::FooterEveryPage)->setPlainText(QStringLiteral("フッター"));
        return engine;
    }();
    return *made;
}

engine::HeaderFooterDocuments margins(const engine::TextEngine& engine)
{
    return {engine.headerFooterDocument(engine::HeaderEveryPage), nullptr,
            engine.headerFooterDocument(engine::FooterEveryPage), nullptr};
}

void BM_PaginateAllPages(benchmark::State& state)
{
    engine::TextEngine& engine = generated();
    int pages = 0;
    for (auto _ : state) {
        engine::PageLayout layout(*engine.document(), engine.pageSetup(), margins(engine));
        pages = layout.pageCount();
        benchmark::DoNotOptimize(pages);
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_PaginateAllPages)->Unit(benchmark::kMillisecond);

void BM_PaintOnePage(benchmark::State& state)
{
    engine::TextEngine& engine = generated();
    engine::PageLayout layout(*engine.document(), engine.pageSetup(), margins(engine));
    const int pages = layout.pageCount(); // lays the pages out before timing
    QImage sheet(816, 1056, QImage::Format_RGB32);
    int page = 1;
    for (auto _ : state) {
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        layout.paintPage(page, painter, QRectF(sheet.rect()));
        page = page % pages + 1;
    }
}
BENCHMARK(BM_PaintOnePage)->Unit(benchmark::kMillisecond);

// The view (in page layout mode unless told), laid out to the end before
// timing starts.
struct PageView {
    engine::TextEngine& engine = generated();
    engine::EngineView view{engine};

    explicit PageView(engine::ViewMode mode = engine::ViewMode::PageLayout)
    {
        engine.setViewMode(mode);
        view.resize(1000, 800);
        view.show();
        QApplication::processEvents();
        finishLayout();
    }
    void finishLayout() { engine.document()->documentLayout()->documentSize(); }
};

// One typed character at a point of the document (per cent of its
// paragraphs), painted, with the layout brought up to date to the end.
void BM_Keystroke(benchmark::State& state)
{
    PageView shown(engine::ViewMode(state.range(1)));
    QTextDocument& body = *shown.engine.document();
    const int paragraph = std::min(body.blockCount() - 1, int(body.blockCount() * state.range(0) / 100));
    const int where = body.findBlockByNumber(paragraph).position();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    for (auto _ : state) {
        state.PauseTiming();
        QTextCursor cursor(&body);
        cursor.setPosition(where);
        shown.view.setTextCursor(cursor);
        state.ResumeTiming();
        QApplication::sendEvent(&shown.view, &key);
        shown.view.viewport()->repaint();
        shown.finishLayout();
        state.PauseTiming();
        shown.engine.undo();
        shown.finishLayout();
        state.ResumeTiming();
    }
}
// Arguments: where (per cent of the paragraphs), view mode (2 pages, 0 normal).
BENCHMARK(BM_Keystroke)
    ->ArgsProduct({{0, 50, 100}, {2, 0}})
    ->ArgNames({"at", "mode"})
    ->Unit(benchmark::kMillisecond);

// For comparison: what laying the whole document out again costs in the view.
void BM_WholeRelayoutInPageView(benchmark::State& state)
{
    PageView shown;
    QTextDocument& body = *shown.engine.document();
    for (auto _ : state) {
        body.setPageSize(body.pageSize());
        shown.finishLayout();
    }
}
BENCHMARK(BM_WholeRelayoutInPageView)->Unit(benchmark::kMillisecond);

// What happens to the document before the page view opens: nothing, one
// character typed in the middle, or a new page setup (the same one again).
enum BeforeOpening { Unchanged, Typed, NewPageSetup };

// A character typed in the middle of the document, as the editor types it.
void typeInTheMiddle(PageView& shown)
{
    QTextDocument& body = *shown.engine.document();
    QTextCursor cursor(body.findBlockByNumber(body.blockCount() / 2));
    shown.view.setTextCursor(cursor);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(&shown.view, &key);
}

// The page view opened over an editor in normal mode, until its first page
// is painted: the engine goes to page layout at the fit zoom and paginates
// again as far as the change before asks. Closing it is not timed.
void BM_OpenPageView(benchmark::State& state)
{
    PageView editor(engine::ViewMode::Normal);
    QWidget window;
    window.resize(1200, 900);
    editor.engine.pageCount(); // paginated before timing, as an editor that printed or showed pages had
    for (auto _ : state) {
        state.PauseTiming();
        if (state.range(0) == Typed)
            typeInTheMiddle(editor);
        if (state.range(0) == NewPageSetup)
            editor.engine.setPageSetup(editor.engine.pageSetup());
        state.ResumeTiming();
        auto view = std::make_unique<print::PageView>(editor.engine, QString(), QString(), print::PrinterDirectory{},
                                                      &window);
        view->show();
        QApplication::processEvents();
        view->pageBox()->repaint();
        state.PauseTiming();
        view.reset();
        QApplication::processEvents();
        editor.finishLayout();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenPageView)
    ->Arg(Unchanged)
    ->Arg(Typed)
    ->Arg(NewPageSetup)
    ->ArgName("before")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// The page count asked for after one character typed in the middle of a
// paginated document (the typing itself is not timed).
void BM_PageCountAfterTyping(benchmark::State& state)
{
    PageView editor(engine::ViewMode::Normal);
    int pages = editor.engine.pageCount();
    for (auto _ : state) {
        state.PauseTiming();
        typeInTheMiddle(editor);
        editor.finishLayout();
        state.ResumeTiming();
        pages = editor.engine.pageCount();
        benchmark::DoNotOptimize(pages);
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_PageCountAfterTyping)->Unit(benchmark::kMillisecond);

// One page turned in the open page view, painted; from the last page back
// to the first.
void BM_TurnPageInPageView(benchmark::State& state)
{
    PageView editor(engine::ViewMode::Normal);
    QWidget window;
    window.resize(1200, 900);
    print::PageView view(editor.engine, QString(), QString(), print::PrinterDirectory{}, &window);
    view.show();
    QApplication::processEvents();
    auto* next = view.findChild<QAction*>(QStringLiteral("mnPage2"));
    auto* first = view.findChild<QAction*>(QStringLiteral("mnPage0"));
    for (auto _ : state) {
        (next->isEnabled() ? next : first)->trigger();
        view.pageBox()->repaint();
    }
    state.counters["pages"] = view.state().pageCount();
}
BENCHMARK(BM_TurnPageInPageView)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return benchsupport::runBenchmarks(argc, argv);
}
