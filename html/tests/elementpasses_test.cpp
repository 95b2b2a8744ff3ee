#include "html/passes.h"

#include "testsupport/printers.h"

#include <gtest/gtest.h>

using namespace html;

namespace {

const ParseContext context{QStringLiteral("F"), 1.0f, QString()};

ElementList parsed(const QString& body)
{
    return ParseElements(body, context);
}

// The elements that are not removed: name, attributes and style, one a line.
QString kept(const ElementList& list)
{
    QStringList lines;
    for (const HtmElement& e : list) {
        if (!e.removed)
            lines << e.name + u'|' + e.attributes + u'|' + e.style;
    }
    return lines.join(u'\n');
}

struct Row {
    const char* what;
    QString body;
    QString expected;
};

TEST(FindElem, SkipsRemovedElementsInBothDirections)
{
    ElementList list = parsed(QStringLiteral("<a>x</a><a>y</a>"));
    list[3].removed = true;
    EXPECT_EQ(FindElem(list, -1, u"a"), 0);
    EXPECT_EQ(FindElem(list, 0, u"a"), -1);
    EXPECT_EQ(FindElem(list, 0, u""), 1);
    EXPECT_EQ(FindElem(list, 5, u"a", -1), 0);
    EXPECT_EQ(FindElem(list, 5, u"/a", -1), 2);
}

TEST(TipsToSpans, TurnsToolTipLinksIntoTitledSpans)
{
    const QString tipStyle = QStringLiteral("tip:1;");
    // A table longer than 32,767 characters: its last line must still be found.
    QString longTable;
    for (int i = 0; i < 4000; ++i)
        longTable += QStringLiteral("filler %1\tnot this one\r").arg(i);
    longTable += QStringLiteral("Last\tfound at the end\r");
    ASSERT_GT(longTable.size(), 32767);

    struct TipRow {
        const char* what;
        QString body;
        QString table;
        QString expected;
    };
    const TipRow rows[] = {
        {"tip from the table", QStringLiteral("<a href=\"#TP_id\">Link</a>"), QStringLiteral("Link\tThe tip\r"),
         QStringLiteral("span|title=\"Link : The tip\"|tip:1;\nval||\n/span||")},
        {"tip identifier when the text is not in the table", QStringLiteral("<a href=\"#TP_id7\">Link</a>"),
         QStringLiteral("Other\tx\r"), QStringLiteral("span|title=\"Link : id7\"|tip:1;\nval||\n/span||")},
        // Before the fix "B" + TAB also matched inside the line of "AB".
        {"whole link texts only", QStringLiteral("<a href=\"#TP_id\">B</a>"), QStringLiteral("AB\twrong\rB\tright\r"),
         QStringLiteral("span|title=\"B : right\"|tip:1;\nval||\n/span||")},
        {"escaped text and tip", QStringLiteral("<a href=\"#TP_id\">A&amp;B</a>"),
         QStringLiteral("A&B\t<b> \"q\"\r"),
         QStringLiteral("span|title=\"A&amp;B : &lt;b&gt; &quot;q&quot;\"|tip:1;\nval||\n/span||")},
        {"ideographic space in the link text", QStringLiteral("<a href=\"#TP_id\">a\u3000b</a>"),
         QStringLiteral("a\u3000b\tT\r"), QStringLiteral("span|title=\"a\u2177b : T\"|tip:1;\nval||\n/span||")},
        {"long table", QStringLiteral("<a href=\"#TP_id\">Last</a>"), longTable,
         QStringLiteral("span|title=\"Last : found at the end\"|tip:1;\nval||\n/span||")},
        {"empty links are dropped", QStringLiteral("<a href=\"x.htm\"></a><a href=\"#TP_i\"></a>t"), QString(),
         QStringLiteral("val||")},
        // Before, the link targets in-page links lead to were dropped too.
        {"empty link targets stay", QStringLiteral("<a name=\"x\"></a>t"), QString(),
         QStringLiteral("a|name=\"x\"|\n/a||\nval||")},
        {"other links stay", QStringLiteral("<a href=\"x.htm\">t</a>"), QString(),
         QStringLiteral("a|href=\"x.htm\"|\nval||\n/a||")},
        {"a tool tip without text ends the pass", QStringLiteral("<a href=\"#TP_i\"><img src=\"a\" alt=\"\"></a>"),
         QString(), QStringLiteral("a|href=\"#TP_i\"|\nimg|src=\"a\" alt=\"\"|\n/a||")},
    };
    for (const TipRow& row : rows) {
        ElementList list = parsed(row.body);
        TipsToSpans(list, tipStyle, row.table);
        EXPECT_EQ(kept(list), row.expected) << row.what;
    }
}

TEST(AttrsToStyles, MovesPresentationAttributesByTag)
{
    const Row rows[] = {
        {"div align", QStringLiteral("<p align=\"center\" style=\"x:1;\">"),
         QStringLiteral("div||x:1; text-align:center;")},
        {"cell attributes in order",
         QStringLiteral("<td bgcolor=\"#FF0000\" valign=\"top\" align=\"right\" width=\"5\">"),
         QStringLiteral("td|width=\"5\"|text-align:right; vertical-align:top; background-color:#FF0000;")},
        {"list types", QStringLiteral("<ul type=\"disc\"><li type=\"square\"><ol type=\"a\">"),
         QStringLiteral("ul||list-style-type:disc;\nli||list-style-type:square;\nol|type=\"a\"|")},
        {"table untouched", QStringLiteral("<table align=\"center\">"), QStringLiteral("table|align=\"center\"|")},
    };
    for (const Row& row : rows) {
        ElementList list = parsed(row.body);
        AttrsToStyles(list);
        EXPECT_EQ(kept(list), row.expected) << row.what;
    }
}

TEST(PruneEmpty, DropsEmptySpansAndDivisionsOnly)
{
    const Row rows[] = {
        {"empty span and division", QStringLiteral("<p><span style=\"a:1;\"></span></p><p></p><p>t</p>"),
         QStringLiteral("div||\n/div||\ndiv||\nval||\n/div||")},
        // Before the fix a paragraph whose text began with "?" was deleted.
        {"text beginning with a question mark is kept", QStringLiteral("<p>?</p><p>?why</p>"),
         QStringLiteral("div||\nval||\n/div||\ndiv||\nval||\n/div||")},
        {"a line break is content", QStringLiteral("<p><br /></p>"), QStringLiteral("div||\nbr||\n/div||")},
        {"nested empty spans: the inner one goes",
         QStringLiteral("<span><span></span></span>"), QStringLiteral("span||\n/span||")},
    };
    for (const Row& row : rows) {
        ElementList list = parsed(row.body);
        PruneEmpty(list);
        EXPECT_EQ(kept(list), row.expected) << row.what;
    }
}

TEST(FindHeadings, RenamesIndentedDivisionsInHeadingSizes)
{
    const std::array<int, 3> sizes{14, 12, 11};
    struct HeadingRow {
        const char* style;
        const char* open;
        const char* close;
    };
    const HeadingRow rows[] = {
        {"margin-left:6pt;font-size:14pt;", "h1", "</h1>"},
        {"margin-left:8pt;font-size:20pt;", "h1", "</h1>"},
        {"margin-left:8pt;font-size:13pt;", "h3", "</h3>"},
        {"margin-left:8pt;font-size:11pt;", "h5", "</h5>"},
        {"margin-left:8pt;font-size:10pt;", "div", "</div>"},
        {"margin-left:5pt;font-size:14pt;", "div", "</div>"},
        {"margin-left:5.5pt;font-size:14pt;", "h1", "</h1>"},     // rounds to 6
        {"margin-left:5.4pt;font-size:14pt;", "div", "</div>"},
        {"margin-left: 7.5pt; font-size: 14.4pt;", "h1", "</h1>"},
        {"font-size:14pt;", "div", "</div>"},
    };
    for (const HeadingRow& row : rows) {
        ElementList list = parsed(QStringLiteral("<p style=\"%1\">t</p>").arg(QLatin1String(row.style)));
        FindHeadings(list, sizes);
        EXPECT_EQ(list[0].name, QLatin1String(row.open)) << row.style;
        EXPECT_EQ(list[2].raw, QLatin1String(row.close)) << row.style;
    }
}

TEST(FindHeadings, ContinuesBehindEachCandidate)
{
    ElementList list = parsed(QStringLiteral(
        "<p style=\"margin-left:8pt;font-size:10pt;\">a</p><p style=\"margin-left:8pt;font-size:14pt;\">b</p>"
        "<p>c</p><p style=\"margin-left:8pt;font-size:12pt;\">d</p>"));
    FindHeadings(list, {14, 12, 11});
    QStringList names;
    for (const HtmElement& e : list)
        names << e.name;
    EXPECT_EQ(names.join(u' '), QStringLiteral("div val /div h1 val /h1 div val /div h3 val /h3"));
}

TEST(SetLevels, LevelsByName)
{
    ElementList list = parsed(QStringLiteral(
        "<body><table><tr><td><p><span><a href=\"x\"><img src=\"i\" alt=\"\"><br />t</a></span></p></td></tr>"
        "</table><ul><li></li></ul><h1></h1>"));
    SetLevels(list);
    QStringList levels;
    for (const HtmElement& e : list)
        levels << e.name + u'=' + QString::number(e.level);
    EXPECT_EQ(levels.join(u' '),
              QStringLiteral("body=0 table=1 tr=2 td=3 div=1 span=4 a=4 img=4 br=-1 val=-1 /a=-1 /span=-1 /div=1 "
                             "/td=-1 /tr=-1 /table=1 ul=2 li=3 /li=-1 /ul=2 h1=2 /h1=-1"));
}

} // namespace
