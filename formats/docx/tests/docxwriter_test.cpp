// The .docx writer: goldens of the unzipped parts, the same bytes for the
// same document, write → read → write as a fixed point, and what the
// program keeps of its own (fields, ruby, title, styles) coming back.

#include "formats/docx/docxcodec.h"
#include "formats/docx/docxpackage.h"
#include "formats/docx/docxstyles.h"
#include "formats/docx/docxwriter.h"
#include "formats/docx/tests/docxfixture.h"
#include "formats/word/wordmapping.h"
#include "formats/html/tests/documentbuilder.h"

#include "engine/fieldformat.h"
#include "engine/fields.h"
#include "engine/objects.h"
#include "testsupport/golden.h"
#include "testsupport/tempfolder.h"

#include <QBuffer>
#include <QImage>
#include <QTextList>
#include <QTextTable>

using namespace formats::docx;
using docxtest::Documents;
using formatstest::DocumentBuilder;
using formatstest::ParagraphLook;

namespace {

const QString kGoldenFolder = QStringLiteral(FUMI_TEST_DATA "/writer/");

html::StyleSet userStyles()
{
    html::StyleSet styles;
    styles.body = {QStringLiteral("ＭＳ 明朝"), 10, 0x000000};
    styles.headings = {html::TextStyle{QStringLiteral("ＭＳ ゴシック"), 14, 0x800000},
                       html::TextStyle{QStringLiteral("ＭＳ ゴシック"), 12, 0x008000},
                       html::TextStyle{QStringLiteral("ＭＳ ゴシック"), 11, 0x000080}};
    styles.lineSpacing = 1.2f;
    return styles;
}

QByteArray written(Documents& documents)
{
    return writeDocx(documents.set(), userStyles()).value_or(QByteArray());
}

// The parts of a package by name, in the package's order.
std::vector<std::pair<QString, QByteArray>> partsOf(const QByteArray& bytes)
{
    static const QStringList names{
        QStringLiteral("[Content_Types].xml"), QStringLiteral("_rels/.rels"), QStringLiteral("docProps/core.xml"),
        QStringLiteral("docProps/app.xml"), QStringLiteral("word/document.xml"), QStringLiteral("word/_rels/document.xml.rels"),
        QStringLiteral("word/styles.xml"), QStringLiteral("word/settings.xml"), QStringLiteral("word/numbering.xml"),
        QStringLiteral("word/header1.xml"), QStringLiteral("word/header2.xml"), QStringLiteral("word/footer1.xml"),
        QStringLiteral("word/footer2.xml"), QStringLiteral("word/_rels/header1.xml.rels"),
    };
    Package package;
    std::vector<std::pair<QString, QByteArray>> parts;
    if (package.open(bytes) != PackageFailure::None)
        return parts;
    for (const QString& name : names) {
        if (const std::optional<QByteArray> part = package.part(name))
            parts.emplace_back(name, *part);
    }
    return parts;
}

QByteArray partOf(const QByteArray& bytes, const QString& name)
{
    Package package;
    return package.open(bytes) == PackageFailure::None ? package.part(name).value_or(QByteArray()) : QByteArray();
}

// A document with a little of everything the writer writes but text frames.
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
    rich.setFontFamilies({QStringLiteral("Arial"), QStringLiteral("ＭＳ Ｐゴシック")});
    rich.setFontPointSize(12.5);
    QTextCharFormat raised;
    raised.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    ParagraphLook indented;
    indented.left = 420;
    indented.firstLine = -210;
    indented.before = 120;
    indented.lineSpacing = 0;
    body.paragraph(indented).text(QStringLiteral("斜体\t下線"), rich).text(QStringLiteral("2"), raised)
        .text(QStringLiteral("行\u2028改行"));
    body.field(QStringLiteral("サイト"), QStringLiteral("https://example.jp/a?b=1&c=2"))
        .text(QStringLiteral("、"))
        .field(QStringLiteral("説明"), QStringLiteral("TP_ここに説明"))
        .field(QStringLiteral("005"), QStringLiteral("TG_abc_005"))
        .field(QStringLiteral("参照"), QStringLiteral("DX_001"))
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
    body.paragraph().picture(formatstest::testPicture(40, 20, Qt::blue), engine::PictureInline, QStringLiteral("a.png"))
        .picture(formatstest::testPicture(10, 10, Qt::green), engine::PictureFloatRight, QStringLiteral("b.png"));
}

std::vector<std::pair<QString, QByteArray>> fieldsOf(QTextDocument& document)
{
    engine::Fields fields(document);
    std::vector<std::pair<QString, QByteArray>> found;
    for (const engine::FieldRun& run : fields.runs()) {
        const QTextCharFormat format = fields.format(run);
        QTextCursor text(&document);
        text.setPosition(run.start);
        text.setPosition(run.end, QTextCursor::KeepAnchor);
        found.emplace_back(text.selectedText(), (format.stringProperty(engine::FieldData) + u'|'
                                                 + QString::number(format.intProperty(engine::FieldKind)) + u'|'
                                                 + QString::number(format.intProperty(engine::FieldAttribute)))
                                                    .toUtf8());
    }
    return found;
}

TEST(DocxWriter, WritesTheGoldenParts)
{
    Documents documents;
    buildRichDocument(documents);
    const auto parts = partsOf(written(documents));
    ASSERT_GE(parts.size(), 10u);
    for (const auto& [name, bytes] : parts) {
        QString file = name;
        file.replace(u'/', u'_');
        EXPECT_TRUE(testsupport::matchesGolden(bytes, kGoldenFolder + file)) << name.toStdString();
    }
}

TEST(DocxWriter, WritesTheSameBytesForTheSameDocument)
{
    Documents first;
    Documents second;
    buildRichDocument(first);
    buildRichDocument(second);
    const QByteArray bytes = written(first);
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_EQ(bytes, written(second));
    EXPECT_EQ(bytes, written(first));
    // Every entry carries the fixed DOS date of 1980-01-01 (0x0021) at offset 12 of its local header.
    EXPECT_EQ(bytes.mid(0, 4), QByteArray("PK\x03\x04", 4));
    EXPECT_EQ(bytes.mid(10, 4), QByteArray("\x00\x00\x21\x00", 4));
}

TEST(DocxWriter, WriteReadWriteIsAFixedPoint)
{
    Documents original;
    buildRichDocument(original);
    const QByteArray first = written(original);
    Documents read;
    ASSERT_TRUE(readDocx(first, read.set()).ok());
    const QByteArray second = written(read);
    const auto firstParts = partsOf(first);
    const auto secondParts = partsOf(second);
    ASSERT_EQ(firstParts.size(), secondParts.size());
    for (size_t i = 0; i < firstParts.size(); ++i)
        EXPECT_EQ(firstParts[i].second.toStdString(), secondParts[i].second.toStdString()) << firstParts[i].first.toStdString();
    EXPECT_EQ(first, second);
}

TEST(DocxWriter, ReadsBackWhatItWrote)
{
    Documents original;
    buildRichDocument(original);
    Documents read;
    ASSERT_TRUE(readDocx(written(original), read.set()).ok());
    EXPECT_EQ(read.body.metaInformation(QTextDocument::DocumentTitle), QStringLiteral("月例報告"));
    EXPECT_EQ(read.setup.headerFooterFlags, engine::HeaderEveryPage | engine::FooterFirstPage);
    EXPECT_EQ(read.setup.sheetTwips(), original.setup.sheetTwips());
    EXPECT_TRUE(read.setup.landscape);
    EXPECT_EQ(read.setup.marginLeft, 1134);
    EXPECT_EQ(read.header.toPlainText(), QStringLiteral("社外秘"));
    EXPECT_EQ(read.firstFooter.toPlainText(), QStringLiteral("1 ページ"));
    EXPECT_EQ(read.body.toPlainText(), original.body.toPlainText());
    EXPECT_EQ(read.body.firstBlock().blockFormat().headingLevel(), 1);
    const QList<int> pictures = engine::Objects(read.body).ids(engine::kObjectKindPicture);
    ASSERT_EQ(pictures.size(), 2);
    EXPECT_EQ(engine::Objects(read.body).property(pictures[1], engine::ObjectPlacement).toInt(), engine::PictureFloatRight);
    const QTextTable* table = nullptr;
    for (QTextFrame* frame : read.body.rootFrame()->childFrames())
        table = table ? table : qobject_cast<QTextTable*>(frame);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->cellAt(0, 1).rowSpan(), 2);
    EXPECT_EQ(table->cellAt(0, 1).columnSpan(), 2);
    EXPECT_EQ(table->cellAt(1, 0).format().background().color(), QColor(0xCC, 0xEE, 0xFF));
}

TEST(DocxWriter, TheProgramsFieldsComeBackExactly)
{
    Documents original;
    buildRichDocument(original);
    // One the program never makes, to show nothing is guessed from the data.
    QTextCursor end(&original.body);
    end.movePosition(QTextCursor::End);
    end.insertBlock(QTextBlockFormat(), QTextCharFormat());
    engine::Fields fields(original.body);
    const int odd = fields.insert(end, QStringLiteral("データ"));
    fields.setProperty(odd, engine::FieldData, QStringLiteral("任意の:データ\tと改行\nも"));
    fields.setProperty(odd, engine::FieldKind, 2);
    fields.setProperty(odd, engine::FieldAttribute, 7);
    Documents read;
    ASSERT_TRUE(readDocx(written(original), read.set()).ok());
    const auto expected = fieldsOf(original.body);
    ASSERT_EQ(expected.size(), 6u);
    EXPECT_EQ(fieldsOf(read.body), expected);
    const QByteArray document = partOf(written(original), QStringLiteral("word/document.xml"));
    EXPECT_TRUE(document.contains("<w:hyperlink w:tooltip=\"ここに説明\">"));
    EXPECT_TRUE(document.contains("<w:hyperlink w:anchor=\"top\">"));
}

TEST(DocxWriter, RubyComesBackAsRuby)
{
    const QByteArray ruby =
        "<w:p><w:r><w:t>これは</w:t></w:r><w:r><w:ruby><w:rubyPr><w:hps w:val=\"10\"/></w:rubyPr>"
        "<w:rt><w:r><w:t>ふり</w:t></w:r><w:r><w:t>がな</w:t></w:r></w:rt>"
        "<w:rubyBase><w:r><w:rPr><w:b/></w:rPr><w:t>振仮名</w:t></w:r></w:rubyBase></w:ruby></w:r></w:p>";
    Documents read;
    ASSERT_TRUE(readDocx(docxtest::package(ruby), read.set()).ok());
    EXPECT_EQ(read.body.toPlainText(), QStringLiteral("これは振仮名"));
    const auto fields = fieldsOf(read.body);
    ASSERT_EQ(fields.size(), 1u);
    EXPECT_EQ(fields[0].first, QStringLiteral("振仮名"));
    EXPECT_EQ(fields[0].second, QStringLiteral("TP_ふりがな|1|%1").arg(formats::word::kRubyFieldAttribute).toUtf8());

    const QByteArray document = partOf(written(read), QStringLiteral("word/document.xml"));
    EXPECT_TRUE(document.contains("<w:rt><w:r><w:rPr><w:sz w:val=\"10\"/></w:rPr><w:t>ふりがな</w:t></w:r></w:rt>"))
        << document.toStdString();
    EXPECT_TRUE(document.contains("<w:rubyBase><w:r><w:rPr><w:b/></w:rPr><w:t>振仮名</w:t></w:r></w:rubyBase>"));
    EXPECT_FALSE(document.contains("w:sdt"));
}

TEST(DocxWriter, StylesCarryTheUsersJapaneseFonts)
{
    Documents documents;
    DocumentBuilder(documents.body).paragraph().text(QStringLiteral("本文"));
    const QByteArray styles = partOf(written(documents), QStringLiteral("word/styles.xml"));
    EXPECT_TRUE(styles.contains("<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/>"));
    EXPECT_TRUE(styles.contains("<w:rFonts w:ascii=\"ＭＳ 明朝\" w:eastAsia=\"ＭＳ 明朝\" w:hAnsi=\"ＭＳ 明朝\" w:cs=\"ＭＳ 明朝\"/>"));
    EXPECT_TRUE(styles.contains("w:styleId=\"Heading1\"><w:name w:val=\"heading 1\"/><w:basedOn w:val=\"Normal\"/>"));
    EXPECT_TRUE(styles.contains("w:eastAsia=\"ＭＳ ゴシック\""));
    EXPECT_TRUE(styles.contains("<w:lang w:val=\"en-US\" w:eastAsia=\"ja-JP\""));
    // The heading colour 0x00BBGGRR 0x800000 is dark blue.
    EXPECT_TRUE(styles.contains("<w:color w:val=\"000080\"/><w:sz w:val=\"28\"/>"));
    StyleSheet sheet;
    sheet.read(styles);
    EXPECT_EQ(sheet.paragraphStyle(QStringLiteral("Heading2")).headingLevel, 2);
    EXPECT_EQ(sheet.paragraphStyle(QString()).characters.fontFamilies().toStringList(), QStringList{QStringLiteral("ＭＳ 明朝")});
}

TEST(DocxWriter, TextFramesBecomeTextBoxesWordAndLibreOfficeOpen)
{
    Documents documents;
    DocumentBuilder body(documents.body);
    body.paragraph().text(QStringLiteral("前"));
    body.textFrame(2880).paragraph().text(QStringLiteral("枠の中"));
    body.atEnd().paragraph().text(QStringLiteral("後"));
    const QByteArray document = partOf(written(documents), QStringLiteral("word/document.xml"));
    EXPECT_TRUE(document.contains("<mc:AlternateContent><mc:Choice Requires=\"wps\"><w:drawing><wp:anchor"));
    EXPECT_TRUE(document.contains("<wp:extent cx=\"1828800\""));
    EXPECT_EQ(document.count("枠の中"), 2); // the shape and its VML fallback
    EXPECT_TRUE(document.contains("<mc:Fallback><w:pict><v:rect style=\"width:144.00pt;"));
}

TEST(DocxCodec, WritesThroughTheEngineWithTheStylesItIsGiven)
{
    registerDocxCodec();
    formats::word::useStyles(engine::FormatCode::Docx, userStyles());
    testsupport::TempFolder folder;
    engine::TextEngine engine;
    engine.document()->setPlainText(QStringLiteral("保存"));
    const QString path = folder.path(QStringLiteral("a.docx"));
    ASSERT_TRUE(engine.saveFile(path, engine::FormatCode::Docx));
    engine::TextEngine read;
    ASSERT_TRUE(read.loadFile(path, engine::FormatCode::Docx, false));
    EXPECT_EQ(read.plainText(), QStringLiteral("保存"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(partOf(file.readAll(), QStringLiteral("word/styles.xml")).contains("w:eastAsia=\"ＭＳ 明朝\""));
    registerDocxCodec();
}

} // namespace

// Pictures go back as the files they came as: a PNG is not encoded again,
// and a picture the engine shows as a placeholder (an EMF) keeps its bytes
// and its kind through a read and a write.
TEST(DocxWriter, PicturesGoBackAsTheFilesTheyCameAs)
{
    QByteArray emf = QByteArray("\x01\0\0\0", 4) + QByteArray(36, '\0') + QByteArray(" EMF") + QByteArray(60, '\x07');
    QImage image(6, 3, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "PNG", 0));
    const QByteArray inline1 = "<w:r><w:drawing><wp:inline><wp:extent cx=\"952500\" cy=\"952500\"/><a:graphic><a:graphicData>"
                               "<a:blip r:embed=\"";
    const QByteArray inline2 = "\"/></a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
    Documents documents;
    ASSERT_TRUE(readDocx(docxtest::package("<w:p>" + inline1 + "rE" + inline2 + inline1 + "rP" + inline2 + "</w:p>",
                                           {{QStringLiteral("word/media/e.emf"), emf}, {QStringLiteral("word/media/p.png"), png}},
                                           docxtest::relationship("rE", "image", "media/e.emf")
                                               + docxtest::relationship("rP", "image", "media/p.png")),
                         documents.set())
                    .ok());
    const QByteArray first = written(documents);
    EXPECT_EQ(partOf(first, QStringLiteral("word/media/image1.emf")), emf);
    EXPECT_EQ(partOf(first, QStringLiteral("word/media/image2.png")), png) << "written as it came, not encoded again";
    EXPECT_TRUE(partOf(first, QStringLiteral("[Content_Types].xml")).contains("Extension=\"emf\" ContentType=\"image/x-emf\""));
    Documents again;
    ASSERT_TRUE(readDocx(first, again.set()).ok());
    EXPECT_EQ(written(again), first);
}

TEST(PictureFileType, KnowsTheKindsDocumentsCarry)
{
    EXPECT_EQ(engine::pictureFileType("\x89PNG\r\n\x1a\n...."), QStringLiteral("png"));
    EXPECT_EQ(engine::pictureFileType("\xff\xd8\xff\xe0"), QStringLiteral("jpeg"));
    EXPECT_EQ(engine::pictureFileType("GIF89a"), QStringLiteral("gif"));
    EXPECT_EQ(engine::pictureFileType(QByteArray("\xd7\xcd\xc6\x9a\0\0", 6)), QStringLiteral("wmf"));
    EXPECT_EQ(engine::pictureFileType(QByteArray(40, '\0') + " EMF"), QStringLiteral("emf"));
    EXPECT_EQ(engine::pictureFileType("<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"/>"), QStringLiteral("svg"));
    EXPECT_EQ(engine::pictureFileType(" EMF"), QString()) << "too short to be what its bytes say";
    EXPECT_EQ(engine::pictureFileType(""), QString());
}

TEST(DocxWriter, MarginsWithFractionsAreWrittenAsWholeTwips)
{
    Documents documents;
    documents.setup.marginLeft = 850.5;   // 1.5 cm: to the even neighbour
    documents.setup.marginRight = 1417.5; // 2.5 cm
    documents.setup.marginTop = 850.5;
    documents.setup.marginBottom = 567;
    DocumentBuilder(documents.body).paragraph().text(QStringLiteral("本文"));
    const QByteArray body = partOf(written(documents), QStringLiteral("word/document.xml"));
    EXPECT_TRUE(body.contains(R"(<w:pgMar w:top="850" w:right="1418" w:bottom="567" w:left="850" w:header="425" w:footer="284")"))
        << body.toStdString();
}

// A footer "Page <number>" whose number is a page-number field.
void buildPageNumberFooter(Documents& documents)
{
    DocumentBuilder(documents.body).paragraph().text(QStringLiteral("本文"));
    documents.setup.headerFooterFlags = engine::FooterEveryPage;
    QTextCursor footer(&documents.footer);
    footer.insertText(QStringLiteral("Page "));
    footer.insertText(QStringLiteral("1"), engine::pageNumberFieldFormat(7));
    footer.insertText(QStringLiteral(" end"), QTextCharFormat());
}

TEST(DocxWriter, PageNumberFieldsAreWordsPageFieldAndComeBackAsPageNumbers)
{
    Documents original;
    buildPageNumberFooter(original);
    const QByteArray package = written(original);
    const QByteArray footer = partOf(package, QStringLiteral("word/footer1.xml"));
    EXPECT_TRUE(footer.contains(R"(<w:fldSimple w:instr=" PAGE ">)")) << footer.toStdString();

    Documents read;
    ASSERT_TRUE(readDocx(package, read.set()).ok());
    EXPECT_EQ(read.footer.toPlainText(), QStringLiteral("Page 1 end"));
    QTextCursor number(&read.footer);
    number.setPosition(6);
    EXPECT_TRUE(engine::isPageNumberField(number.charFormat()));
    EXPECT_TRUE(number.charFormat().stringProperty(engine::FieldData).isEmpty());
    number.setPosition(5);
    EXPECT_FALSE(engine::isPageNumberField(number.charFormat()));
    number.setPosition(8);
    EXPECT_FALSE(engine::isPageNumberField(number.charFormat()));
}
