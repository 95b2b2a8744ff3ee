#include "html/passes.h"

#include "testsupport/printers.h"

#include <gtest/gtest.h>

using namespace html;

namespace {

TEST(ClassTable, SameTagAndStyleShareAClass)
{
    ClassTable table;
    const QString a = QStringLiteral("text-align:center;");
    EXPECT_EQ(table.MakeClass(QStringLiteral("div"), a), QStringLiteral("di01"));
    EXPECT_EQ(table.MakeClass(QStringLiteral("div"), a), QStringLiteral("di01"));
    EXPECT_EQ(table.MakeClass(QStringLiteral("div"), QStringLiteral("color:red;")), QStringLiteral("di02"));
    EXPECT_EQ(table.MakeClass(QStringLiteral("span"), a), QStringLiteral("sp01"));
    EXPECT_EQ(table.MakeClass(QStringLiteral("a"), a), QStringLiteral("a01"));
    EXPECT_EQ(table.MakeClass(QStringLiteral("h1"), a), QStringLiteral("h101"));
    // Doubled spaces do not make a new class; another order of declarations does.
    EXPECT_EQ(table.MakeClass(QStringLiteral("div"), QStringLiteral("a:1;  b:2;")), QStringLiteral("di03"));
    EXPECT_EQ(table.MakeClass(QStringLiteral("div"), QStringLiteral("a:1; b:2;")), QStringLiteral("di03"));
    EXPECT_EQ(table.MakeClass(QStringLiteral("div"), QStringLiteral("b:2; a:1;")), QStringLiteral("di04"));
    // Styles are compared as text: letter case does not matter.
    EXPECT_EQ(table.MakeClass(QStringLiteral("div"), QStringLiteral("COLOR:RED;")), QStringLiteral("di02"));
    EXPECT_EQ(table.MakeClass(QStringLiteral("### x"), a), QString());
}

TEST(ClassTable, MoreThanNinetyNineClassesKeepTheirNumbers)
{
    ClassTable table;
    for (int i = 1; i <= 101; ++i)
        table.MakeClass(QStringLiteral("td"), QStringLiteral("width:%1px;").arg(i));
    // Before the fix a repeated style of class 100 was named td00 and its rule
    // was written as td.td00.
    EXPECT_EQ(table.MakeClass(QStringLiteral("td"), QStringLiteral("width:100px;")), QStringLiteral("td100"));
    const QString rules = table.ClassRules();
    EXPECT_TRUE(rules.contains(QStringLiteral("    td.td100 {width:100px;}\r\n")));
    EXPECT_TRUE(rules.contains(QStringLiteral("    td.td101 {width:101px;}\r\n")));
    EXPECT_LT(rules.indexOf(QStringLiteral("td.td99 ")), rules.indexOf(QStringLiteral("td.td100 ")));
    EXPECT_EQ(rules.count(QStringLiteral("\r\n")), 101);
}

TEST(ClassTable, RulesAreSortedBySelector)
{
    ClassTable table;
    table.MakeClass(QStringLiteral("td"), QStringLiteral("b:1;"));
    table.MakeClass(QStringLiteral("span"), QStringLiteral("  s:1;  "));
    table.MakeClass(QStringLiteral("td"), QStringLiteral("a:1;"));
    table.MakeClass(QStringLiteral("div"), QStringLiteral("d:1; text-align:center;"));
    EXPECT_EQ(table.ClassRules(),
              QStringLiteral("    div.di01 {d:1; text-align:center;}\r\n"
                             "    span.sp01 {s:1;}\r\n"
                             "    td.td01 {b:1;}\r\n"
                             "    td.td02 {a:1;}\r\n"));
    EXPECT_EQ(ClassTable().ClassRules(), QString());
}

TEST(AssignClasses, StyledOpeningTagsAndPicturesOnly)
{
    ElementList list = ParseElements(QStringLiteral("<p style=\"a:1;\">t<img src=\"i\" alt=\"\" style=\"w:1;\">"
                                                    "<br style=\"x:1;\"></p><p style=\"a:1;\">u</p><span></span>"),
                                     {QStringLiteral("F"), 1.2f, QString()});
    list[5].removed = true;   // a removed element gets no class
    ClassTable table;
    AssignClasses(list, table);
    QStringList classes;
    for (const HtmElement& e : list)
        classes << e.name + u'=' + e.cls;
    EXPECT_EQ(classes.join(u' '), QStringLiteral("div=di01 val= img=im01 br= /div= div= val= /div= span= /span="));
}

} // namespace
