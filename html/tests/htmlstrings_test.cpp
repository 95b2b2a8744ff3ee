#include "html/htmlstrings.h"

#include "testsupport/printers.h"

#include <gtest/gtest.h>

using namespace html;

namespace {

struct EditRow {
    QString text;
    QString name;
    QString expected;
};

TEST(DropProp, RemovesOneDeclarationOrAttribute)
{
    const EditRow rows[] = {
        {QStringLiteral("color:red;font-size:9pt"), QStringLiteral("color"), QStringLiteral("font-size:9pt;")},
        {QStringLiteral("font-size:9pt;COLOR:red;"), QStringLiteral("color"), QStringLiteral("font-size:9pt;")},
        {QStringLiteral("font-size:9pt"), QStringLiteral("color"), QStringLiteral("font-size:9pt;")},
        // Before the fix the search hit the "color:" inside background-color and
        // left "background-" glued to the next declaration.
        {QStringLiteral("background-color:#fff;color:red;"), QStringLiteral("color"),
         QStringLiteral("background-color:#fff;")},
        {QStringLiteral("background-color:#fff;"), QStringLiteral("color"), QStringLiteral("background-color:#fff;")},
        {QStringLiteral("a:1; color:red; b:2;"), QStringLiteral("color"), QStringLiteral("a:1; b:2;")},
        {QStringLiteral("src=\"a.png\" title=\"x y\" alt=\"\""), QStringLiteral("title"),
         QStringLiteral("src=\"a.png\" alt=\"\"")},
        {QStringLiteral("border=\"1\" cols=\"3\""), QStringLiteral("cols"), QStringLiteral("border=\"1\" ")},
        {QStringLiteral("data-title=\"x\""), QStringLiteral("title"), QStringLiteral("data-title=\"x\"")},
        {QStringLiteral("title=\"unterminated"), QStringLiteral("title"), QString()},
        {QString(), QStringLiteral("color"), QString()},
    };
    for (const EditRow& row : rows) {
        QString text = row.text;
        DropProp(text, row.name);
        EXPECT_EQ(text, row.expected) << qPrintable(row.text);
    }
}

TEST(MergeStyle, AppendsOnlyMissingDeclarations)
{
    struct Row {
        QString target;
        QString source;
        QString expected;
    };
    const Row rows[] = {
        {QString(), QStringLiteral("font-size:10pt;color:#000000;"), QStringLiteral(";font-size:10pt;color:#000000;")},
        {QStringLiteral("margin-left:6pt"), QStringLiteral("line-height:120%;font-size:10pt"),
         QStringLiteral("margin-left:6pt;font-size:10pt;")},
        {QStringLiteral("background-color:#ff0;"), QStringLiteral("color:#000;"), QStringLiteral("background-color:#ff0;")},
        {QStringLiteral("FONT-SIZE:12pt;"), QStringLiteral("font-size:10pt;font-family:'A'"),
         QStringLiteral("FONT-SIZE:12pt;font-family:'A';")},
        {QStringLiteral("a:1;"), QStringLiteral("garbage;b:2;b:3;"), QStringLiteral("a:1;b:2;")},
    };
    for (const Row& row : rows) {
        QString target = row.target;
        MergeStyle(target, row.source);
        EXPECT_EQ(target, row.expected) << qPrintable(row.target) << " + " << qPrintable(row.source);
    }
}

TEST(AttrToCss, MovesAttributeValuesIntoTheStyle)
{
    struct Row {
        QString attributes;
        QString style;
        QString name;
        QString property;
        QString expectedAttributes;
        QString expectedStyle;
    };
    const Row rows[] = {
        {QStringLiteral("align=\"center\""), QString(), QStringLiteral("align"), QStringLiteral("text-align"),
         QString(), QStringLiteral("text-align:center;")},
        {QStringLiteral(" width=\"50\" align= \"right\" "), QStringLiteral("color:red;"), QStringLiteral("align"),
         QStringLiteral("text-align"), QStringLiteral("width=\"50\""), QStringLiteral("color:red; text-align:right;")},
        {QStringLiteral("valign=\"top\""), QString(), QStringLiteral("align"), QStringLiteral("text-align"),
         QStringLiteral("valign=\"top\""), QString()},
        // A prefix test: alignment matches align.
        {QStringLiteral("alignment=\"x\""), QString(), QStringLiteral("align"), QStringLiteral("text-align"),
         QString(), QStringLiteral("text-align:x;")},
        {QStringLiteral("BGCOLOR=\"#FFFF00\" title=\"a b\""), QString(), QStringLiteral("bgcolor"),
         QStringLiteral("background-color"), QStringLiteral("title=\"a b\""),
         QStringLiteral("background-color:#FFFF00;")},
        {QStringLiteral("border=\"1\""), QStringLiteral("  x:1;  "), QStringLiteral("align"),
         QStringLiteral("text-align"), QStringLiteral("border=\"1\""), QStringLiteral("x:1;")},
    };
    for (const Row& row : rows) {
        QString attributes = row.attributes;
        QString style = row.style;
        AttrToCss(attributes, style, row.name, row.property);
        EXPECT_EQ(attributes, row.expectedAttributes) << qPrintable(row.attributes);
        EXPECT_EQ(style, row.expectedStyle) << qPrintable(row.attributes);
    }
}

TEST(FillMarks, ReplacesMarksInTurn)
{
    EXPECT_EQ(FillMarks(QStringLiteral("margin: ?px ?px ?px ?px;"),
                        {QStringLiteral("7"), QStringLiteral("0"), QStringLiteral("6"), QStringLiteral("8")}),
              QStringLiteral("margin: 7px 0px 6px 8px;"));
    // A value's own marks are removed, so they never take a later value.
    EXPECT_EQ(FillMarks(QStringLiteral("? and ?"), {QStringLiteral("a?"), QStringLiteral("b")}),
              QStringLiteral("a and b"));
    EXPECT_EQ(FillMarks(QStringLiteral("[?][?]"), {QString()}), QStringLiteral("[][?]"));
    EXPECT_EQ(FillMarks(QStringLiteral("none"), {QStringLiteral("x")}), QStringLiteral("none"));
}

TEST(SRgbHex, WritesRedGreenBlue)
{
    const std::pair<quint32, const char*> rows[] = {
        {0x563412, "123456"}, {255, "FF0000"}, {0, "000000"},
        {0xFF8080, "8080FF"}, {0x80000005, "050000"}, {0xFFFFFFFF, "FFFFFF"},
    };
    for (const auto& [colour, hex] : rows)
        EXPECT_EQ(sRgbHex(colour), QLatin1String(hex)) << colour;
}

// Control characters and lone surrogates from a document, a title or a tool
// tip used to reach the file, which then was no valid HTML 4.01.
TEST(ValidHtmlText, DropsControlsAndReplacesNonCharacters)
{
    const QString pair = QString::fromUcs4(U"\U0001F600");
    const struct {
        QString text;
        QString expected;
    } rows[] = {
        {QStringLiteral("a\tb\r\nc"), QStringLiteral("a\tb\r\nc")},
        {QString(QChar(0)) + QChar(0x1F) + u'a' + QChar(0x7F) + QChar(0x80) + QChar(0x9F) + QChar(0xA0),
         QStringLiteral("a\u00A0")},
        {QString(QChar(0xFFFE)) + QChar(0xFFFF) + QChar(0xFFFD), QStringLiteral("\uFFFD\uFFFD\uFFFD")},
        {QString(QChar(0xD800)) + u'x' + QChar(0xDC00) + pair + QChar(0xD83D), QStringLiteral("\uFFFDx\uFFFD") + pair + QStringLiteral("\uFFFD")},
    };
    for (const auto& row : rows)
        EXPECT_EQ(validHtmlText(row.text), row.expected) << row.text.toStdString();
}

} // namespace
