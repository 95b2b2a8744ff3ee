// Writing the dialect from an engine export of a long document: 500 pages
// (30,000 elements, 300 distinct styles) and ten times that. The rewrite must
// grow linearly: ten times the document may take at most twelve times as long.

#include "bench/benchmain.h"
#include "env/mclt.h"
#include "html/yhtm.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// One page of engine HTML, 63 elements: paragraphs with styled runs, a link,
// a tool tip, a table and a picture. Styles cycle through 150 paragraph and
// 150 run variants.
QString engineBlock(int block)
{
    QString text;
    for (int i = 0; i < 6; ++i) {
        const int n = (block * 6 + i) % 150;
        text += QStringLiteral("<p style=\"margin-left:%1pt;margin-top:%2pt;font-size:10pt;\">"
                               "本文の段落　%3 <span style=\"font-weight:bold;color:#%4;\">強調</span> 続き</p>\r\n")
                    .arg(n % 15 + 3).arg(n / 15).arg(block)
                    .arg(QString::number(0x010203 * n, 16).rightJustified(6, u'0'));
    }
    text += QStringLiteral("<p style=\"margin-left:3pt;\"><a href=\"#TG_x_%1\">文書</a> と "
                           "<a href=\"#TP_tip%1\">ヒント%1</a></p>\r\n").arg(block);
    text += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\" cols=\"1\"><tr><td align=\"center\" "
                           "bgcolor=\"#ffff00\"><p>セル</p></td></tr></table>\r\n");
    text += QStringLiteral("<p style=\"margin-left:3pt;\"><img src=\"doc_images/p%1.png\" alt=\"\" /></p>\r\n").arg(block);
    return text;
}

QString engineDocument(int pages)
{
    QString text = QStringLiteral("<html><head><base href=\"file:///tmp/\"></head>\r\n"
                                  "<body style=\"font-family:'Arial';font-size:10pt;\">\r\n");
    for (int page = 0; page < pages; ++page)
        text += engineBlock(page);
    return text + QStringLiteral("</body></html>\r\n");
}

QString tipTable(int pages)
{
    QString table;
    for (int page = 0; page < pages; page += 2)
        table += QStringLiteral("ヒント%1\tヒントの説明 %1\r").arg(page);
    return table;
}

void BM_SaveHtm(benchmark::State& state)
{
    const int pages = int(500 * state.range(0));
    const QString engineHtml = engineDocument(pages);
    const QString tips = tipTable(pages);
    const html::EngineExport engine = [&engineHtml](const html::EngineExportRequest& request) {
        return mClt::WriteUtf8(request.htmlPath, engineHtml);
    };
    QTemporaryDir folder;
    html::yHtm writer(html::StyleSet::defaults());
    for (auto _ : state) {
        if (!writer.cSaveHtm(engine, false, folder.filePath(QStringLiteral("doc.htm")), tips, QStringLiteral("bench")))
            state.SkipWithError("save failed");
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_SaveHtm)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    return benchsupport::runBenchmarks(argc, argv);
}
