// The RTF writer: a golden file, the same bytes for the same document,
// write → read → write as a fixed point, and what the program keeps of its
// own (fields, headings, lists, tables, pictures, frames) coming back.

#include "formats/rtf/rtfcodec.h"
#include "formats/rtf/rtfreader.h"
#include "formats/rtf/rtfwriter.h"
#include "formats/rtf/tests/rtffixture.h"
#include "formats/html/tests/documentbuilder.h"

#include "engine/fieldformat.h"
#include "engine/fields.h"
#include "engine/objects.h"
#include "testsupport/golden.h"

#include <QBuffer>
#include <QImage>
#include <QTextList>
#include <QTextTable>

using namespace formats::rtf;
using formatstest::DocumentBuilder;
using formatstest::ParagraphLook;
using rtftest::Documents;
using rtftest::paragraphs;

namespace {

html::StyleSet userStyles()
{
    html::StyleSet styles;
    styles.body = {QStringLiteral("ＭＳ 明朝"), 10, 0x000000};
    styles.headings = {html::TextStyle{QStringLiteral("ＭＳ ゴシック"), 14, 0x800000},
                       html::TextStyle{QStringLiteral("ＭＳ ゴシック"), 12, 0x008000},
                       html::TextStyle{QStringLiteral("ＭＳ ゴシック"), 11, 0x000080}};
    return styles;
}

QByteArray written(Documents& documents)
{
    return writeRtf(documents.set(), userStyles());
}

// A document with a little of everything the writer writes.
void buildRichDocument(Documents& documents)
{
    documents.body.setMetaInformation(QTextDocument::DocumentTitle, QStringLiteral("月例報告"));
    documents.setup.landscape = true;
    documents.setup.marginLeft = 1134;
    documents.setup.headerFooterFlags = engine::HeaderEveryPage | engine::FooterFirstPage;
    DocumentBuilder(documents.header).paragraph().text(QStringLiteral("社外秘"));
    DocumentBuilder(documents.firstFooter).paragraph().text(QStringLiteral("1 ページ"));

    DocumentBuilder body(documents.body);
    ParagraphLook centred;
    centred.alignment = Qt::AlignHCenter;
    centred.shading = QColor(0xFF, 0xFF, 0xCC);
    body.paragraph(ParagraphLook::heading(1)).text(QStringLiteral("第一章 概要"));
    body.paragraph(centred).text(QStringLiteral("太字"), formatstest::bold()).text(QStringLiteral(" と "))
        .text(QStringLiteral("赤"), formatstest::coloured(Qt::red));
    QTextCharFormat rich;
    rich.setFontItalic(true);
    rich.setFontUnderline(true);
    rich.setFontStrikeOut(true);
    rich.setBackground(QColor(0xFF, 0xFF, 0x00));
    rich.setFontFamilies({QStringLiteral("Arial")});
    rich.setFontPointSize(12.5);
    QTextCharFormat raised;
    raised.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    ParagraphLook indented;
    indented.left = 420;
    indented.firstLine = -210;
    indented.before = 120;
    indented.lineSpacing = 0;
    body.paragraph(indented).text(QStringLiteral("斜体\t下線 é{\\}"), rich).text(QStringLiteral("2"), raised)
        .text(QStringLiteral("行\u2028改行 𠮷"));
    body.field(QStringLiteral("サイト"), QStringLiteral("https://example.jp/a?b=1&c=2"))
        .text(QStringLiteral("、"))
        .field(QStringLiteral("説明"), QStringLiteral("TP_ここに説明"))
        .field(QStringLiteral("005"), QStringLiteral("TG_abc_005"))
        .field(QStringLiteral("上へ"), QStringLiteral("#top"));
    ParagraphLook broken;
    broken.pageBreak = true;
    body.paragraph(broken).text(QStringLiteral("一つ目"));
    body.paragraph().text(QStringLiteral("二つ目")).list(3, 2);
    body.paragraph(ParagraphLook::heading(2)).text(QStringLiteral("表"));
    QTextTable* table = body.table(2, 3);
    body.paragraph().text(QStringLiteral("A1"));
    body.inCell(table, 0, 1).paragraph().text(QStringLiteral("B1"));
    body.inCell(table, 1, 0).paragraph().text(QStringLiteral("A2"));
    table->mergeCells(0, 1, 2, 2);
    QTextTableCell shaded = table->cellAt(1, 0);
    QTextTableCellFormat cellFormat = shaded.format().toTableCellFormat();
    cellFormat.setBackground(QColor(0xCC, 0xEE, 0xFF));
    shaded.setFormat(cellFormat);
    body.atEnd().paragraph(ParagraphLook::heading(3)).text(QStringLiteral("図"));
    body.paragraph().picture(formatstest::testPicture(40, 20, Qt::blue), engine::PictureInline, QStringLiteral("a.png"));
    body.textFrame(2880).paragraph().text(QStringLiteral("枠の中"));
    body.atEnd().paragraph().text(QStringLiteral("終わり"));
}

std::vector<QString> fieldsOf(QTextDocument& document)
{
    engine::Fields fields(document);
    std::vector<QString> found;
    for (const engine::FieldRun& run : fields.runs()) {
        const QTextCharFormat format = fields.format(run);
        found.push_back(format.stringProperty(engine::FieldData) + u'|' + QString::number(format.intProperty(engine::FieldKind))
                        + u'|' + QString::number(format.intProperty(engine::FieldAttribute)));
    }
    return found;
}

} // namespace

TEST(RtfWriter, WritesTheGoldenFile)
{
    Documents documents;
    buildRichDocument(documents);
    EXPECT_TRUE(testsupport::matchesGolden(written(documents), QStringLiteral(FUMI_TEST_DATA "/rich.rtf")));
}

TEST(RtfWriter, WritesTheSameBytesForTheSameDocument)
{
    Documents first;
    Documents second;
    buildRichDocument(first);
    buildRichDocument(second);
    EXPECT_EQ(written(first), written(second));
}

TEST(RtfWriter, WriteReadWriteIsAFixedPoint)
{
    Documents original;
    buildRichDocument(original);
    const QByteArray first = written(original);
    Documents read;
    ASSERT_TRUE(readRtf(first, read.set()).ok());
    const QByteArray second = written(read);
    EXPECT_EQ(first.toStdString(), second.toStdString());
}

TEST(RtfWriter, NonAsciiIsUnicodeWithItsShiftJisFallback)
{
    Documents documents;
    DocumentBuilder(documents.body).paragraph().text(QStringLiteral("あé"));
    const QByteArray rtf = written(documents);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg932"));
    EXPECT_TRUE(rtf.contains("\\fcharset128 \\uc2 \\u-211\\'82\\'6c"));
    EXPECT_TRUE(rtf.contains("\\uc2 \\u12354\\'82\\'a0\\uc1 \\u233\\'3f")) << rtf.toStdString();
}

TEST(RtfWriter, ReadsBackWhatItWrote)
{
    Documents original;
    buildRichDocument(original);
    Documents read;
    ASSERT_TRUE(readRtf(written(original), read.set()).ok());
    EXPECT_EQ(paragraphs(read.body), paragraphs(original.body));
    EXPECT_EQ(read.body.metaInformation(QTextDocument::DocumentTitle), QStringLiteral("月例報告"));
    EXPECT_EQ(read.setup, original.setup);
    EXPECT_EQ(paragraphs(read.header), QStringLiteral("社外秘"));
    EXPECT_EQ(paragraphs(read.firstFooter), QStringLiteral("1 ページ"));
    EXPECT_EQ(fieldsOf(read.body), fieldsOf(original.body));
    std::vector<int> levels;
    for (QTextBlock block = read.body.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0)
            levels.push_back(block.blockFormat().headingLevel());
    }
    EXPECT_EQ(levels, (std::vector<int>{1, 2, 3}));
    auto* table = qobject_cast<QTextTable*>(read.body.rootFrame()->childFrames().front());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->cellAt(0, 1).rowSpan(), 2);
    EXPECT_EQ(table->cellAt(0, 1).columnSpan(), 2);
    EXPECT_EQ(table->cellAt(1, 0).format().background().color(), QColor(0xCC, 0xEE, 0xFF));
    engine::Objects objects(read.body);
    EXPECT_EQ(objects.ids(engine::kObjectKindPicture).size(), 1);
    EXPECT_EQ(objects.ids(engine::kObjectKindTextFrame).size(), 1);
    const QTextBlock listed = read.body.findBlock(paragraphs(read.body).indexOf(QStringLiteral("二つ目")) - 1);
    ASSERT_NE(listed.textList(), nullptr);
    EXPECT_EQ(listed.textList()->count(), 2);
}

TEST(RtfCodec, WritesThroughTheEngineWithTheStylesItIsGiven)
{
    registerRtfCodec(userStyles());
    Documents documents;
    DocumentBuilder(documents.body).paragraph().text(QStringLiteral("本文"));
    const auto codec = engine::codecFor(engine::FormatCode::Rtf);
    ASSERT_NE(codec, nullptr);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(codec->write(documents.set(), buffer));
    EXPECT_TRUE(bytes.contains("heading 1;}"));
    html::StyleSet larger = userStyles();
    larger.body.size = 16;
    formats::word::useStyles(engine::FormatCode::Rtf, larger);
    QByteArray again;
    QBuffer second(&again);
    second.open(QIODevice::WriteOnly);
    ASSERT_TRUE(codec->write(documents.set(), second));
    EXPECT_TRUE(again.contains("\\fs32\\cf1\\snext0 Normal;"));
    Documents read;
    EXPECT_TRUE(codec->read(again, read.set()));
    EXPECT_EQ(paragraphs(read.body), QStringLiteral("本文"));
}

// A picture goes back as the file it came as: an EMF the engine shows as a
// placeholder is written as the same EMF, and a JPEG as a JPEG.
TEST(RtfWriter, PicturesGoBackAsTheFilesTheyCameAs)
{
    const QByteArray emf = QByteArray("\x01\0\0\0", 4) + QByteArray(36, '\0') + QByteArray(" EMF") + QByteArray(24, '\x05');
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "JPEG"));
    const QByteArray rtf = "{\\rtf1\\ansi{\\pict\\emfblip\\picwgoal720\\pichgoal720 " + emf.toHex()
                         + "}{\\pict\\jpegblip\\picwgoal720\\pichgoal360 " + jpeg.toHex() + "}\\par}";
    Documents documents;
    ASSERT_TRUE(readRtf(rtf, documents.set()).ok());
    const QByteArray first = written(documents);
    const QByteArray joined = QByteArray(first).replace('\n', QByteArray());
    EXPECT_TRUE(joined.contains("\\emfblip"));
    EXPECT_TRUE(joined.contains(emf.toHex())) << first.toStdString();
    EXPECT_TRUE(joined.contains("\\jpegblip"));
    EXPECT_TRUE(joined.contains(jpeg.toHex()));
    Documents again;
    ASSERT_TRUE(readRtf(first, again.set()).ok());
    EXPECT_EQ(written(again), first);
}

TEST(RtfWriter, MarginsWithFractionsAreWrittenAsWholeTwips)
{
    Documents documents;
    documents.setup.marginLeft = 850.5;
    documents.setup.marginRight = 1417.5;
    documents.setup.marginTop = 850.5;
    documents.setup.marginBottom = 567;
    DocumentBuilder(documents.body).paragraph().text(QStringLiteral("本文"));
    EXPECT_TRUE(written(documents).contains("\\margl850\\margr1418\\margt850\\margb567"));
}

TEST(RtfWriter, PageNumberFieldsAreChpgnInAPageFieldAndComeBackAsPageNumbers)
{
    Documents original;
    DocumentBuilder(original.body).paragraph().text(QStringLiteral("本文"));
    original.setup.headerFooterFlags = engine::FooterEveryPage;
    QTextCursor footer(&original.footer);
    footer.insertText(QStringLiteral("Page "));
    QTextCharFormat bold = engine::pageNumberFieldFormat(3);
    bold.setFontWeight(QFont::Bold);
    footer.insertText(QStringLiteral("1"), bold);
    footer.insertText(QStringLiteral(" end"), QTextCharFormat());
    const QByteArray rtf = written(original);
    EXPECT_TRUE(rtf.contains("{\\field{\\*\\fldinst {\\*\\fumifield 3 0 } PAGE }{\\fldrslt {\\b\\chpgn }}}"))
        << rtf.toStdString();

    Documents read;
    ASSERT_TRUE(readRtf(rtf, read.set()).ok());
    EXPECT_EQ(read.footer.toPlainText(), QStringLiteral("Page 1 end"));
    QTextCursor number(&read.footer);
    number.setPosition(6);
    EXPECT_TRUE(engine::isPageNumberField(number.charFormat()));
    EXPECT_EQ(number.charFormat().fontWeight(), QFont::Bold);
    number.setPosition(8);
    EXPECT_FALSE(engine::isPageNumberField(number.charFormat()));
}
