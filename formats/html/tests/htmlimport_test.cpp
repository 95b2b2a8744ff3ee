// Reading HTML: the dialect as its writer means it, other HTML as HTML means
// it, with paragraphs, headings, ideographic spaces, fields and pictures in
// the engine's own terms; and no crash on whatever a file holds.

#include "formats/html/htmlimport.h"
#include "formats/html/importpreparer.h"

#include "engine/textengine.h"
#include "formats/html/tests/documentdump.h"
#include "formats/html/tests/formatstest.h"
#include "testsupport/tempfolder.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTextTable>

using namespace formatstest;

namespace {

// A file of the dialect around `body`, with `rules` in its style block.
QString dialect(const QString& body, const QString& rules = {})
{
    return QStringLiteral("<!DOCTYPE html PUBLIC '-//W3C//DTD HTML 4.01 Transitional//EN' "
                          "'http://www.w3.org/TR/html4/loose.dtd'>\r\n<html>\r\n<head>\r\n"
                          "<meta http-equiv='Content-Type' content='text/html; charset=UTF-8'>\r\n"
                          "<style type=\"text/css\">\r\n"
                          "    body {padding-left: 10px;line-height:120%;font-family:'F';font-size:small;}\r\n"
                          "    h1 {font-size:14pt;color:#855A50;margin: 7px 0px 6px 8px;}\r\n"
                          "    div {margin: 4px 0px 2px 0px;}\r\n")
        + rules + QStringLiteral("</style>\r\n<title>題名</title>\r\n</head>\r\n<body>\r\n") + body
        + QStringLiteral("\r\n</body>\r\n</html>");
}

QString other(const QString& body)
{
    return QStringLiteral("<html><head><title>外部</title></head><body>") + body + QStringLiteral("</body></html>");
}

struct Row {
    const char* name;
    QString html;
    QStringList expected;
};

void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name;
}

// The body font is 10pt; the standard line spacing 1.2 makes 240 twips.
const QString kBody = QStringLiteral("    div.di01 {margin-left:3pt;font-family:'F';font-size:10pt;}\r\n");

const Row kRows[] = {
    {"DialectParagraphTakesItsClass", dialect(QStringLiteral("  <div class=\"di01\">本文\r\n  </div>"), kBody),
     {QStringLiteral("left=60 line=240 | 本文")}},
    {"DialectLeftOutZerosAreZero", dialect(QStringLiteral("  <div>x\r\n  </div>")), {QStringLiteral("line=216 | x")}},
    {"ExactPointLengths",
     dialect(QStringLiteral("  <div class=\"di01\" >x\r\n  </div>"),
             QStringLiteral("    div.di01 {margin-left:8.35pt;margin-top:0.75pt;margin-bottom:1pt;margin-right:2cm;text-indent:-3pt;font-size:10pt;}\r\n")),
     {QStringLiteral("left=167 before=15 after=20 right=1134 indent=-60 line=240 | x")}},
    {"LineHeightPercentOfTheFontSize",
     dialect(QStringLiteral("  <div class=\"di01\">x\r\n  </div>"), QStringLiteral("    div.di01 {line-height:150%;font-size:10pt;}\r\n")),
     {QStringLiteral("line=301 | x")}},
    {"HeadingsAreTheThreeHeadingStyles",
     dialect(QStringLiteral("    <h1 class=\"h101\">一</h1>\r\n    <h3 class=\"h301\">二</h3>\r\n    <h5 class=\"h501\">三</h5>"),
             QStringLiteral("    h1.h101 {margin-left:8pt;font-size:14pt;}\r\n    h3.h301 {margin-left:8pt;font-size:12pt;}\r\n"
                            "    h5.h501 {margin-left:8pt;font-size:11pt;}\r\n")),
     {QStringLiteral("heading=1 left=160 line=336 | 一"), QStringLiteral("heading=2 left=160 line=288 | 二"),
      QStringLiteral("heading=3 left=160 line=264 | 三")}},
    {"OtherHeadingsCountWithTheOneAbove",
     other(QStringLiteral("<h2 style=\"margin:0\">a</h2><h4 style=\"margin:0\">b</h4><h6 style=\"margin:0 1pt\">c</h6>")),
     {QStringLiteral("heading=1 line=single | a"), QStringLiteral("heading=2 line=single | b"),
      QStringLiteral("heading=3 left=20 right=20 line=single | c")}},
    {"IdeographicSpacesSurvive", dialect(QStringLiteral("  <div>　前　後&#12288;&#x3000;　\r\n  </div>")),
     {QStringLiteral("line=216 | 　前　後　　　")}},
    {"IdeographicSpacesSurviveInOtherHtml", other(QStringLiteral("<p>　前 　 後&#12288;</p>")),
     {QStringLiteral("before=180 after=180 line=single | 　前 　 後　")}},
    {"DialectLineLayoutIsNoText",
     dialect(QStringLiteral("  <div>同じ\r\n        <span>スタイル</span>の  段落\r\n  </div>")),
     {QStringLiteral("line=216 | 同じスタイルの  段落")}},
    {"OtherHtmlCollapsesWhiteSpace", other(QStringLiteral("<div>a\r\n  <span>b</span>  c</div>")),
     {QStringLiteral("line=single | a b c")}},
    {"DialectEmptyParagraphKeepsItsLook",
     dialect(QStringLiteral("  <div class=\"di01\"><br>\r\n  </div>\r\n  <div class=\"di01\"><br>\r\n  </div>"), kBody),
     {QStringLiteral("left=60 line=240 | "), QStringLiteral("left=60 line=240 | ")}},
    {"LineBreaks", dialect(QStringLiteral("  <div>一<br>二\r\n  </div>")), {QStringLiteral("line=216 | 一<br>二")}},
    {"ShadedParagraphIsOneParagraphAgain",
     dialect(QStringLiteral("  <div class=\"di01\">\r\n        <span class=\"sp01\">網掛け\r\n        "
                            "<span class=\"sp02\">太字</span>の段落</span>\r\n  </div>"),
             QStringLiteral("    div.di01 {margin-left:3pt;text-align:center;}\r\n"
                            "    span.sp01 {font-family:'f';font-size:10pt;background-color:#ffff00;}\r\n"
                            "    span.sp02 {font-weight:bold;}\r\n")),
     {QStringLiteral("left=60 line=240 center shade=#ffff00 | 網掛け太字の段落")}},
    {"HighlightedRunStaysARun",
     dialect(QStringLiteral("  <div class=\"di01\">\r\n        <span class=\"sp01\">蛍光</span>\r\n  </div>"),
             kBody + QStringLiteral("    span.sp01 {background-color:#ffff00;}\r\n")),
     {QStringLiteral("left=60 line=240 | 蛍光")}},
    {"PageBreakAndJustify",
     dialect(QStringLiteral("  <div class=\"di01\">x\r\n  </div>"),
             QStringLiteral("    div.di01 {text-align:justify;page-break-before:always;font-size:10pt;}\r\n")),
     {QStringLiteral("line=240 justify break | x")}},
    {"ToolTipSpansAreToolTipFields",
     dialect(QStringLiteral("  <div>前\r\n        <span title=\"ヒント : 説明 : 続き\" class=\"sp01\">ヒント</span>"
                            "\r\n        <span title=\"a : b\">別</span>\r\n  </div>")),
     {QStringLiteral("line=216 | 前{ヒント|TP_説明 : 続き}{別|TP_b}")}},
    {"LinksAreLinkFields",
     dialect(QStringLiteral("  <div>\r\n        <a href=\"005.htm\">五</a>\r\n        <a href=\"abc_d.html\">名</a>"
                            "\r\n        <a href=\"http://example.com/?a=1&amp;b=2\">ウェブ</a>"
                            "\r\n        <a href=\"/home/u/Doc/B/002.htm\">絶対</a>"
                            "\r\n        <a href=\"C:/Doc/B/002.htm\">ドライブ</a>"
                            "\r\n        <a href=\"/home/u/Doc/A/#DX_12\">参照</a>"
                            "\r\n        <a href=\"#TG_x_7\">札</a>\r\n  </div>")),
     {QStringLiteral("line=216 | {五|TG_005}{名|TG__abc_d.html}{ウェブ|http://example.com/?a=1&b=2}"
                     "{絶対|file:///home/u/Doc/B/002.htm}{ドライブ|file:///C:/Doc/B/002.htm}{参照|DX_12}{札|TG_x_7}")}},
    {"NeighbouringLinksToOnePlaceStayTwoFields",
     other(QStringLiteral("<p><a href=\"http://a/\">一</a><a href=\"http://a/\">二</a></p>")),
     {QStringLiteral("before=180 after=180 line=single | {一|http://a/}{二|http://a/}")}},
    {"ListsAreEngineLists",
     dialect(QStringLiteral("    <ul class=\"ul01\">\r\n      <li>一</li>\r\n      <li>二</li>\r\n    </ul>\r\n"
                            "    <ol type=\"1\">\r\n      <li>三</li>\r\n    </ol>"),
             QStringLiteral("    ul.ul01 {list-style-type:square;}\r\n")),
     {QStringLiteral("list=2 line=216 | 一"), QStringLiteral("list=2 line=216 | 二"), QStringLiteral("list=3 line=216 | 三")}},
    {"ScriptsStylesAndCommentsAreNoText",
     other(QStringLiteral("<p>a<!-- note <p>x</p> --><script>document.write('<p>y</p>')</script>b</p>")),
     {QStringLiteral("before=180 after=180 line=single | ab")}},
};

class ReadRow : public ::testing::TestWithParam<Row> {};

TEST_P(ReadRow, GivesTheExpectedDocument)
{
    const std::unique_ptr<engine::TextEngine> engine = readHtmlText(GetParam().html);
    ASSERT_TRUE(engine);
    EXPECT_EQ(documentDump(*engine->document()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Html, ReadRow, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

QTextCharFormat charFormatAt(engine::TextEngine& engine, int position)
{
    QTextCursor cursor(engine.document());
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

TEST(ReadDialect, ParagraphsTakeNoLookBeyondTheirClass)
{
    // Qt would make h1 bold and large by itself, and apply the element rule to the div.
    const auto engine = readHtmlText(dialect(QStringLiteral("    <h1 class=\"h101\">見出し</h1>\r\n  <div>x\r\n  </div>"),
                                             QStringLiteral("    h1.h101 {margin-left:8pt;font-size:14pt;}\r\n"
                                                            "    div {color:#ff0000;}\r\n")));
    ASSERT_TRUE(engine);
    const QTextCharFormat heading = charFormatAt(*engine, 0);
    EXPECT_EQ(heading.fontWeight(), QFont::Normal);
    EXPECT_EQ(heading.fontPointSize(), 14);
    EXPECT_EQ(charFormatAt(*engine, 4).foreground().style(), Qt::NoBrush);
}

TEST(ReadDialect, FieldsShowTheirKindsColourAndTheFilesOtherLooks)
{
    const auto engine = readHtmlText(dialect(
        QStringLiteral("  <div>\r\n        <a href=\"005.htm\" class=\"a01\">五</a>\r\n        <a href=\"http://x/\">x</a>\r\n  </div>"),
        QStringLiteral("    a.a01 {text-decoration:underline;}\r\n")));
    ASSERT_TRUE(engine);
    const QTextCharFormat tag = charFormatAt(*engine, 0);
    EXPECT_EQ(tag.foreground().color(), QColor(0x00, 0x80, 0x80));
    EXPECT_TRUE(tag.fontUnderline());
    EXPECT_EQ(tag.intProperty(engine::FieldKind), 2);
    EXPECT_EQ(tag.intProperty(engine::FieldAttribute), 149);
    EXPECT_FALSE(tag.isAnchor());
    const QTextCharFormat link = charFormatAt(*engine, 1);
    EXPECT_EQ(link.foreground().color(), QColor(0x80, 0x80, 0xff));
    EXPECT_FALSE(link.fontUnderline());
    EXPECT_EQ(link.intProperty(engine::FieldKind), 1);
    EXPECT_NE(link.intProperty(engine::FieldId), tag.intProperty(engine::FieldId));
}

TEST(ReadDialect, TheTitleBecomesTheDocumentsTitle)
{
    const auto engine = readHtmlText(dialect(QStringLiteral("  <div>x\r\n  </div>")));
    ASSERT_TRUE(engine);
    EXPECT_EQ(engine->document()->metaInformation(QTextDocument::DocumentTitle), QStringLiteral("題名"));
}

TEST(ReadDialect, ACellsShadingStaysTheCells)
{
    const auto engine = readHtmlText(dialect(
        QStringLiteral("  <table>\r\n    <tr>\r\n      <td class=\"td01\">\r\n  <div>x\r\n  </div></td></tr>\r\n  </table>"),
        QStringLiteral("    td.td01 {vertical-align:middle; background-color:#ffff00;}\r\n")));
    ASSERT_TRUE(engine);
    const QList<QTextFrame*> frames = engine->document()->rootFrame()->childFrames();
    ASSERT_EQ(frames.size(), 1);
    const auto* table = qobject_cast<const QTextTable*>(frames.first());
    ASSERT_TRUE(table);
    const QTextTableCell cell = table->cellAt(0, 0);
    EXPECT_EQ(cell.format().background().color(), QColor(0xff, 0xff, 0x00));
    EXPECT_EQ(cell.format().verticalAlignment(), QTextCharFormat::AlignMiddle);
    const QTextBlock paragraph = cell.firstCursorPosition().block();
    EXPECT_EQ(paragraph.blockFormat().background().style(), Qt::NoBrush);
    EXPECT_EQ(paragraph.begin().fragment().charFormat().background().style(), Qt::NoBrush);
}

class ReadPictures : public ::testing::Test {
protected:
    void SetUp() override
    {
        red = testImage(Qt::red);
        ASSERT_TRUE(QDir().mkpath(folder.path(QStringLiteral("doc_files"))));
        ASSERT_TRUE(red.save(folder.path(QStringLiteral("doc_files/image1.png"))));
    }

    static QImage testImage(QColor colour)
    {
        QImage image(4, 3, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }

    QImage pictureOf(engine::TextEngine& engine, int position) const
    {
        const QTextImageFormat format = charFormatAt(engine, position).toImageFormat();
        return engine.document()->resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
    }

    testsupport::TempFolder folder;
    QImage red;
};

TEST_F(ReadPictures, PicturesBesideTheFileAreEnginePictures)
{
    const QString html = other(QStringLiteral("<p>a<img src=\"doc_files/image1.png\" width=\"40\" height=\"30\" alt=\"\">"
                                              "<img src=\"doc%5Ffiles/image1.png\" align=\"right\">b</p>"));
    const auto engine = readHtmlText(html, folder.path());
    ASSERT_TRUE(engine);
    EXPECT_EQ(documentDump(*engine->document()),
              QStringList{QStringLiteral("before=180 after=180 line=single | a[picture 40x30 0][picture 4x3 2]b")});
    EXPECT_EQ(pictureOf(*engine, 1).convertToFormat(QImage::Format_RGB32), red);
    const QTextImageFormat format = charFormatAt(*engine, 1).toImageFormat();
    EXPECT_GT(format.intProperty(engine::ObjectId), 0);
    EXPECT_EQ(format.stringProperty(engine::ObjectFileName), folder.path(QStringLiteral("doc_files/image1.png")));
}

TEST_F(ReadPictures, DataAddressesArePictures)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    testImage(Qt::blue).save(&buffer, "PNG");
    const auto engine = readHtmlText(other(QStringLiteral("<p><img src=\"data:image/png;base64,%1\"></p>").arg(QString::fromLatin1(png.toBase64()))));
    ASSERT_TRUE(engine);
    EXPECT_EQ(pictureOf(*engine, 0).convertToFormat(QImage::Format_RGB32), testImage(Qt::blue));
}

TEST_F(ReadPictures, PicturesThatCannotBeReadAreLeftOut)
{
    folder.write(QStringLiteral("broken.png"), "no picture");
    const auto engine = readHtmlText(other(QStringLiteral("<p>a<img src=\"missing.png\"><img src=\"broken.png\">"
                                                          "<img src=\"http://example.com/x.png\"><img>b</p>")),
                                     folder.path());
    ASSERT_TRUE(engine);
    EXPECT_EQ(documentDump(*engine->document()), QStringList{QStringLiteral("before=180 after=180 line=single | ab")});
}

TEST_F(ReadPictures, WithoutItsFolderAFileWithPicturesBesideItIsRefused)
{
    // Read on, the pictures would be gone from the document and, after the
    // next save, from the file.
    EXPECT_FALSE(readHtmlText(other(QStringLiteral("<p>a<img src=\"doc_files/image1.png\">b</p>"))));
    EXPECT_TRUE(readHtmlText(other(QStringLiteral("<p>a<img src=\"http://example.com/a.png\">b</p>"))));
    const QString absolute = folder.path(QStringLiteral("doc_files/image1.png"));
    const auto engine = readHtmlText(other(QStringLiteral("<p><img src=\"%1\"></p>").arg(absolute)));
    ASSERT_TRUE(engine);
    EXPECT_EQ(documentDump(*engine->document()), QStringList{QStringLiteral("before=180 after=180 line=single | [picture 4x3 0]")});
}

TEST_F(ReadPictures, APictureInALinkIsInTheLinksField)
{
    const auto engine = readHtmlText(other(QStringLiteral("<p><a href=\"http://x/\"><img src=\"doc_files/image1.png\"></a></p>")),
                                     folder.path());
    ASSERT_TRUE(engine);
    EXPECT_EQ(documentDump(*engine->document()),
              QStringList{QStringLiteral("before=180 after=180 line=single | {[picture 4x3 0]|http://x/}")});
}

struct Encoded {
    const char* name;
    QByteArray bytes;
};

QByteArray encoded(const char* encoding, const QString& text)
{
    QStringEncoder encoder(encoding);
    return encoder.encode(text);
}

TEST(ReadEncodings, TheFilesCharacterSetDecides)
{
    const QString text = QStringLiteral("日本語のテキスト");
    const Encoded rows[] = {
        {"utf-8", other(QStringLiteral("<p>") + text + QStringLiteral("</p>")).toUtf8()},
        {"utf-8 with mark", "\xEF\xBB\xBF" + other(QStringLiteral("<p>") + text + QStringLiteral("</p>")).toUtf8()},
        {"shift_jis declared",
         encoded("Shift_JIS", QStringLiteral("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">"
                                             "</head><body><p>") + text + QStringLiteral("</p></body></html>"))},
        {"cp932 undeclared", encoded("windows-31j", other(QStringLiteral("<p>") + text + QStringLiteral("</p>")))},
        {"utf-16 with mark", QByteArray("\xFF\xFE") + encoded("UTF-16LE", other(QStringLiteral("<p>") + text + QStringLiteral("</p>")))},
    };
    for (const Encoded& row : rows) {
        const auto engine = readHtmlBytes(row.bytes);
        ASSERT_TRUE(engine) << row.name;
        EXPECT_EQ(engine->document()->toPlainText(), text) << row.name;
    }
}

TEST(ReadLimits, NestingBeyondTheLimitIsRefusedButUnclosedListItemsAndCellsDoNotCount)
{
    const int depth = formats::ImportPreparer::kMaxNesting + 1;
    EXPECT_FALSE(readHtmlText(other(QStringLiteral("<span>").repeated(depth) + u'x' + QStringLiteral("</span>").repeated(depth))));
    EXPECT_TRUE(readHtmlText(other(QStringLiteral("<span>").repeated(depth - 10) + u'x')));
    const QString rows = QStringLiteral("<tr><td>a<td>b").repeated(2 * depth);
    const QString items = QStringLiteral("<li>x").repeated(2 * depth);
    EXPECT_TRUE(readHtmlText(other(QStringLiteral("<table>") + rows + QStringLiteral("</table><ul>") + items)));
}

TEST(ReadLimits, FilesOverTheLimitAreRefused)
{
    const QByteArray huge = QByteArray("<html><body><p>") + QByteArray(formats::HtmlImport().maxInputBytes(), 'x');
    EXPECT_FALSE(readHtmlBytes(huge));
}

TEST(ReadLimits, GarbageNeverCrashes)
{
    const QByteArray pieces[] = {"<", ">", "</", "<p", "<a href=\"", "\"", "'", "=", "<!--", "-->", "<img src=",
                                 "<table>", "<td>", "&#", "&#x3000;", ";", "\xE3\x80\x80", "\xFF", "\x00", "<style>",
                                 "</style>", ".a{", "}", "<span title=\"", "<div class=\"a b\">", "<br>", "<h1>", "</h3>"};
    QRandomGenerator random(20240605);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes;
        for (int i = 0; i < 60; ++i)
            bytes += pieces[random.bounded(int(std::size(pieces)))];
        readHtmlBytes(bytes);
        readHtmlBytes(QByteArray("<!DOCTYPE html PUBLIC '-//W3C//DTD HTML 4.01 Transitional//EN'>") + bytes);
    }
    SUCCEED() << "200 random files read without a crash";
}

TEST(ReadCodec, TheEngineReadsHtmlThroughTheRegisteredCodec)
{
    formats::registerHtmlCodec();
    engine::TextEngine engine;
    engine.setPlainText(QStringLiteral("前後"));
    engine.setSelection(1, 0);
    ASSERT_TRUE(engine.loadFromMemory(other(QStringLiteral("<p>挿入</p>")).toUtf8(), engine::FormatCode::Html, true));
    EXPECT_EQ(engine.plainText(), QStringLiteral("前挿入後"));
    ASSERT_TRUE(engine.loadFromMemory(other(QStringLiteral("<p>全体</p>")).toUtf8(), engine::FormatCode::Html, false));
    EXPECT_EQ(engine.plainText(), QStringLiteral("全体"));
}

TEST(ReadCodec, WritingToMemoryCarriesThePictures)
{
    formats::registerHtmlCodec();
    engine::TextEngine engine;
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::green);
    engine.insertPicture(picture, engine::PictureInline);
    const std::optional<QByteArray> bytes = engine.saveToMemory(engine::FormatCode::Html);
    ASSERT_TRUE(bytes);
    engine::TextEngine copy;
    ASSERT_TRUE(copy.loadFromMemory(*bytes, engine::FormatCode::Html, false));
    const QTextImageFormat format = charFormatAt(copy, 0).toImageFormat();
    EXPECT_EQ(copy.document()->resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>().convertToFormat(QImage::Format_RGB32),
              picture);
}

} // namespace
