// Taking and restoring snapshots (format code 3) of a long generated document:
// about 500 pages of Japanese and English paragraphs under headings, with
// 100 tables, 50 pictures and 1,000 fields, a header and a footer.
//
//   snapshot_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
//
// The pictures are encoded to PNG the first time a snapshot holds them; the
// "first_save_ms" counter shows that one-off cost, the timings the steady state.

#include "bench/benchmain.h"
#include "engine/fields.h"
#include "engine/objects.h"
#include "engine/pagelayout.h"
#include "engine/snapshot.h"

#include <QElapsedTimer>
#include <QImage>
#include <QRandomGenerator>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kSections = 300;
constexpr int kParagraphsPerSection = 40;
constexpr int kTables = 100;
constexpr int kPictures = 50;
constexpr int kFields = 1000;

struct Parts {
    QTextDocument body, header, firstHeader, footer, firstFooter;
    engine::PageSetup page;

    engine::DocumentSet set() { return {&body, &header, &firstHeader, &footer, &firstFooter, &page}; }
};

// A photograph-like picture: a gradient with noise, which PNG cannot shrink much.
QImage photo(int seed)
{
    QRandomGenerator random{quint32(seed)};
    QImage image(240, 160, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int noise = int(random.bounded(24));
            line[x] = qRgb((x + seed * 13 + noise) % 256, (y * 2 + noise) % 256, (x + y + seed) % 256);
        }
    }
    return image;
}

QString bodyText(int n)
{
    if (n % 2)
        return QStringLiteral("吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。"
                              "何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは記憶している。第%1段落。")
            .arg(n);
    return QStringLiteral("The quick brown fox jumps over the lazy dog in paragraph %1, long enough "
                          "to wrap over a second line of a letter-sized page.")
        .arg(n);
}

void addTable(QTextCursor& cursor, int n)
{
    QTextTable* table = cursor.insertTable(3, 4);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            table->cellAt(row, column).firstCursorPosition().insertText(QStringLiteral("表%1 %2-%3").arg(n).arg(row).arg(column));
    cursor.setPosition(table->lastPosition() + 1);
}

std::unique_ptr<Parts> generated()
{
    auto parts = std::make_unique<Parts>();
    QTextCursor cursor(&parts->body);
    engine::Fields fields(parts->body);
    engine::Objects objects(parts->body);
    QTextCharFormat heading;
    heading.setFontFamilies({QStringLiteral("ＭＳ Ｐゴシック")});
    heading.setFontPointSize(16);
    heading.setFontWeight(QFont::Bold);
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("ＭＳ Ｐ明朝")});
    plain.setFontPointSize(10.5);

    const int paragraphs = kSections * kParagraphsPerSection;
    int tables = 0, pictures = 0, fieldCount = 0;
    for (int n = 0; n < paragraphs; ++n) {
        if (n > 0)
            cursor.insertBlock();
        if (n % kParagraphsPerSection == 0) {
            cursor.insertText(QStringLiteral("第%1章 見出し Heading").arg(n / kParagraphsPerSection + 1), heading);
            continue;
        }
        cursor.insertText(bodyText(n), plain);
        if (fieldCount < kFields && n % (paragraphs / kFields) == 1) {
            cursor.insertText(QStringLiteral(" "), plain);
            const int id = fields.insert(cursor, QStringLiteral("リンク%1").arg(fieldCount));
            fields.setProperty(id, engine::FieldData, QStringLiteral("https://example.jp/%1").arg(fieldCount));
            ++fieldCount;
        }
        if (pictures < kPictures && n % (paragraphs / kPictures) == 7)
            objects.insertPicture(cursor, photo(pictures++), engine::PictureInline, {});
        if (tables < kTables && n % (paragraphs / kTables) == 20)
            addTable(cursor, tables++);
    }
    QTextCursor(&parts->header).insertText(QStringLiteral("ヘッダー"), plain);
    QTextCursor(&parts->footer).insertText(QStringLiteral("フッター"), plain);
    parts->page.headerFooterFlags = engine::HeaderEveryPage | engine::FooterEveryPage;
    return parts;
}

Parts& document()
{
    static std::unique_ptr<Parts> made = generated();
    return *made;
}

// Once: the page count, and what the first snapshot costs while the pictures are encoded.
void describe(benchmark::State& state)
{
    static const int pages = [] {
        Parts& parts = document();
        return engine::PageLayout(parts.body, parts.page, {&parts.header, nullptr, &parts.footer, nullptr}).pageCount();
    }();
    static const double firstSaveMs = [] {
        QElapsedTimer timer;
        timer.start();
        benchmark::DoNotOptimize(engine::writeSnapshot(document().set()));
        return timer.nsecsElapsed() / 1e6;
    }();
    state.counters["pages"] = pages;
    state.counters["first_save_ms"] = firstSaveMs;
}

void BM_SnapshotSaveAndLoad(benchmark::State& state)
{
    describe(state);
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray snapshot = engine::writeSnapshot(document().set());
        Parts restored; // the engine restores into fresh documents
        if (!engine::readSnapshot(snapshot, restored.set()))
            state.SkipWithError("snapshot refused");
        bytes = snapshot.size();
    }
    state.counters["snapshot_kib"] = double(bytes) / 1024;
}
BENCHMARK(BM_SnapshotSaveAndLoad)->Unit(benchmark::kMillisecond);

void BM_SnapshotSave(benchmark::State& state)
{
    describe(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(engine::writeSnapshot(document().set()));
}
BENCHMARK(BM_SnapshotSave)->Unit(benchmark::kMillisecond);

void BM_SnapshotLoad(benchmark::State& state)
{
    describe(state);
    const QByteArray snapshot = engine::writeSnapshot(document().set());
    for (auto _ : state) {
        Parts restored;
        benchmark::DoNotOptimize(engine::readSnapshot(snapshot, restored.set()));
    }
}
BENCHMARK(BM_SnapshotLoad)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return benchsupport::runBenchmarks(argc, argv);
}
