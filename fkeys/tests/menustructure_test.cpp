#include "fkeys/keybindings.h"
#include "fkeys/menustructure.h"
#include "fkeys/parentindex.h"
#include "fkeys/structuretable.h"

#include <gtest/gtest.h>

using fkeys::MenuCode;
using fkeys::MenuParent;

namespace {

QString parentsAsText(const QString& structure)
{
    QStringList lines;
    for (const MenuParent& p : fkeys::parseMenuStructure(structure))
        lines << p.code + u':' + p.descendants.join(u',');
    return lines.join(u' ');
}

struct StructureRow {
    const char16_t* structure;
    const char16_t* parents;   // "code:descendants" per parent, in order
};

class MenuStructureParse : public ::testing::TestWithParam<StructureRow> {};

TEST_P(MenuStructureParse, ListsEveryParentWithAllItsDescendants)
{
    const StructureRow row = GetParam();
    EXPECT_EQ(parentsAsText(QString::fromUtf16(row.structure)), QString::fromUtf16(row.parents));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MenuStructureParse,
    ::testing::Values(
        StructureRow{u"", u""},
        StructureRow{u"10,11,12", u""},
        StructureRow{u"00,10(20,21,22,23),12(70,71,72),80", u"10:20,21,22,23 12:70,71,72"},
        StructureRow{u"10(20,21,22),11(A0,A1,A2,A3),12", u"10:20,21,22 11:A0,A1,A2,A3"},
        // A nested parent is a parent itself, and its children also belong to the outer one.
        StructureRow{u"12(30,36(40,41),37),14(60)", u"12:30,36,40,41,37 36:40,41 14:60"},
        // A group never closed runs to the end of the string.
        StructureRow{u"10(20,25),11(C0,C3(D0,D1),12(A0,A1),13",
                     u"10:20,25 11:C0,C3,D0,D1,12,A0,A1,13 C3:D0,D1 12:A0,A1"},
        StructureRow{u"12(00(00,01),13(00,01),80(74),81",
                     u"12:00,00,01,13,00,01,80,74,81 00:00,01 13:00,01 80:74"},
        // Stray ")" and a "(" without a code before it do not lose children.
        StructureRow{u"10(20)),11((30,31),32)", u"10:20 11:30,31,32"},
        StructureRow{u" 10 ( 20 , 21 ) ", u"10:20,21"}));

TEST(MenuStructure, DeepNestingStaysBoundedAndKeepsEveryCode)
{
    QString structure;
    for (int i = 0; i < 5000; ++i)
        structure += QStringLiteral("20(");
    structure += QStringLiteral("21");
    const auto parents = fkeys::parseMenuStructure(structure);
    ASSERT_EQ(parents.size(), fkeys::kMaxMenuNesting);
    // The outermost parent still sees the innermost code.
    EXPECT_EQ(parents.first().descendants.last(), QStringLiteral("21"));
    EXPECT_EQ(parents.first().descendants.size(), 5000);
}

TEST(StructureTable, FindsFormsExactlyAndNeverTheMainWindow)
{
    EXPECT_EQ(fkeys::structureString(QStringLiteral("fmCard")),
              QStringLiteral("10(20,21,22),11(A0,A1,A2,A3),12"));
    EXPECT_EQ(fkeys::structureString(QStringLiteral("fmAdrs")),
              fkeys::structureString(QStringLiteral("fmAdrsList")));
    EXPECT_FALSE(fkeys::structureString(QStringLiteral("fmAdrs")).isEmpty());
    EXPECT_EQ(fkeys::structureString(QStringLiteral("fmcard")), QString());
    EXPECT_EQ(fkeys::structureString(QStringLiteral("fmDoc")), QString());
    EXPECT_EQ(fkeys::structureString(QString()), QString());
}

TEST(KeyBindings, BindingAKeyAgainKeepsOnlyTheSecond)
{
    fkeys::KeyBindings bindings;
    bindings.bind(QStringLiteral("F2"), {5, 0});
    bindings.bind(QStringLiteral("F3"), {5, 1});
    bindings.bind(QStringLiteral("F2"), {2, 1});
    EXPECT_EQ(bindings.all().size(), 2);
    EXPECT_EQ(bindings.codeOf(QStringLiteral("F2")), (MenuCode{2, 1}));
    EXPECT_TRUE(bindings.keysBoundTo({5, 0}).isEmpty());
    EXPECT_FALSE(bindings.codeOf(QStringLiteral("F4")).has_value());
}

TEST(ParentIndex, CollectsTheKeysBoundBelowEachParent)
{
    fkeys::KeyBindings bindings;
    bindings.bind(QStringLiteral("F2"), {2, 0});
    bindings.bind(QStringLiteral("F3"), {2, 1});
    bindings.bind(QStringLiteral("C1"), {4, 1});
    bindings.bind(QStringLiteral("F9"), {7, 0});
    fkeys::ParentIndex index;
    index.build(QStringLiteral("10(20,21,22),11(30,31(41,42)),12(70),13(99)"), bindings);
    EXPECT_EQ(index.keysUnder({1, 0}), (QStringList{QStringLiteral("F2"), QStringLiteral("F3")}));
    EXPECT_EQ(index.keysUnder({1, 1}), QStringList{QStringLiteral("C1")});
    EXPECT_EQ(index.keysUnder({3, 1}), QStringList{QStringLiteral("C1")});
    EXPECT_EQ(index.keysUnder({1, 2}), QStringList{QStringLiteral("F9")});
    // A parent with no bound child gets no entry.
    EXPECT_TRUE(index.keysUnder({1, 3}).isEmpty());
    index.build(QString(), bindings);
    EXPECT_TRUE(index.isEmpty());
}

TEST(ParentIndex, AParentHeadingTwoGroupsGetsTheKeysOfBoth)
{
    fkeys::KeyBindings bindings;
    bindings.bind(QStringLiteral("F2"), {2, 0});
    bindings.bind(QStringLiteral("F3"), {2, 1});
    fkeys::ParentIndex index;
    index.build(QStringLiteral("10(20),11(21),10(21,20)"), bindings);
    EXPECT_EQ(index.keysUnder({1, 0}), (QStringList{QStringLiteral("F2"), QStringLiteral("F3")}));
}

} // namespace
