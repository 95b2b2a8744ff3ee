#include "html/fontfamilies.h"

#include "testsupport/printers.h"

#include <gtest/gtest.h>

using namespace html;

namespace {

TEST(GenericFamily, ToldFromTheFontsName)
{
    const struct {
        const char16_t* name;
        const char* generic;
    } rows[] = {
        {u"ＭＳ Ｐゴシック", "sans-serif"}, {u"ＭＳ 明朝", "serif"},         {u"ﾋﾗｷﾞﾉ角ｺﾞｼｯｸ", "sans-serif"},
        {u"IPAexMincho", "serif"},          {u"Noto Serif CJK JP", "serif"}, {u"Sans Serif", "sans-serif"},
        {u"DejaVu Sans Mono", "monospace"}, {u"Courier New", "monospace"},  {u"ＭＳ ゴシック 等幅", "monospace"},
        {u"Times New Roman", "serif"},      {u"メイリオ", "sans-serif"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(genericFamily(QStringView(row.name)), QString::fromLatin1(row.generic)) << QString::fromUtf16(row.name).toStdString();
}

TEST(FamilyList, QuotesNamesKeepsTheirOrderAndEndsInAGenericFamily)
{
    const struct {
        QStringList names;
        QString list;
    } rows[] = {
        {{QStringLiteral("ＭＳ ゴシック")}, QStringLiteral("'ＭＳ ゴシック', sans-serif")},
        {{QStringLiteral("ＭＳ 明朝"), QStringLiteral("Arial")}, QStringLiteral("'ＭＳ 明朝', 'Arial', serif")},
        {{QStringLiteral("Helvetica"), QStringLiteral("Serif"), QStringLiteral("Arial")},
         QStringLiteral("'Helvetica', serif, 'Arial'")},
        {{QStringLiteral("it's\"; x")}, QStringLiteral("'its x', sans-serif")},
        {{}, QString()},
    };
    for (const auto& row : rows)
        EXPECT_EQ(familyList(row.names), row.list) << row.names.join(u'|').toStdString();
}

TEST(WithGenericFamilies, RewritesOnlyTheFontFamilyDeclarations)
{
    const struct {
        QString style;
        QString expected;
    } rows[] = {
        {QStringLiteral("margin-left:3pt;font-family:'ＭＳ 明朝';font-size:10pt;"),
         QStringLiteral("margin-left:3pt;font-family:'ＭＳ 明朝', serif;font-size:10pt;")},
        {QStringLiteral(";Font-Family: \"A, B\" , Courier,monospace"), QStringLiteral(";Font-Family:'A, B', 'Courier', monospace")},
        {QStringLiteral("font-family:'X', sans-serif;"), QStringLiteral("font-family:'X', sans-serif;")},
        {QStringLiteral("color:red;font-family:;"), QStringLiteral("color:red;font-family:;")},
    };
    for (const auto& row : rows)
        EXPECT_EQ(withGenericFamilies(row.style), row.expected) << row.style.toStdString();
}

} // namespace
