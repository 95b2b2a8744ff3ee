// The engine's HTML export and the HTML reader on a long document: 500 pages
// (about 30,000 elements with 300 distinct paragraph and run looks) and ten
// times that. Both must grow linearly with the document.

#include "bench/benchmain.h"
#include "engine/fieldformat.h"
#include "engine/fields.h"
#include "engine/hostunits.h"
#include "engine/textengine.h"
#include "formats/enginehtmlexport.h"
#include "formats/htmlimport.h"
#include "formats/tooltiptable.h"
#include "html/yhtm.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <benchmark/benchmark.h>

namespace {

void addField(QTextCursor& cursor, const QString& text, const QString& data)
{
    engine::Fields fields(*cursor.document());
    const int id = fields.insert(cursor, text);
    fields.setProperty(id, engine::FieldData, data);
}

// One page: six paragraphs with styled runs, a link, a tool tip and a
// one-cell table. Looks cycle through 150 paragraph and 150 run variants.
void addPage(QTextCursor& cursor, int page)
{
    for (int i = 0; i < 6; ++i) {
        const int n = (page * 6 + i) % 150;
        QTextBlockFormat block;
        block.setLeftMargin(engine::twipsToDocument(60 + 20 * (n % 15)));
        block.setTopMargin(engine::twipsToDocument(20 * (n / 15)));
        block.setLineHeight(engine::twipsToDocument(240), QTextBlockFormat::MinimumHeight);
        cursor.insertBlock(block);
        QTextCharFormat body;
        body.setFontFamilies({QStringLiteral("ＭＳ Ｐゴシック")});
        body.setFontPointSize(10);
        cursor.setBlockCharFormat(body);
        cursor.insertText(QStringLiteral("本文の段落　%1 ").arg(page), body);
        QTextCharFormat strong = body;
        strong.setFontWeight(QFont::Bold);
        strong.setForeground(QColor::fromRgb(0x010203 * n));
        cursor.insertText(QStringLiteral("強調"), strong);
        cursor.insertText(QStringLiteral(" 続き"), body);
    }
    cursor.insertBlock();
    addField(cursor, QStringLiteral("文書"), QStringLiteral("TG_x_%1").arg(page));
    cursor.insertText(QStringLiteral(" と "));
    addField(cursor, QStringLiteral("ヒント%1").arg(page), QStringLiteral("TP_説明 %1").arg(page));
    QTextTable* table = cursor.insertTable(1, 1);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("セル"));
    cursor.movePosition(QTextCursor::End);
}

void buildDocument(QTextDocument& document, int pages)
{
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (int page = 0; page < pages; ++page)
        addPage(cursor, page);
    cursor.endEditBlock();
}

void BM_EngineExport(benchmark::State& state)
{
    engine::TextEngine engine;
    buildDocument(*engine.document(), int(500 * state.range(0)));
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
    buildDocument(*engine.document(), int(500 * state.range(0)));
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
        buildDocument(*engine.document(), int(500 * state.range(0)));
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
