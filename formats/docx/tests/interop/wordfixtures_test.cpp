// Word files written by other programs — LibreOffice, and python-docx with
// its template from Word (made by data/fixtures/make_fixtures.py) — read as
// the editor opens them: the same text as LibreOffice's own text export of
// each file, and the headings, table cells, pictures, links, header and page
// setup they were made with. Skipped where LibreOffice is not installed
// (Debian libreoffice-writer-nogui).

#include "formats/docx/docxcodec.h"

#include "engine/fieldformat.h"
#include "engine/textengine.h"
#include "testsupport/printers.h"
#include "testsupport/tempfolder.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

const QString kFixtures = QStringLiteral(FUMI_TEST_DATA "/fixtures");

// LibreOffice's text export of `docx` as UTF-8 lines; empty when it failed.
QStringList textByLibreOffice(const QString& soffice, const QString& docx, const QString& folder)
{
    QProcess process;
    process.start(soffice, {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(folder + QStringLiteral("/profile")).toString(),
                            QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                            QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"), folder, docx});
    QFile text(folder + u'/' + QFileInfo(docx).completeBaseName() + QStringLiteral(".txt"));
    if (!process.waitForFinished(180000) || process.exitCode() != 0 || !text.open(QIODevice::ReadOnly))
        return {};
    QString all = QString::fromUtf8(text.readAll());
    if (all.startsWith(QChar(0xFEFF)))
        all.remove(0, 1);
    all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (all.endsWith(u'\n'))
        all.chop(1);
    return all.split(u'\n');
}

// LibreOffice's text export puts each list item's number or bullet, and the
// outline indent of headings, before the paragraph; the document's own text
// is what follows.
QStringList withoutListLabels(QStringList lines)
{
    static const QRegularExpression label(QStringLiteral("^\\s*(?:\\d+\\.|•)?\\s*"));
    for (QString& line : lines)
        line.remove(label);
    return lines;
}

void appendBlocks(QTextFrame* frame, QStringList& lines);

void appendCells(QTextTable* table, QStringList& lines)
{
    for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            // LibreOffice writes the empty paragraph of each cell a merge
            // continues downwards as a line of its own.
            if (cell.row() != row && cell.column() == column)
                lines << QString();
            if (cell.row() != row || cell.column() != column)
                continue;
            for (QTextFrame::iterator it = cell.begin(); !it.atEnd(); ++it) {
                if (it.currentBlock().isValid())
                    lines << it.currentBlock().text();
            }
        }
    }
}

// One line a paragraph, in reading order, table cells row by row; pictures
// carry no text. Text frames are left out, as LibreOffice's export leaves
// text boxes out.
void appendBlocks(QTextFrame* frame, QStringList& lines)
{
    for (QTextFrame::iterator it = frame->begin(); !it.atEnd(); ++it) {
        if (QTextTable* table = qobject_cast<QTextTable*>(it.currentFrame()))
            appendCells(table, lines);
        else if (it.currentBlock().isValid())
            lines << it.currentBlock().text().remove(QChar(QChar::ObjectReplacementCharacter));
    }
}

QStringList paragraphLines(QTextDocument& document)
{
    QStringList lines;
    appendBlocks(document.rootFrame(), lines);
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

struct Structure {
    QStringList headings; // "level:text"
    QStringList links;    // "text -> target"
    int pictures = 0;
    QStringList spans;    // "row,column rowspan x colspan: text" of every merged cell
};

QString blockText(const QTextTableCell& cell)
{
    return cell.firstCursorPosition().block().text();
}

Structure structureOf(QTextDocument& document)
{
    Structure found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0)
            found.headings << QString::number(block.blockFormat().headingLevel()) + u':' + block.text();
        int field = 0;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat())
                ++found.pictures;
            const int id = format.intProperty(engine::FieldId);
            if (id && id != field)
                found.links << it.fragment().text() + QStringLiteral(" -> ") + format.stringProperty(engine::FieldData);
            else if (id)
                found.links.back().insert(found.links.back().indexOf(QStringLiteral(" -> ")), it.fragment().text());
            field = id;
        }
        QTextCursor cursor(block);
        QTextTable* table = cursor.currentTable();
        if (!table || cursor.position() != table->firstPosition())
            continue;
        for (int row = 0; row < table->rows(); ++row) {
            for (int column = 0; column < table->columns(); ++column) {
                const QTextTableCell cell = table->cellAt(row, column);
                if (cell.row() == row && cell.column() == column && (cell.rowSpan() > 1 || cell.columnSpan() > 1))
                    found.spans << QStringLiteral("%1,%2 %3x%4: ").arg(row).arg(column).arg(cell.rowSpan()).arg(cell.columnSpan())
                            + blockText(cell);
            }
        }
    }
    return found;
}

struct Fixture {
    const char* file;
    QStringList headings;
    QStringList links;
    int pictures;
    QStringList spans;
    QString header;
    engine::PageSetup page; // headerFooterFlags: those of the header alone
};

void PrintTo(const Fixture& fixture, std::ostream* os)
{
    *os << fixture.file;
}

class WordFixture : public ::testing::TestWithParam<Fixture> {
protected:
    void SetUp() override
    {
        soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            GTEST_SKIP() << "LibreOffice (Debian libreoffice-writer-nogui) is not installed";
        formats::docx::registerDocxCodec();
        path = kFixtures + u'/' + QString::fromUtf8(GetParam().file);
        ASSERT_TRUE(engine.loadFile(path, engine::FormatCode::Docx, false)) << path.toStdString();
    }

    QString soffice;
    QString path;
    engine::TextEngine engine;
    testsupport::TempFolder folder;
};

TEST_P(WordFixture, HasLibreOfficesTextCharacterForCharacter)
{
    const QStringList expected = withoutListLabels(textByLibreOffice(soffice, path, folder.path()));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(withoutListLabels(paragraphLines(*engine.document())), expected);
}

TEST_P(WordFixture, KeepsHeadingsCellsPicturesLinksHeaderAndPage)
{
    const Fixture& fixture = GetParam();
    const Structure found = structureOf(*engine.document());
    EXPECT_EQ(found.headings, fixture.headings);
    EXPECT_EQ(found.links, fixture.links);
    EXPECT_EQ(found.pictures, fixture.pictures);
    EXPECT_EQ(found.spans, fixture.spans);
    const engine::DocumentSet set = engine.documentSet();
    EXPECT_EQ(set.header->toPlainText(), fixture.header);
    const engine::PageSetup page = engine.pageSetup();
    EXPECT_EQ(page.sheetTwips(), fixture.page.sheetTwips());
    EXPECT_EQ(page.landscape, fixture.page.landscape);
    for (const auto& [read, made] : {std::pair{page.marginLeft, fixture.page.marginLeft}, {page.marginTop, fixture.page.marginTop},
                                     {page.marginRight, fixture.page.marginRight}, {page.marginBottom, fixture.page.marginBottom}})
        EXPECT_NEAR(read, made, 2) << "margins in twips, rounded from centimetres";
    EXPECT_TRUE(page.headerFooterFlags & engine::HeaderEveryPage);
}

constexpr int cm(double centimetres)
{
    return int(centimetres * 1440 / 2.54 + 0.5);
}

INSTANTIATE_TEST_SUITE_P(
    MadeElsewhere, WordFixture,
    ::testing::Values(
        Fixture{"libreoffice.docx",
                {QStringLiteral("1:第一章 はじめに"), QStringLiteral("2:Lists 一覧"), QStringLiteral("2:表と画像 Table and picture")},
                {QStringLiteral("例のサイト -> https://example.com/fumi")},
                1,
                {QStringLiteral("0,0 1x2: 結合したセル merged")},
                QStringLiteral("ヘッダーの文 Header line"),
                // LibreOffice measures the body's top margin below the header:
                // 2 cm to the header, then the header's line and spacing.
                {cm(29.7), cm(21), cm(2.5), 1436, cm(1.8), cm(1.5), true, 0}},
        Fixture{"pythondocx.docx",
                {QStringLiteral("1:報告書 Report"), QStringLiteral("2:箇条書き Lists"), QStringLiteral("2:表 Table"),
                 QStringLiteral("3:画像 Picture")},
                {QStringLiteral("報告のページ -> https://example.org/報告")},
                1,
                {QStringLiteral("0,0 1x2: 横に結合 across"), QStringLiteral("1,2 2x1: 縦に結合 down")},
                QStringLiteral("文書のヘッダー Header"),
                {cm(18.2), cm(25.7), cm(2.2), cm(2), cm(1.9), cm(2), false, 0}}),
    [](const ::testing::TestParamInfo<Fixture>& info) {
        return QFileInfo(QString::fromUtf8(info.param.file)).completeBaseName().toStdString();
    });

} // namespace
