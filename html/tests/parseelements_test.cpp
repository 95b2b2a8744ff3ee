#include "html/passes.h"

#include "testsupport/printers.h"

#include <gtest/gtest.h>

using namespace html;

namespace {

// One line per element: name, container, attributes and style, separated by |.
QString dump(const ElementList& list)
{
    QStringList lines;
    for (const HtmElement& e : list)
        lines << e.name + u'|' + QString::number(e.container) + u'|' + e.attributes + u'|' + e.style;
    return lines.join(u'\n');
}

const ParseContext context{QStringLiteral("Body Font"), 1.2f, QStringLiteral("file:///C:/Doc/A/")};

struct Row {
    const char* what;
    QString body;
    QString expected;
};

class ParseElementsRows : public ::testing::TestWithParam<Row> {};

TEST_P(ParseElementsRows, ClassifiesAndCleans)
{
    EXPECT_EQ(dump(ParseElements(GetParam().body, context)), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ParseElementsRows,
    ::testing::Values(
        Row{"default declarations are dropped, p becomes div",
            QStringLiteral("<body>\r\n<p style=\"text-indent:0pt;margin-left:0pt;line-height:120%;\">Hello</p>"),
            QStringLiteral("body|1||\ndiv|1||\nval|0||\n/div|-1||")},
        Row{"body style merged into its direct children, without background and line height",
            QStringLiteral("<body style=\"font-size:10pt;background-color:#ffffff;line-height:150%;\">"
                           "<p style=\"margin-left:6pt;\"><span style=\"color:#ff0000;\">x</span></p>"),
            QStringLiteral("body|1||\ndiv|1||margin-left:6pt;font-size:10pt;\nspan|1||color:#ff0000;\n"
                           "val|0||\n/span|-1||\n/div|-1||")},
        Row{"'Arial' stands for the body font, named with its generic family; style attribute cut from the others",
            QStringLiteral("<body><p align=\"center\" style=\"font-family:'Arial';\" title=\"t\">a</p>"),
            QStringLiteral("body|1||\ndiv|1|align=\"center\" title=\"t\"|font-family:'Body Font', sans-serif;\n"
                           "val|0||\n/div|-1||")},
        Row{"img loses title and its closing slash; br is not a container",
            QStringLiteral("<body><img src=\"a_images/1.png\" title=\"x\" alt=\"\" /><br />t"),
            QStringLiteral("body|1||\nimg|0|src=\"a_images/1.png\" alt=\"\"|\nbr|0||\nval|0||")},
        Row{"table attributes",
            QStringLiteral("<body><table CELLSPACING=\"0\" cellpadding=\"0\" cols=\"2\" border=\"1\"></table>"),
            QStringLiteral("body|1||\ntable|1| border=\"1\"|\n/table|-1||")},
        Row{"links rewritten, their colour dropped",
            QStringLiteral("<body><a href=\"#TG_x_5\" style=\"color:#0000ff;font-size:9pt;\">t</a>"),
            QStringLiteral("body|1||\na|1|href=\"005.htm\"|font-size:9pt;\nval|0||\n/a|-1||")},
        Row{"upper-case tags pass through unrecognised",
            QStringLiteral("<body><P style=\"x:1;\">a</P><TABLE cols=\"1\"></TABLE>"),
            QStringLiteral("body|1||\nP|1||x:1;\nval|0||\n/P|-1||\nTABLE|1|cols=\"1\"|\n/TABLE|-1||")},
        Row{"### tags keep their text whole",
            QStringLiteral("<body><### style=\"x\" raw>"),
            QStringLiteral("body|1||\n###|1|style=\"x\" raw|")},
        Row{"shaded paragraph becomes a div around a span, both real elements",
            QStringLiteral("<body><p style=\"margin-left:9pt;Background-Color:#FFFF00;font-size:10pt;\">"
                           "a<b>b</b></p><p>n</p>"),
            QStringLiteral("body|1||\ndiv|1||margin-left:9pt;\nspan|1||background-color:#ffff00;font-size:10pt;\n"
                           "val|0||\nb|1||\nval|0||\n/b|-1||\n/span|-1||\n/div|-1||\n"
                           "div|1||\nval|0||\n/div|-1||")},
        Row{"background colour in the text or on a span leaves the paragraph alone",
            QStringLiteral("<body><p style=\"x:1;\">background-color<span style=\"background-color:#fff;\">s</span></p>"),
            QStringLiteral("body|1||\ndiv|1||x:1;\nval|0||\nspan|1||background-color:#fff;\nval|0||\n"
                           "/span|-1||\n/div|-1||")},
        Row{"unterminated style value runs to the end",
            QStringLiteral("<body><span style=\"color:red>x"),
            QStringLiteral("body|1||\nspan|1||color:red\nval|0||")}));

TEST(ParseElements, HidesIdeographicSpacesBehindThePlaceholder)
{
    const ElementList list = ParseElements(QStringLiteral("<body>\u3000a\u3000\u2177</body>"), context);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1].raw, QStringLiteral("\u2177a\u2177&#8567;"));
}

// Text runs used to be trimmed, so "a <b>bold</b> word" came back as
// "aboldword".
TEST(ParseElements, KeepsTheSpacesOfTextAndDropsThoseBesideBlockTags)
{
    const ElementList list = ParseElements(
        QStringLiteral("<body> <p>a <b>bold</b> word<span>x</span> <span>y</span></p> <p> </p></body>"), context);
    QStringList raws;
    for (const HtmElement& e : list)
        raws << e.raw;
    EXPECT_EQ(raws.join(u'|'), QStringLiteral("<body>|<p>|a |<b>|bold|</b>| word|<span>|x|</span>| |<span>|y|</span>|"
                                              "</div>|<p>|</div>|</body>"));
}

TEST(ParseElements, JoinsCrLfLinesButSplitsAtTags)
{
    const ElementList list = ParseElements(QStringLiteral("<body>\r\n  <p>one\r\n two</p>\r\n</body>"), context);
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[2].raw, QStringLiteral("one two"));
    EXPECT_EQ(list[4].raw, QStringLiteral("</body>"));
}

TEST(ShadePara, SortsDeclarationsBetweenParagraphAndSpan)
{
    EXPECT_EQ(ShadePara(u"<p style=\"TEXT-ALIGN:center;background-color:#FF0;line-height:150%;color:red\">", u"x"),
              QStringLiteral("<p style=\"text-align:center;line-height:150%;\">\r"
                             "<span style=\"background-color:#ff0;color:red;\">\rx\r</span>\r</p>"));
    // Full-width letters were lower-cased too, and 'ｍｓ 明朝' names no font.
    EXPECT_EQ(ShadePara(u"<p style=\"background-color:#FF0;font-family:'ＭＳ 明朝', serif\">", u"x"),
              QStringLiteral("<p style=\"\">\r<span style=\"background-color:#ff0;font-family:'ＭＳ 明朝', serif;\">\rx\r</span>\r</p>"));
}

} // namespace
