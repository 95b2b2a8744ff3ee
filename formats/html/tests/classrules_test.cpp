#include "formats/html/classrules.h"

#include "formats/html/tests/formatstest.h"

using namespace formats;

namespace {

TEST(ClassRules, GiveTheDeclarationsOfAnElementsClasses)
{
    ClassRules rules;
    rules.add(u"/* comment div.di01 {x:1} */\r\n"
              "    body {a:1;}\r\n    a:hover {b:2;}\r\n    div p {c:3;}\r\n"
              "    div.di01 {margin-left:3pt;}\r\n    P.P01 {text-indent:1pt}\r\n"
              "    .note, span.sp01 {color:red;}\r\n    div.di01 {font-size:10pt;}\r\n    div.empty {}\r\n");
    const struct {
        QString tag;
        QString classes;
        QString declarations;
    } rows[] = {
        {QStringLiteral("div"), QStringLiteral("di01"), QStringLiteral("margin-left:3pt;font-size:10pt;")},
        {QStringLiteral("p"), QStringLiteral("P01"), QStringLiteral("text-indent:1pt")},
        {QStringLiteral("p"), QStringLiteral("p01"), QString()},
        {QStringLiteral("span"), QStringLiteral("sp01"), QStringLiteral("color:red;")},
        {QStringLiteral("td"), QStringLiteral(" note "), QStringLiteral("color:red;")},
        {QStringLiteral("div"), QStringLiteral("note di01"), QStringLiteral("color:red;margin-left:3pt;font-size:10pt;")},
        {QStringLiteral("span"), QStringLiteral("note sp01"), QStringLiteral("color:red;color:red;")},
        {QStringLiteral("div"), QStringLiteral("empty"), QString()},
        {QStringLiteral("body"), QString(), QString()},
    };
    for (const auto& row : rows)
        EXPECT_EQ(rules.declarationsFor(row.tag, row.classes), row.declarations) << row.tag.toStdString() << "."
                                                                                   << row.classes.toStdString();
}

TEST(ClassRules, AnUnclosedRuleRunsToTheEnd)
{
    ClassRules rules;
    rules.add(u"div.a {x:1");
    EXPECT_EQ(rules.declarationsFor(QStringLiteral("div"), u"a"), QStringLiteral("x:1"));
}

TEST(ClassRules, OnlyASheetOfTagAndClassRulesCascadesHere)
{
    const auto cascades = [](std::initializer_list<const char16_t*> sheets) {
        ClassRules rules;
        for (const char16_t* sheet : sheets)
            rules.add(sheet);
        return rules.cascades();
    };
    EXPECT_TRUE(cascades({u"<!-- p, CODE {a:1} .x {b:2} /* div p {c:3} */ span.y {} -->"}));
    for (const char16_t* sheet : {u"div p {a:1}", u"a:hover {a:1}", u"#id {a:1}", u"* {a:1}", u"p {a:1 !important}",
                                  u"@media print { p {a:1} }", u"p {a:1", u"p {a:1} q", u"body {a:1}", u"html.x {a:1}",
                                  u"p.a.b {a:1}", u"p[align] {a:1}"})
        EXPECT_FALSE(cascades({sheet})) << QString::fromUtf16(sheet).toStdString();
    EXPECT_FALSE(cascades({u"p {a:1}", u"q {b:2}"}));
}

TEST(ClassRules, TheCascadeOrdersByKindOfSelectorThenByPlace)
{
    ClassRules rules;
    rules.add(u"span.k {a:1} .k {b:2} span {c:3} .j {d:4} SPAN {e:5}");
    EXPECT_EQ(rules.cascadeFor(QStringLiteral("span"), u"j k"), QStringLiteral("c:3;e:5;b:2;d:4;a:1"));
    EXPECT_EQ(rules.cascadeFor(QStringLiteral("b"), u"k"), QStringLiteral("b:2"));
    EXPECT_EQ(rules.cascadeFor(QStringLiteral("span"), u""), QStringLiteral("c:3;e:5"));
}

} // namespace
