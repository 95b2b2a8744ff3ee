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

} // namespace
