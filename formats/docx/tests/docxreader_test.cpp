#include "formats/docx/docxcodec.h"
#include "docxfixture.h"

#include "engine/fieldformat.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace formats::docx;
using formats::word::Loss;
using docxtest::Documents;

namespace {

QByteArray paragraph(const QByteArray& runs, const QByteArray& properties = {})
{
    return "<w:p><w:pPr>" + properties + "</w:pPr>" + runs + "</w:p>";
}

QByteArray run(const QByteArray& text, const QByteArray& properties = {})
{
    return "<w:r><w:rPr>" + properties + "</w:rPr><w:t xml:space=\"preserve\">" + text + "</w:t></w:r>";
}

QTextCharFormat formatAt(const QTextDocument& document, int position)
{
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

QByteArray pngBytes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A package whose body refers to header1.xml as "rH" and footer1.xml as "rF".
QByteArray packageWithParts(const QByteArray& body, const QByteArray& header, const QByteArray& footer)
{
    return docxtest::package(body, {{QStringLiteral("word/header1.xml"), header}, {QStringLiteral("word/footer1.xml"), footer}},
                             docxtest::relationship("rH", "header", "header1.xml")
                                 + docxtest::relationship("rF", "footer", "footer1.xml"));
}

} // namespace

TEST(DocxPackage, BadInputFailsWithItsReason)
{
    const QByteArray encrypted = QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(512, '\0')
        + QByteArray("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
    const QByteArray good = docxtest::package(paragraph(run("a")));
    const QByteArray outside = docxtest::zipped(
        {{QStringLiteral("_rels/.rels"), docxtest::relationships(docxtest::relationship("rId1", "officeDocument", "../../word/document.xml"))},
         {QStringLiteral("word/document.xml"), "<w:document/>"}});
    const QByteArray malformed = docxtest::zipped(
        {{QStringLiteral("_rels/.rels"), docxtest::relationships(docxtest::relationship("rId1", "officeDocument", "/word/document.xml"))},
         {QStringLiteral("word/document.xml"), "<w:document><w:body><w:p></w:body>"}});
    struct Case {
        const char* what;
        QByteArray bytes;
        PackageLimits limits;
        PackageFailure expected;
    } cases[] = {
        {"not a zip", "PK\3\4 but nothing after", {}, PackageFailure::NotAPackage},
        {"half a zip", good.left(good.size() / 2), {}, PackageFailure::NotAPackage},
        {"password-protected", encrypted, {}, PackageFailure::Encrypted},
        {"main document outside the package", outside, {}, PackageFailure::MissingPart},
        {"malformed main document", malformed, {}, PackageFailure::Malformed},
        {"too many entries", good, {qint64(1) << 30, qint64(1) << 30, 3}, PackageFailure::TooLarge},
        {"a part past the limit", good, {qint64(1) << 30, 200, 100}, PackageFailure::TooLarge},
        {"all parts past the limit", good, {600, qint64(1) << 30, 100}, PackageFailure::TooLarge},
        {"a good package", good, {}, PackageFailure::None},
    };
    for (const Case& c : cases) {
        Documents documents;
        EXPECT_EQ(readDocx(c.bytes, documents.set(), c.limits).failure, c.expected) << c.what;
    }
    EXPECT_EQ(failureMessage(PackageFailure::Encrypted), QStringLiteral("パスワードで保護された文書は開けません｡"));
}

TEST(DocxReader, RunsAndParagraphsKeepTheirFormats)
{
    const QByteArray body = paragraph(run("Bold", "<w:b/><w:sz w:val=\"28\"/>")
                                          + run("和文", "<w:rFonts w:ascii=\"Arial\" w:eastAsia=\"MS Mincho\"/><w:i/><w:u w:val=\"single\"/>")
                                          + run("hi", "<w:color w:val=\"FF0000\"/><w:highlight w:val=\"yellow\"/><w:strike/><w:vertAlign w:val=\"superscript\"/>"),
                                      "<w:jc w:val=\"center\"/><w:ind w:left=\"720\" w:hanging=\"360\"/><w:spacing w:before=\"240\" w:line=\"360\" w:lineRule=\"auto\"/>")
        + paragraph("<w:r><w:t>a</w:t><w:tab/><w:t>b</w:t><w:br/><w:t>c</w:t><w:br w:type=\"page\"/><w:t>d</w:t></w:r>");
    Documents documents;
    ASSERT_TRUE(readDocx(docxtest::package(body), documents.set()).ok());
    const QTextDocument& document = documents.body;
    EXPECT_EQ(document.toRawText(), QStringLiteral("Bold和文hi\u2029a\tb\u2028c\u2029d"));
    const QTextCharFormat bold = formatAt(document, 0);
    EXPECT_EQ(bold.fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(bold.fontPointSize(), 14.0);
    const QTextCharFormat japanese = formatAt(document, 4);
    EXPECT_EQ(japanese.fontFamilies().toStringList(), (QStringList{QStringLiteral("Arial"), QStringLiteral("MS Mincho")}));
    EXPECT_TRUE(japanese.fontItalic());
    EXPECT_TRUE(japanese.fontUnderline());
    const QTextCharFormat coloured = formatAt(document, 6);
    EXPECT_EQ(coloured.foreground().color(), QColor(0xFF, 0, 0));
    EXPECT_EQ(coloured.background().color(), QColor(0xFF, 0xFF, 0));
    EXPECT_TRUE(coloured.fontStrikeOut());
    EXPECT_EQ(coloured.verticalAlignment(), QTextCharFormat::AlignSuperScript);
    const QTextBlockFormat first = document.firstBlock().blockFormat();
    EXPECT_EQ(first.alignment(), Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(first.leftMargin(), 48.0);
    EXPECT_DOUBLE_EQ(first.textIndent(), -24.0);
    EXPECT_DOUBLE_EQ(first.topMargin(), 16.0);
    EXPECT_DOUBLE_EQ(first.lineHeight(), 150.0);
    EXPECT_TRUE(document.lastBlock().blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
}

TEST(DocxReader, StylesResolveAndHeadingsBecomeTheProgramsLevels)
{
    const QByteArray styles = docxtest::stylesPart(
        "<w:docDefaults><w:rPrDefault><w:rPr><w:sz w:val=\"21\"/></w:rPr></w:rPrDefault></w:docDefaults>"
        "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"Base\"><w:name w:val=\"Base\"/><w:rPr><w:b/></w:rPr></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"Derived\"><w:name w:val=\"Derived\"/><w:basedOn w:val=\"Base\"/>"
        "<w:rPr><w:sz w:val=\"40\"/></w:rPr></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"Loop\"><w:name w:val=\"Loop\"/><w:basedOn w:val=\"Loop\"/></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"x1\"><w:name w:val=\"HEADING 2\"/></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"1\"/>"
        "<w:style w:type=\"paragraph\" w:styleId=\"Deep\"><w:name w:val=\"Deep\"/><w:pPr><w:outlineLvl w:val=\"5\"/></w:pPr></w:style>"
        "<w:style w:type=\"character\" w:styleId=\"Em\"><w:name w:val=\"Em\"/><w:rPr><w:i/></w:rPr></w:style>");
    const QByteArray body = paragraph(run("plain")) + paragraph(run("derived"), "<w:pStyle w:val=\"Derived\"/>")
        + paragraph(run("loop"), "<w:pStyle w:val=\"Loop\"/>") + paragraph(run("h2"), "<w:pStyle w:val=\"x1\"/>")
        + paragraph(run("h1"), "<w:pStyle w:val=\"1\"/>") + paragraph(run("deep"), "<w:pStyle w:val=\"Deep\"/>")
        + paragraph(run("em", "<w:rStyle w:val=\"Em\"/>"));
    Documents documents;
    ASSERT_TRUE(readDocx(docxtest::package(body, {{QStringLiteral("word/styles.xml"), styles}},
                                           docxtest::relationship("rS", "styles", "styles.xml")),
                         documents.set())
                    .ok());
    struct Expected {
        double size;
        bool bold;
        int heading;
    } expected[] = {{10.5, false, 0}, {20, true, 0}, {10.5, false, 0}, {10.5, false, 2}, {10.5, false, 1}, {10.5, false, 3}, {10.5, false, 0}};
    QTextBlock block = documents.body.firstBlock();
    for (const Expected& e : expected) {
        ASSERT_TRUE(block.isValid());
        const QTextCharFormat format = formatAt(documents.body, block.position());
        EXPECT_DOUBLE_EQ(format.fontPointSize(), e.size) << block.text().toStdString();
        EXPECT_EQ(format.fontWeight() == QFont::Bold, e.bold) << block.text().toStdString();
        EXPECT_EQ(block.blockFormat().headingLevel(), e.heading) << block.text().toStdString();
        block = block.next();
    }
    EXPECT_TRUE(formatAt(documents.body, documents.body.lastBlock().position()).fontItalic());
}

TEST(DocxReader, HyperlinksBecomeLinkFields)
{
    const QByteArray body = paragraph("<w:hyperlink r:id=\"rL\">" + run("web") + "</w:hyperlink>"
                                      + "<w:hyperlink w:anchor=\"TG_005\">" + run("tag") + "</w:hyperlink>"
                                      + "<w:fldSimple w:instr=\" HYPERLINK &quot;http://b.example/&quot; \">" + run("simple")
                                      + "</w:fldSimple>");
    Documents documents;
    ASSERT_TRUE(readDocx(docxtest::package(body, {}, docxtest::relationship("rL", "hyperlink", "http://a.example/", true)),
                         documents.set())
                    .ok());
    const QTextCharFormat web = formatAt(documents.body, 0);
    const QTextCharFormat tag = formatAt(documents.body, 3);
    const QTextCharFormat simple = formatAt(documents.body, 6);
    EXPECT_EQ(web.property(engine::FieldData).toString(), QStringLiteral("http://a.example/"));
    EXPECT_EQ(tag.property(engine::FieldData).toString(), QStringLiteral("TG_005"));
    EXPECT_EQ(tag.property(engine::FieldKind).toInt(), 2);
    EXPECT_EQ(simple.property(engine::FieldData).toString(), QStringLiteral("http://b.example/"));
    EXPECT_NE(web.property(engine::FieldId), tag.property(engine::FieldId));
}

TEST(DocxReader, ListsTakeTheirKindAndLevel)
{
    const QByteArray numbering =
        "<?xml version=\"1.0\"?><w:numbering " + docxtest::kWordNamespaces + ">"
        "<w:abstractNum w:abstractNumId=\"0\"><w:lvl w:ilvl=\"0\"><w:numFmt w:val=\"bullet\"/><w:lvlText w:val=\"●\"/></w:lvl>"
        "<w:lvl w:ilvl=\"1\"><w:numFmt w:val=\"lowerRoman\"/></w:lvl></w:abstractNum>"
        "<w:num w:numId=\"7\"><w:abstractNumId w:val=\"0\"/></w:num></w:numbering>";
    auto item = [](const QByteArray& text, const QByteArray& level) {
        return paragraph(run(text), "<w:numPr><w:ilvl w:val=\"" + level + "\"/><w:numId w:val=\"7\"/></w:numPr>");
    };
    const QByteArray body = item("a", "0") + item("b", "0") + item("i", "1") + paragraph(run("none"));
    Documents documents;
    ASSERT_TRUE(readDocx(docxtest::package(body, {{QStringLiteral("word/numbering.xml"), numbering}},
                                           docxtest::relationship("rN", "numbering", "numbering.xml")),
                         documents.set())
                    .ok());
    const QTextBlock a = documents.body.firstBlock();
    const QTextBlock b = a.next();
    const QTextBlock i = b.next();
    ASSERT_TRUE(a.textList() && i.textList());
    EXPECT_EQ(a.textList(), b.textList());
    EXPECT_EQ(a.textList()->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(i.textList()->format().style(), QTextListFormat::ListLowerRoman);
    EXPECT_EQ(i.textList()->format().indent(), 2);
    EXPECT_EQ(i.next().textList(), nullptr);
}

TEST(DocxReader, TablesKeepMergedCellsShadingAndWidths)
{
    auto cell = [](const QByteArray& text, const QByteArray& properties = {}) {
        return "<w:tc><w:tcPr>" + properties + "</w:tcPr>" + paragraph(run(text)) + "</w:tc>";
    };
    const QByteArray body = paragraph(run("before")) + "<w:tbl><w:tblGrid><w:gridCol w:w=\"1500\"/><w:gridCol w:w=\"3000\"/>"
        "<w:gridCol w:w=\"1500\"/></w:tblGrid>"
        "<w:tr>" + cell("wide", "<w:gridSpan w:val=\"2\"/>") + cell("tall", "<w:vMerge w:val=\"restart\"/><w:shd w:fill=\"00FF00\"/>") + "</w:tr>"
        "<w:tr>" + cell("x") + cell("y") + cell("", "<w:vMerge/>") + "</w:tr></w:tbl>" + paragraph(run("after"));
    Documents documents;
    ASSERT_TRUE(readDocx(docxtest::package(body), documents.set()).ok());
    QTextCursor cursor(&documents.body);
    cursor.setPosition(documents.body.toPlainText().indexOf(u"wide"));
    QTextTable* table = cursor.currentTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 2);
    EXPECT_EQ(table->columns(), 3);
    EXPECT_EQ(table->cellAt(0, 0).columnSpan(), 2);
    EXPECT_EQ(table->cellAt(0, 2).rowSpan(), 2);
    EXPECT_EQ(table->cellAt(0, 2).format().background().color(), QColor(0, 0xFF, 0));
    EXPECT_EQ(table->cellAt(1, 1).firstCursorPosition().block().text(), QStringLiteral("y"));
    EXPECT_DOUBLE_EQ(table->format().columnWidthConstraints().at(1).rawValue(), 200.0);
    EXPECT_EQ(documents.body.lastBlock().text(), QStringLiteral("after"));
    EXPECT_EQ(documents.body.firstBlock().text(), QStringLiteral("before"));
}

TEST(DocxReader, PicturesShowAtTheirDisplayedSize)
{
    const QByteArray drawing =
        "<w:r><w:drawing><wp:inline><wp:extent cx=\"952500\" cy=\"476250\"/><a:graphic><a:graphicData>"
        "<pic:pic xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:blipFill><a:blip r:embed=\"rP\"/>"
        "</pic:blipFill></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
    Documents documents;
    const ReadOutcome outcome = readDocx(docxtest::package(paragraph(drawing + "<w:r><w:drawing><wp:inline><a:blip r:embed=\"rE\"/>"
                                                                               "</wp:inline></w:drawing></w:r>"),
                                                           {{QStringLiteral("word/media/p.png"), pngBytes(4, 2)},
                                                            {QStringLiteral("word/media/e.emf"), "not drawable"}},
                                                           docxtest::relationship("rP", "image", "media/p.png")
                                                               + docxtest::relationship("rE", "image", "media/e.emf")),
                                         documents.set());
    ASSERT_TRUE(outcome.ok());
    const QTextImageFormat picture = formatAt(documents.body, 0).toImageFormat();
    ASSERT_TRUE(picture.isValid());
    EXPECT_DOUBLE_EQ(picture.width(), 100.0);
    EXPECT_DOUBLE_EQ(picture.height(), 50.0);
    EXPECT_EQ(documents.body.characterCount(), 3) << "the picture and the undrawable one's placeholder";
    EXPECT_EQ(outcome.report.losses, std::set<Loss>{Loss::UndrawablePictures});
}

TEST(DocxReader, PageSetupHeadersAndFooters)
{
    const QByteArray header = "<?xml version=\"1.0\"?><w:hdr " + docxtest::kWordNamespaces + ">" + paragraph(run("head")) + "</w:hdr>";
    const QByteArray footer = "<?xml version=\"1.0\"?><w:ftr " + docxtest::kWordNamespaces + ">" + paragraph(run("first foot")) + "</w:ftr>";
    const QByteArray body = paragraph(run("text"))
        + "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rH\"/><w:footerReference w:type=\"first\" r:id=\"rF\"/>"
          "<w:pgSz w:w=\"16838\" w:h=\"11906\" w:orient=\"landscape\"/>"
          "<w:pgMar w:top=\"1701\" w:right=\"1cm\" w:bottom=\"1440\" w:left=\"1134\"/><w:titlePg/></w:sectPr>";
    Documents documents;
    ASSERT_TRUE(readDocx(packageWithParts(body, header, footer), documents.set()).ok());
    EXPECT_EQ(documents.setup.paperWidth, 16838);
    EXPECT_TRUE(documents.setup.landscape);
    EXPECT_EQ(documents.setup.marginTop, 1701);
    EXPECT_EQ(documents.setup.marginRight, 567);
    EXPECT_EQ(documents.setup.headerFooterFlags, engine::HeaderEveryPage | engine::FooterFirstPage);
    EXPECT_EQ(documents.header.toPlainText(), QStringLiteral("head"));
    EXPECT_EQ(documents.firstFooter.toPlainText(), QStringLiteral("first foot"));
}

TEST(DocxReader, WhatTheEngineCannotHoldIsReported)
{
    const QByteArray body = paragraph(run("kept") + "<w:ins>" + run("+new") + "</w:ins><w:del><w:r><w:delText>old</w:delText></w:r></w:del>"
                                      + "<w:r><w:footnoteReference w:id=\"1\"/></w:r><w:r><w:commentReference w:id=\"0\"/></w:r>"
                                      + "<m:oMath xmlns:m=\"http://schemas.openxmlformats.org/officeDocument/2006/math\"><m:r><m:t>x</m:t></m:r></m:oMath>");
    Documents documents;
    const ReadOutcome outcome = readDocx(docxtest::package(body), documents.set());
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(documents.body.toPlainText(), QStringLiteral("kept+new1x"));
    EXPECT_EQ(outcome.report.losses, (std::set<Loss>{Loss::Footnotes, Loss::Comments, Loss::Equations, Loss::TrackedChanges}));
}

TEST(DocxReader, StrictFilesAreRead)
{
    const QByteArray document =
        "<w:document xmlns:w=\"http://purl.oclc.org/ooxml/wordprocessingml/main\"><w:body>" + paragraph(run("strict", "<w:b/>"))
        + "<w:sectPr><w:pgSz w:w=\"21cm\" w:h=\"29.7cm\"/></w:sectPr></w:body></w:document>";
    const QByteArray rels = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                            "<Relationship Id=\"r1\" Type=\"http://purl.oclc.org/ooxml/officeDocument/relationships/officeDocument\" "
                            "Target=\"word/document.xml\"/></Relationships>";
    Documents documents;
    ASSERT_TRUE(readDocx(docxtest::zipped({{QStringLiteral("_rels/.rels"), rels}, {QStringLiteral("word/document.xml"), document}}),
                         documents.set())
                    .ok());
    EXPECT_EQ(documents.body.toPlainText(), QStringLiteral("strict"));
    EXPECT_EQ(formatAt(documents.body, 0).fontWeight(), QFont::Bold);
    EXPECT_EQ(documents.setup.paperWidth, 11906);
}

TEST(DocxReader, NestingWithinTheLimitIsReadAndPastItRefused)
{
    const auto nested = [](int depth) {
        const QByteArray open = QByteArray("<w:sdt><w:sdtContent>").repeated(depth);
        const QByteArray close = QByteArray("</w:sdtContent></w:sdt>").repeated(depth);
        return docxtest::package(open + paragraph(run("deep")) + close + paragraph(run("after")));
    };
    Documents within;
    ASSERT_TRUE(readDocx(nested(100), within.set()).ok());
    EXPECT_EQ(within.body.toPlainText(), QStringLiteral("deep\nafter"));
    Documents past;
    EXPECT_EQ(readDocx(nested(100000), past.set()).failure, PackageFailure::TooDeep);
}

TEST(DocxCodec, IsTheEnginesCodecForFormat13)
{
    registerDocxCodec();
    const auto codec = engine::codecFor(engine::FormatCode::Docx);
    ASSERT_NE(codec, nullptr);
    Documents documents;
    EXPECT_TRUE(codec->read(docxtest::package(paragraph(run("日本語"))), documents.set()));
    EXPECT_EQ(documents.body.toPlainText(), QStringLiteral("日本語"));
    EXPECT_FALSE(codec->read("no zip", Documents().set()));
}

TEST(DocxReader, WordsPageFieldsBecomePageNumberFields)
{
    // A simple field in the footer, a complex one in the header.
    const QByteArray footer = "<?xml version=\"1.0\"?><w:ftr " + docxtest::kWordNamespaces + ">"
        + paragraph(run("p. ") + "<w:fldSimple w:instr=\" PAGE \\* MERGEFORMAT \">" + run("4") + "</w:fldSimple>") + "</w:ftr>";
    const QByteArray header = "<?xml version=\"1.0\"?><w:hdr " + docxtest::kWordNamespaces + ">"
        + paragraph("<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText> page </w:instrText></w:r>"
                    "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>" + run("9")
                    + "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>" + run(" head"))
        + "</w:hdr>";
    const QByteArray body = paragraph(run("text"))
        + "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rH\"/><w:footerReference w:type=\"default\" r:id=\"rF\"/></w:sectPr>";
    Documents documents;
    ASSERT_TRUE(readDocx(packageWithParts(body, header, footer), documents.set()).ok());
    EXPECT_EQ(documents.footer.toPlainText(), QStringLiteral("p. 4"));
    EXPECT_TRUE(engine::isPageNumberField(formatAt(documents.footer, 3)));
    EXPECT_FALSE(engine::isPageNumberField(formatAt(documents.footer, 2)));
    EXPECT_EQ(documents.header.toPlainText(), QStringLiteral("9 head"));
    EXPECT_TRUE(engine::isPageNumberField(formatAt(documents.header, 0)));
    EXPECT_FALSE(engine::isPageNumberField(formatAt(documents.header, 1)));
}
