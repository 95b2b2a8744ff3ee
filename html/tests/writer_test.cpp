#include "html/passes.h"

#include "testsupport/printers.h"

#include <gtest/gtest.h>

using namespace html;

namespace {

QString written(const QString& body)
{
    ElementList list = ParseElements(body, {QStringLiteral("F"), 1.2f, QString()});
    SetLevels(list);
    return WriteElements(list);
}

struct Row {
    const char* what;
    QString body;
    QString expected;
};

class WriteElementsRows : public ::testing::TestWithParam<Row> {};

TEST_P(WriteElementsRows, IndentsByLevelAndClosesOpenTags)
{
    EXPECT_EQ(written(GetParam().body), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WriteElementsRows,
    ::testing::Values(
        Row{"a paragraph without style",
            QStringLiteral("<body>\r\n<p style=\"text-indent:0pt;margin-left:0pt;\">Hello</p>\r\n</body></html>"),
            QStringLiteral("\r\n<body>\r\n  <div>Hello\r\n  </div>\r\n</body>\r\n</html>")},
        Row{"an unmatched closing tag closes the open ones; i and b count as block names",
            QStringLiteral("<body><p><b><i>x</p></body></html>"),
            QStringLiteral("\r\n<body>\r\n  <div><b><i>x</i>\r\n</b>\r\n  </div>\r\n</body>\r\n</html>")},
        Row{"span is not a block name",
            QStringLiteral("<body><p><span>x</p></body></html>"),
            QStringLiteral("\r\n<body>\r\n  <div>\r\n        <span>x</span>\r\n  </div>\r\n</body>\r\n</html>")},
        Row{"a closing tag with nothing open is written inline",
            QStringLiteral("<body></body></html></x>"),
            QStringLiteral("\r\n<body>\r\n</body>\r\n</html></x>")},
        Row{"tables and lists",
            QStringLiteral("<body><table><tr><td><p>c</p></td></tr></table><ul><li>i</li></ul></body>"),
            QStringLiteral("\r\n<body>\r\n  <table>\r\n    <tr>\r\n      <td>\r\n  <div>c\r\n  </div></td></tr>"
                           "\r\n  </table>\r\n    <ul>\r\n      <li>i</li>\r\n    </ul>\r\n</body>")},
        Row{"raw lines", QStringLiteral("<body><### raw  text></body>"),
            QStringLiteral("\r\n<body>\r\nraw  text\r\n</body>")},
        // Each span, link and picture used to start a line of its own, which
        // a browser shows as a space between Japanese characters.
        Row{"an inline element behind text or another inline element continues the line",
            QStringLiteral("<body><p>同じ<span style=\"x:1;\">スタイル</span>の<a href=\"http://x\">リンク</a>"
                           "<img src=\"i\" alt=\"\"> <span>語</span></p>"),
            QStringLiteral("\r\n<body>\r\n  <div>同じ<span>スタイル</span>の<a href=\"http://x\">リンク</a>"
                           "<img src=\"i\" alt=\"\"> <span>語</span>\r\n  </div>")},
        Row{"attributes kept, style not written, br inline",
            QStringLiteral("<body><p style=\"a:1;\" title=\"x  y\">a<br />b</p>"),
            QStringLiteral("\r\n<body>\r\n  <div title=\"x y\">a<br>b\r\n  </div>")}));

TEST(WriteElements, WritesTheClass)
{
    ElementList list = ParseElements(QStringLiteral("<img src=\"i\" alt=\"\"><p>t</p>"), {});
    list[0].cls = QStringLiteral("im01");
    list[1].cls = QStringLiteral("di01");
    SetLevels(list);
    EXPECT_EQ(WriteElements(list),
              QStringLiteral("\r\n        <img src=\"i\" alt=\"\" class=\"im01\">\r\n  <div class=\"di01\">t\r\n  </div>"));
}

TEST(MakeBaseStyles, LinkAndTipUseTheBodyFont)
{
    StyleSet styles;
    styles.body = {QStringLiteral("F"), 10, 0};
    const BaseStyles base = MakeBaseStyles(styles);
    EXPECT_EQ(base.link, QStringLiteral("font-family:'F', sans-serif;font-size:10pt;color:#8080FF;"));
    EXPECT_EQ(base.tip, QStringLiteral("font-family:'F', sans-serif;font-size:10pt;color:#804040;"));
}

TEST(BuildStyleSheet, FixedRulesStyleRulesAndClasses)
{
    StyleSet styles;
    styles.headings = {TextStyle{QStringLiteral("H 明朝"), 14, 0x563412}, TextStyle{QStringLiteral("H"), 12, 0xFF},
                       TextStyle{QStringLiteral("H Mono"), 11, 0}};
    styles.body = {QStringLiteral("F"), 10, 0};
    styles.lineSpacing = 1.2f;
    const QString expected = QStringLiteral(
        "<style type=\"text/css\">\r\n"
        "    body {padding-left: 10px;line-height:120%;font-family:'F', sans-serif;font-size:small;color:#000000;margin: 0px; "
        "background-color: #FFFFFF;}\r\n"
        "    a {LINK}\r\n"
        "    a:link {text-decoration:underline;}\r\n"
        "    a:visited {color:#5689bf;text-decoration:underline;}\r\n"
        "    a:active {color:#009E7B;text-decoration:none;}\r\n"
        "    a:hover {color:white;background-color:#666633;text-decoration:underline;}\r\n"
        "    h1 {font-family:'H 明朝', serif;font-size:14pt;color:#123456;margin: 7px 0px 6px 8px;}\r\n"
        "    h3 {font-family:'H', sans-serif;font-size:12pt;color:#FF0000;margin: 5px 0px 4px 8px;}\r\n"
        "    h5 {font-family:'H Mono', monospace;font-size:11pt;color:#000000;margin: 3px 0px 2px 8px;}\r\n"
        "    div {margin: 4px 0px 2px 0px;}\r\n"
        "    table {border-collapse:collapse;}\r\n"
        "    tr {text-align:left;vertical-align:top;}\r\n"
        "    td {padding:3px;}\r\n"
        "    li {margin:4px 0px 2px 0px;}\r\n"
        "    img {border:0px;}\r\n");
    EXPECT_EQ(BuildStyleSheet(ClassTable(), QStringLiteral("LINK"), styles), expected + QStringLiteral("</style>\r\n"));
    ClassTable classes;
    classes.MakeClass(QStringLiteral("div"), QStringLiteral("x:1;"));
    EXPECT_EQ(BuildStyleSheet(classes, QStringLiteral("LINK"), styles),
              expected + QStringLiteral("    div.di01 {x:1;}\r\n</style>\r\n"));
}

TEST(BuildStyleSheet, BodySizeWordAndLineHeight)
{
    struct SizeRow {
        int size;
        float lineSpacing;
        const char* body;
    };
    const SizeRow rows[] = {
        {14, 1.0f, "line-height:100%;font-family:'F', sans-serif;font-size:large;"},
        {13, 1.15f, "line-height:115%;font-family:'F', sans-serif;font-size:medium;"},
        {12, 2.0f, "line-height:200%;font-family:'F', sans-serif;font-size:medium;"},
        {11, 1.2f, "line-height:120%;font-family:'F', sans-serif;font-size:small;"},
        {10, 0.0f, "line-height:%;font-family:'F', sans-serif;font-size:small;"},
    };
    for (const SizeRow& row : rows) {
        StyleSet styles;
        styles.body = {QStringLiteral("F"), row.size, 0};
        styles.lineSpacing = row.lineSpacing;
        EXPECT_TRUE(BuildStyleSheet(ClassTable(), QString(), styles).contains(QLatin1String(row.body))) << row.size;
    }
}

TEST(BuildHead, DoctypeMetaStyleAndTitle)
{
    EXPECT_EQ(BuildHead(QStringLiteral("A~B & <C>") + QChar(0x1B) + QChar(0x9F), QStringLiteral("<style>~</style>\r\n")),
              QStringLiteral("<!DOCTYPE html PUBLIC '-//W3C//DTD HTML 4.01 Transitional//EN' "
                             "'http://www.w3.org/TR/html4/loose.dtd'>\r\n"
                             "<html>\r\n<head>\r\n"
                             "<meta http-equiv='Content-Type' content='text/html; charset=UTF-8'>\r\n"
                             "<style>\r\n</style>\r\n"
                             "<title>A\r\nB &amp; &lt;C&gt;</title>\r\n</head>"));
}

} // namespace
