// RTF against LibreOffice: files LibreOffice wrote from the Word fixtures and
// a Japanese file in Word's form (made by data/fixtures/make_fixtures.py),
// read as the editor opens them, have LibreOffice's own text export of each
// file, character for character, and the headings, merged cells, pictures,
// links and header they were made with; and what the writer makes keeps its
// text, headings, tables, pictures and links when LibreOffice reads it.
// Skipped where LibreOffice is not installed (Debian libreoffice-writer-nogui).

#include "formats/rtf/rtfcodec.h"
#include "formats/rtf/rtfwriter.h"
#include "formats/html/tests/documentbuilder.h"

#include "engine/fieldformat.h"
#include "engine/textengine.h"
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

// What LibreOffice makes of `file` as `filter` ("txt:Text (encoded):UTF8",
// "html"), as text; empty when it failed.
QString convertedByLibreOffice(const QString& soffice, const QString& file, const QString& filter, const QString& folder)
{
    QProcess process;
    process.start(soffice, {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(folder + QStringLiteral("/profile")).toString(),
                            QStringLiteral("--headless"), QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"),
                            folder, file});
    const QString suffix = filter.section(u':', 0, 0);
    QFile converted(folder + u'/' + QFileInfo(file).completeBaseName() + u'.' + suffix);
    if (!process.waitForFinished(180000) || process.exitCode() != 0 || !converted.open(QIODevice::ReadOnly))
        return {};
    QString all = QString::fromUtf8(converted.readAll());
    if (all.startsWith(QChar(0xFEFF)))
        all.remove(0, 1);
    return all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The lines of LibreOffice's text export without the list labels and
// outline indents it puts before paragraphs.
QStringList textLines(QString text)
{
    static const QRegularExpression label(QStringLiteral("^\\s*(?:\\d+\\.|•)?\\s*"));
    if (text.endsWith(u'\n'))
        text.chop(1);
    QStringList lines = text.split(u'\n');
    for (QString& line : lines)
        line.remove(label);
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

// One line a paragraph in reading order, table cells row by row (a cell a
// vertical merge covers as the empty line LibreOffice writes for it); text
// frames left out, as LibreOffice's export leaves text boxes out.
void appendLines(QTextFrame::iterator it, QStringList& lines)
{
    for (; !it.atEnd(); ++it) {
        if (auto* table = qobject_cast<QTextTable*>(it.currentFrame())) {
            for (int row = 0; row < table->rows(); ++row) {
                for (int column = 0; column < table->columns(); ++column) {
                    const QTextTableCell cell = table->cellAt(row, column);
                    if (cell.row() != row && cell.column() == column)
                        lines << QString();
                    if (cell.row() == row && cell.column() == column)
                        appendLines(cell.begin(), lines);
                }
            }
        } else if (it.currentBlock().isValid()) {
            lines << it.currentBlock().text().remove(QChar(QChar::ObjectReplacementCharacter));
        }
    }
}

QStringList paragraphLines(QTextDocument& document)
{
    QStringList lines;
    appendLines(document.rootFrame()->begin(), lines);
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return textLines(lines.join(u'\n'));
}

struct Structure {
    QStringList headings; // "level:text"
    QStringList links;    // "text -> data"
    int pictures = 0;
    int mergedCells = 0;
};

Structure structureOf(QTextDocument& document)
{
    Structure found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0)
            found.headings << QString::number(block.blockFormat().headingLevel()) + u':' + block.text();
        int field = 0;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            found.pictures += format.isImageFormat() ? it.fragment().length() : 0;
            const int id = format.intProperty(engine::FieldId);
            if (id && id != field)
                found.links << it.fragment().text() + QStringLiteral(" -> ") + format.stringProperty(engine::FieldData);
            else if (id)
                found.links.back().insert(found.links.back().indexOf(QStringLiteral(" -> ")), it.fragment().text());
            field = id;
        }
        QTextCursor cursor(block);
        const QTextTableCell cell = cursor.currentTable() ? cursor.currentTable()->cellAt(cursor) : QTextTableCell();
        if (cell.isValid() && cell.firstPosition() == block.position() && (cell.rowSpan() > 1 || cell.columnSpan() > 1))
            ++found.mergedCells;
    }
    return found;
}

struct Fixture {
    const char* file;
    QStringList headings;
    QStringList links;
    int pictures;
    int mergedCells;
    QString header;
};

void PrintTo(const Fixture& fixture, std::ostream* os)
{
    *os << fixture.file;
}

class RtfFixture : public ::testing::TestWithParam<Fixture> {
protected:
    void SetUp() override
    {
        soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            GTEST_SKIP() << "LibreOffice (Debian libreoffice-writer-nogui) is not installed";
        formats::rtf::registerRtfCodec();
        path = kFixtures + u'/' + QString::fromUtf8(GetParam().file);
        ASSERT_TRUE(engine.loadFile(path, engine::FormatCode::Rtf, false)) << path.toStdString();
    }

    QString soffice;
    QString path;
    engine::TextEngine engine;
    testsupport::TempFolder folder;
};

TEST_P(RtfFixture, HasLibreOfficesTextCharacterForCharacter)
{
    const QStringList expected = textLines(convertedByLibreOffice(soffice, path, QStringLiteral("txt:Text (encoded):UTF8"), folder.path()));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(paragraphLines(*engine.document()), expected);
}

TEST_P(RtfFixture, KeepsHeadingsMergedCellsPicturesLinksAndHeader)
{
    const Fixture& fixture = GetParam();
    const Structure found = structureOf(*engine.document());
    EXPECT_EQ(found.headings, fixture.headings);
    EXPECT_EQ(found.links, fixture.links);
    EXPECT_EQ(found.pictures, fixture.pictures);
    EXPECT_EQ(found.mergedCells, fixture.mergedCells);
    EXPECT_EQ(engine.documentSet().header->toPlainText(), fixture.header);
}

INSTANTIATE_TEST_SUITE_P(
    MadeElsewhere, RtfFixture,
    ::testing::Values(
        Fixture{"libreoffice.rtf",
                {QStringLiteral("1:第一章 はじめに"), QStringLiteral("2:Lists 一覧"), QStringLiteral("2:表と画像 Table and picture")},
                {QStringLiteral("例のサイト -> https://example.com/fumi")},
                1,
                1,
                QStringLiteral("ヘッダーの文 Header line")},
        Fixture{"pythondocx.rtf",
                {QStringLiteral("1:報告書 Report"), QStringLiteral("2:箇条書き Lists"), QStringLiteral("2:表 Table"),
                 QStringLiteral("3:画像 Picture")},
                {QStringLiteral("報告のページ -> https://example.org/報告")},
                1,
                2,
                QStringLiteral("文書のヘッダー Header")},
        Fixture{"word-ja.rtf", {QStringLiteral("1:第一章　はじめに")}, {QStringLiteral("サイト -> https://example.jp/")}, 0, 0, {}}),
    [](const ::testing::TestParamInfo<Fixture>& info) {
        return QFileInfo(QString::fromUtf8(info.param.file)).completeBaseName().replace(u'-', u'_').toStdString();
    });

TEST(RtfWriterInterop, LibreOfficeKeepsTheTextHeadingsTablesPicturesAndLinksOfWhatItWrites)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice (Debian libreoffice-writer-nogui) is not installed";
    QTextDocument body;
    formatstest::DocumentBuilder builder(body);
    builder.paragraph(formatstest::ParagraphLook::heading(1)).text(QStringLiteral("第一章 概要"));
    builder.paragraph().text(QStringLiteral("日本語の本文 é 𠮷、")).field(QStringLiteral("サイト"), QStringLiteral("https://example.jp/"));
    QTextTable* table = builder.table(2, 2);
    builder.paragraph().text(QStringLiteral("りんご"));
    builder.inCell(table, 0, 1).paragraph().text(QStringLiteral("みかん"));
    builder.inCell(table, 1, 0).paragraph().text(QStringLiteral("ぶどう"));
    builder.atEnd().paragraph(formatstest::ParagraphLook::heading(2)).text(QStringLiteral("図"));
    builder.paragraph().picture(formatstest::testPicture(30, 20, Qt::red));
    engine::DocumentSet set;
    set.body = &body;
    testsupport::TempFolder folder;
    const QString file = folder.path(QStringLiteral("fumi.rtf"));
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(formats::rtf::writeRtf(set, html::StyleSet::defaults()));
    }
    const QStringList text = textLines(convertedByLibreOffice(soffice, file, QStringLiteral("txt:Text (encoded):UTF8"), folder.path()));
    EXPECT_EQ(text, (QStringList{QStringLiteral("第一章 概要"), QStringLiteral("日本語の本文 é 𠮷、サイト"),
                                 QStringLiteral("りんご"), QStringLiteral("みかん"), QStringLiteral("ぶどう"), QString(),
                                 QStringLiteral("図")}));
    const QString html = convertedByLibreOffice(soffice, file, QStringLiteral("html"), folder.path());
    EXPECT_TRUE(html.contains(QRegularExpression(QStringLiteral("<h1[^>]*>(\\s|<[^>]*>)*第一章"))));
    EXPECT_TRUE(html.contains(QRegularExpression(QStringLiteral("<h2[^>]*>(\\s|<[^>]*>)*図"))));
    EXPECT_TRUE(html.contains(QStringLiteral("<table")));
    EXPECT_TRUE(html.contains(QStringLiteral("href=\"https://example.jp/\"")));
    EXPECT_TRUE(html.contains(QStringLiteral("<img")));
}

} // namespace
