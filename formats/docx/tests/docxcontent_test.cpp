// What the reader makes of the parts of a Word document beyond plain
// paragraphs: fields, text boxes and framed paragraphs, tables' looks,
// pictures the engine can and cannot draw, notes, equations and charts.

#include "formats/docx/docxcodec.h"
#include "formats/docx/docxfields.h"
#include "docxfixture.h"

#include "engine/fieldformat.h"
#include "engine/objects.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace formats::docx;
using formats::word::Loss;
using docxtest::Documents;

namespace {

QByteArray run(const QByteArray& text)
{
    return "<w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r>";
}

QByteArray paragraph(const QByteArray& content, const QByteArray& properties = {})
{
    return "<w:p><w:pPr>" + properties + "</w:pPr>" + content + "</w:p>";
}

QByteArray fieldCharacter(const char* type)
{
    return QByteArray("<w:r><w:fldChar w:fldCharType=\"") + type + "\"/></w:r>";
}

QByteArray instruction(const QByteArray& text)
{
    return "<w:r><w:instrText xml:space=\"preserve\">" + text + "</w:instrText></w:r>";
}

QByteArray complexField(const QByteArray& instructionText, const QByteArray& result)
{
    return fieldCharacter("begin") + instruction(instructionText) + fieldCharacter("separate") + result + fieldCharacter("end");
}

QByteArray pngBytes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QTextCharFormat formatAt(const QTextDocument& document, int position)
{
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

QTextCharFormat formatOf(const QTextDocument& document, const QString& text)
{
    return formatAt(document, int(document.toPlainText().indexOf(text)));
}

QList<QTextFrame*> textFrames(QTextDocument& document)
{
    const engine::Objects objects(document);
    QList<QTextFrame*> frames;
    for (const int id : objects.ids(engine::kObjectKindTextFrame))
        frames << objects.textFrame(id);
    return frames;
}

QString textOf(const QTextFrame* frame)
{
    QTextCursor cursor(frame->document());
    cursor.setPosition(frame->firstPosition());
    cursor.setPosition(frame->lastPosition(), QTextCursor::KeepAnchor);
    return cursor.selection().toPlainText();
}

ReadOutcome read(Documents& documents, const QByteArray& body, const docxtest::Parts& parts = {},
                 const QByteArray& relationships = {})
{
    return readDocx(docxtest::package(body, parts, relationships), documents.set());
}

QByteArray part(const char* root, const QByteArray& content)
{
    return QByteArray("<?xml version=\"1.0\"?><w:") + root + " " + docxtest::kWordNamespaces + ">" + content + "</w:" + root + ">";
}

} // namespace

TEST(DocxFields, ComplexHyperlinksLinkTheirResultPageFieldsNumberItAndOtherFieldsKeepTheirs)
{
    const QByteArray body = paragraph(run("see ") + complexField(" HYPERLINK \"http://a.example/\" \\o \"tip\" ", run("we") + run("b"))
                                      + run(" and ") + complexField(" HYPERLINK \\l \"TG_007\" ", run("tag")) + run(" page ")
                                      + complexField(" PAGE ", run("3"))
                                      + fieldCharacter("begin") + instruction(" IF ") + complexField(" DATE ", run("hidden"))
                                      + instruction(" = 1 ") + fieldCharacter("separate") + run("shown") + fieldCharacter("end"));
    Documents documents;
    ASSERT_TRUE(read(documents, body).ok());
    EXPECT_EQ(documents.body.toPlainText(), QStringLiteral("see web and tag page 3shown"));
    const QTextCharFormat we = formatOf(documents.body, QStringLiteral("we"));
    const QTextCharFormat b = formatOf(documents.body, QStringLiteral("b and"));
    EXPECT_EQ(we.property(engine::FieldData).toString(), QStringLiteral("http://a.example/"));
    EXPECT_EQ(b.property(engine::FieldId), we.property(engine::FieldId)) << "one field over the result's runs";
    const QTextCharFormat tag = formatOf(documents.body, QStringLiteral("tag"));
    EXPECT_EQ(tag.property(engine::FieldData).toString(), QStringLiteral("TG_007"));
    EXPECT_EQ(tag.property(engine::FieldKind).toInt(), 2);
    EXPECT_NE(tag.property(engine::FieldId), we.property(engine::FieldId));
    EXPECT_TRUE(engine::isPageNumberField(formatOf(documents.body, QStringLiteral("3")))) << "PAGE is a page number";
    EXPECT_FALSE(formatOf(documents.body, QStringLiteral("shown")).hasProperty(engine::FieldId));
}

TEST(DocxFields, InstructionsOfTheFormSwitchesTakeGiveTheirTarget)
{
    EXPECT_EQ(hyperlinkOfInstruction(QStringLiteral("HYPERLINK http://plain.example/")), QStringLiteral("http://plain.example/"));
    EXPECT_EQ(hyperlinkOfInstruction(QStringLiteral(" hyperlink \"http://a.example/p\" \\l \"part\" \\t \"_blank\"")),
              QStringLiteral("http://a.example/p#part"));
    EXPECT_EQ(hyperlinkOfInstruction(QStringLiteral("HYPERLINK \\l \"bookmark\"")), QStringLiteral("#bookmark"));
    EXPECT_EQ(hyperlinkOfInstruction(QStringLiteral("PAGEREF _Toc1 \\h")), QString());
    EXPECT_EQ(hyperlinkOfInstruction(QStringLiteral("HYPERLINK")), QString());
}

TEST(DocxFields, FieldsNestedPastTheLimitShowWhatTheOutermostShows)
{
    QByteArray open;
    QByteArray close;
    for (int i = 0; i < 100; ++i) {
        open += fieldCharacter("begin") + instruction(" QUOTE ");
        close += fieldCharacter("separate") + run("r") + fieldCharacter("end");
    }
    Documents documents;
    ASSERT_TRUE(read(documents, paragraph(open + close) + paragraph(run("after"))).ok());
    EXPECT_EQ(documents.body.toPlainText(), QStringLiteral("r\nafter"));
}

TEST(DocxTextFrames, TextBoxesBecomeFramesAfterTheirParagraph)
{
    const QByteArray box =
        "<w:r><mc:AlternateContent xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\">"
        "<mc:Choice Requires=\"wps\"><w:drawing><wp:anchor><wp:extent cx=\"1905000\" cy=\"952500\"/><a:graphic><a:graphicData>"
        "<wps:wsp xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\"><wps:txbx><w:txbxContent>"
        + paragraph(run("in box")) + paragraph(run("second line"))
        + "</w:txbxContent></wps:txbx></wps:wsp></a:graphicData></a:graphic></wp:anchor></w:drawing></mc:Choice>"
          "<mc:Fallback><w:pict><v:shape xmlns:v=\"urn:schemas-microsoft-com:vml\" style=\"width:150pt;height:75pt\"><v:textbox>"
          "<w:txbxContent>" + paragraph(run("fallback")) + "</w:txbxContent></v:textbox></v:shape></w:pict></mc:Fallback>"
          "</mc:AlternateContent></w:r>";
    const QByteArray vml = "<w:r><w:pict><v:shape xmlns:v=\"urn:schemas-microsoft-com:vml\" style=\"width:75pt;height:75pt\">"
                           "<v:textbox><w:txbxContent>" + paragraph(run("vml box")) + "</w:txbxContent></v:textbox></v:shape></w:pict></w:r>";
    const QByteArray body = paragraph(run("before") + box + run("after")) + paragraph(run("next") + vml);
    Documents documents;
    ASSERT_TRUE(read(documents, body).ok());
    EXPECT_EQ(documents.body.toPlainText(), QStringLiteral("beforeafter\nin box\nsecond line\nnext\nvml box\n"));
    const QList<QTextFrame*> frames = textFrames(documents.body);
    ASSERT_EQ(frames.size(), 2);
    EXPECT_EQ(textOf(frames[0]), QStringLiteral("in box\nsecond line"));
    EXPECT_DOUBLE_EQ(frames[0]->frameFormat().width().rawValue(), 200.0);
    EXPECT_EQ(textOf(frames[1]), QStringLiteral("vml box"));
    EXPECT_DOUBLE_EQ(frames[1]->frameFormat().width().rawValue(), 100.0);
}

TEST(DocxTextFrames, FramedParagraphsShareAFrameUntilTheFrameChanges)
{
    const QByteArray framed = "<w:framePr w:w=\"2880\" w:hAnchor=\"page\"/>";
    const QByteArray body = paragraph(run("f1"), framed) + paragraph(run("f2"), framed)
        + paragraph(run("g"), "<w:framePr w:w=\"1440\"/>") + paragraph(run("normal"))
        + paragraph(run("D"), "<w:framePr w:dropCap=\"drop\" w:lines=\"3\"/>");
    Documents documents;
    ASSERT_TRUE(read(documents, body).ok());
    const QList<QTextFrame*> frames = textFrames(documents.body);
    ASSERT_EQ(frames.size(), 2);
    EXPECT_EQ(textOf(frames[0]), QStringLiteral("f1\nf2"));
    EXPECT_DOUBLE_EQ(frames[0]->frameFormat().width().rawValue(), 192.0);
    EXPECT_EQ(textOf(frames[1]), QStringLiteral("g"));
    EXPECT_TRUE(documents.body.toPlainText().endsWith(QStringLiteral("g\nnormal\nD")));
}

TEST(DocxTables, LinesShadingAndAlignmentComeFromTheStyleAndTheTable)
{
    const QByteArray styles = docxtest::stylesPart(
        "<w:style w:type=\"table\" w:default=\"1\" w:styleId=\"TableNormal\"><w:name w:val=\"Normal Table\"/></w:style>"
        "<w:style w:type=\"table\" w:styleId=\"TableGrid\"><w:name w:val=\"Table Grid\"/><w:basedOn w:val=\"TableNormal\"/>"
        "<w:tblPr><w:tblBorders><w:top w:val=\"single\" w:sz=\"4\" w:color=\"FF0000\"/><w:insideH w:val=\"single\" w:sz=\"4\"/>"
        "</w:tblBorders></w:tblPr></w:style>"
        "<w:style w:type=\"table\" w:styleId=\"Shaded\"><w:name w:val=\"Shaded\"/><w:basedOn w:val=\"TableGrid\"/>"
        "<w:tcPr><w:shd w:val=\"clear\" w:fill=\"EEEEEE\"/></w:tcPr></w:style>");
    auto table = [](const QByteArray& properties, const QByteArray& text, const QByteArray& cellProperties = {}) {
        return "<w:tbl><w:tblPr>" + properties + "</w:tblPr><w:tr><w:tc><w:tcPr>" + cellProperties + "</w:tcPr>"
            + paragraph(run(text)) + "</w:tc></w:tr></w:tbl>" + paragraph(run("gap"));
    };
    const QByteArray body = table("<w:tblStyle w:val=\"TableGrid\"/>", "grid") + table({}, "plain")
        + table("<w:jc w:val=\"center\"/>", "cells",
                "<w:tcBorders><w:top w:val=\"single\" w:sz=\"12\"/></w:tcBorders><w:vAlign w:val=\"center\"/>")
        + table("<w:tblStyle w:val=\"Shaded\"/><w:tblBorders><w:top w:val=\"nil\"/></w:tblBorders>", "shaded");
    Documents documents;
    ASSERT_TRUE(read(documents, body, {{QStringLiteral("word/styles.xml"), styles}}, docxtest::relationship("rS", "styles", "styles.xml"))
                    .ok());
    auto tableOf = [&](const QString& text) {
        QTextCursor cursor(&documents.body);
        cursor.setPosition(int(documents.body.toPlainText().indexOf(text)));
        return cursor.currentTable();
    };
    QTextTable* grid = tableOf(QStringLiteral("grid"));
    QTextTable* plain = tableOf(QStringLiteral("plain"));
    QTextTable* cells = tableOf(QStringLiteral("cells"));
    QTextTable* shaded = tableOf(QStringLiteral("shaded"));
    ASSERT_TRUE(grid && plain && cells && shaded);
    EXPECT_DOUBLE_EQ(grid->format().border(), 1.0);
    EXPECT_EQ(grid->format().borderBrush().color(), QColor(0xFF, 0, 0));
    EXPECT_DOUBLE_EQ(plain->format().border(), 0.0) << "Word's default table draws no lines";
    EXPECT_DOUBLE_EQ(cells->format().border(), 2.0);
    EXPECT_EQ(cells->format().alignment(), Qt::AlignHCenter);
    EXPECT_EQ(cells->cellAt(0, 0).format().toTableCellFormat().verticalAlignment(), QTextCharFormat::AlignMiddle);
    EXPECT_DOUBLE_EQ(shaded->format().border(), 0.0) << "the table's own lines override its style's";
    EXPECT_EQ(shaded->cellAt(0, 0).format().background().color(), QColor(0xEE, 0xEE, 0xEE));
}

TEST(DocxPictures, OlderFilesFallbacksAndUndrawablePictures)
{
    const QByteArray vml = "<w:r><w:pict><v:shape xmlns:v=\"urn:schemas-microsoft-com:vml\" style=\"width:75pt;height:37.5pt\">"
                           "<v:imagedata r:id=\"rP\"/></v:shape></w:pict></w:r>";
    const QByteArray svg = "<w:r><w:drawing><wp:inline><wp:extent cx=\"476250\" cy=\"476250\"/><a:graphic><a:graphicData>"
                           "<a:blip r:embed=\"rP\"><a:extLst><a:ext><asvg:svgBlip xmlns:asvg=\"http://schemas.microsoft.com/"
                           "office/drawing/2016/SVG/main\" r:embed=\"rS\"/></a:ext></a:extLst></a:blip>"
                           "</a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
    const QByteArray emf = "<w:r><w:drawing><wp:inline><wp:extent cx=\"1905000\" cy=\"952500\"/><a:graphic><a:graphicData>"
                           "<a:blip r:embed=\"rE\"/></a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
    Documents documents;
    const ReadOutcome outcome =
        read(documents, paragraph(vml + svg + emf),
             {{QStringLiteral("word/media/p.png"), pngBytes(8, 4)}, {QStringLiteral("word/media/s.svg"), "<svg/>"},
              {QStringLiteral("word/media/e.emf"), QByteArray("\x01\0\0\0", 4) + QByteArray(80, '\0')}},
             docxtest::relationship("rP", "image", "media/p.png") + docxtest::relationship("rS", "image", "media/s.svg")
                 + docxtest::relationship("rE", "image", "media/e.emf"));
    ASSERT_TRUE(outcome.ok());
    const QList<int> pictures = engine::Objects(documents.body).ids(engine::kObjectKindPicture);
    ASSERT_EQ(pictures.size(), 3);
    const QTextImageFormat old = formatAt(documents.body, 0).toImageFormat();
    EXPECT_DOUBLE_EQ(old.width(), 100.0);
    EXPECT_DOUBLE_EQ(old.height(), 50.0);
    const QTextImageFormat fallback = formatAt(documents.body, 1).toImageFormat();
    EXPECT_EQ(engine::Objects(documents.body).property(pictures[1], engine::ObjectFileName).toString(), QStringLiteral("p.png"));
    EXPECT_DOUBLE_EQ(fallback.width(), 50.0);
    const QTextImageFormat framed = formatAt(documents.body, 2).toImageFormat();
    EXPECT_DOUBLE_EQ(framed.width(), 200.0);
    EXPECT_DOUBLE_EQ(framed.height(), 100.0);
    const QImage placeholder = documents.body.resource(QTextDocument::ImageResource, QUrl(framed.name())).value<QImage>();
    EXPECT_EQ(placeholder.size(), QSize(200, 100));
    EXPECT_EQ(outcome.report.losses, std::set<Loss>{Loss::UndrawablePictures});
}

TEST(DocxNotes, NotesFollowTheTextUnderALineWithTheirMarks)
{
    const QByteArray body = paragraph(run("text") + "<w:r><w:footnoteReference w:id=\"2\"/></w:r>" + run(" more")
                                      + "<w:r><w:endnoteReference w:id=\"1\"/></w:r>");
    const QByteArray footnotes = part("footnotes", "<w:footnote w:type=\"separator\" w:id=\"-1\">" + paragraph("<w:r><w:separator/></w:r>")
                                                       + "</w:footnote><w:footnote w:id=\"2\">"
                                                       + paragraph("<w:r><w:footnoteRef/></w:r>" + run(" note two"))
                                                       + "</w:footnote><w:footnote w:id=\"3\">" + paragraph(run("unused"))
                                                       + "</w:footnote>");
    const QByteArray endnotes = part("endnotes", "<w:endnote w:id=\"1\">" + paragraph("<w:r><w:endnoteRef/></w:r>" + run(" end note"))
                                                     + "</w:endnote>");
    Documents documents;
    const ReadOutcome outcome = read(documents, body,
                                     {{QStringLiteral("word/footnotes.xml"), footnotes}, {QStringLiteral("word/endnotes.xml"), endnotes}},
                                     docxtest::relationship("rF", "footnotes", "footnotes.xml")
                                         + docxtest::relationship("rE", "endnotes", "endnotes.xml"));
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(documents.body.toPlainText(), QStringLiteral("text1 morei\n――――――――\n1 note two\ni end note"));
    EXPECT_EQ(formatAt(documents.body, 4).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(formatOf(documents.body, QStringLiteral("1 note")).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(outcome.report.losses, (std::set<Loss>{Loss::Footnotes, Loss::Endnotes}));
}

TEST(DocxContent, EquationsKeepTheirTextAndChartsTheirPictureOrTheirSpace)
{
    const QByteArray math = "<m:oMath xmlns:m=\"http://schemas.openxmlformats.org/officeDocument/2006/math\"><m:r><m:t>a=</m:t></m:r>"
                            "<m:f><m:num><m:r><m:t>b</m:t></m:r></m:num><m:den><m:r><m:t>c</m:t></m:r></m:den></m:f></m:oMath>";
    const QByteArray chart = "<w:r><w:drawing><wp:inline><wp:extent cx=\"952500\" cy=\"952500\"/><a:graphic><a:graphicData>"
                             "<c:chart xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" r:id=\"rC\"/>"
                             "</a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
    const QByteArray chartWithPicture =
        "<w:r><mc:AlternateContent xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\">"
        "<mc:Choice Requires=\"cx1\"><w:drawing><wp:inline><cx:chart xmlns:cx=\"http://schemas.microsoft.com/office/drawing/2014/chartex\"/>"
        "</wp:inline></w:drawing></mc:Choice><mc:Fallback><w:drawing><wp:inline><wp:extent cx=\"476250\" cy=\"476250\"/>"
        "<a:blip r:embed=\"rP\"/></wp:inline></w:drawing></mc:Fallback></mc:AlternateContent></w:r>";
    Documents documents;
    const ReadOutcome outcome = read(documents, paragraph(run("x: ") + math) + paragraph(chart + chartWithPicture),
                                     {{QStringLiteral("word/media/p.png"), pngBytes(4, 4)}},
                                     docxtest::relationship("rP", "image", "media/p.png"));
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(documents.body.firstBlock().text(), QStringLiteral("x: a=b/c"));
    const QList<int> pictures = engine::Objects(documents.body).ids(engine::kObjectKindPicture);
    ASSERT_EQ(pictures.size(), 2);
    const engine::Objects objects(documents.body);
    EXPECT_EQ(objects.property(pictures[0], engine::ObjectFileName).toString(), QStringLiteral("chart.png"));
    EXPECT_EQ(objects.property(pictures[1], engine::ObjectFileName).toString(), QStringLiteral("p.png"));
    EXPECT_EQ(outcome.report.losses, (std::set<Loss>{Loss::Equations, Loss::Charts}));
}

TEST(DocxCodec, TheEnginesReportCarriesTheReasonAndTheLosses)
{
    registerDocxCodec();
    const auto codec = engine::codecFor(engine::FormatCode::Docx);
    ASSERT_NE(codec, nullptr);
    Documents refused;
    engine::ReadReport report;
    engine::DocumentSet set = refused.set();
    set.report = &report;
    EXPECT_FALSE(codec->read("PK\3\4 damaged", set));
    EXPECT_EQ(report.refusal, QStringLiteral("ﾌｧｲﾙが壊れているか､ﾜｰﾄﾞ文書ではありません｡"));
    Documents read;
    report = {};
    set = read.set();
    set.report = &report;
    EXPECT_TRUE(codec->read(docxtest::package(paragraph(run("a") + "<w:r><w:commentReference w:id=\"1\"/></w:r>")), set));
    EXPECT_EQ(report.refusal, QString());
    EXPECT_EQ(report.losses, QStringList{QStringLiteral("ｺﾒﾝﾄは省きました｡")});
}
