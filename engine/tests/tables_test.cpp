// Tables through the engine: numbering, cell addressing and text, the caret's
// cell, row and column edits, splitting, deleting and the can-* states.
#include "engine/textengine.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

using namespace Qt::StringLiterals;

// A paragraph, then a 3 × 2 table whose cells read "r<row>c<column>".
class TablesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine.setPlainText(QStringLiteral("before"));
        engine.setSelection(6, 0);
        table = engine.insertTable(3, 2);
        for (int row = 1; row <= 3; ++row) {
            for (int column = 1; column <= 2; ++column)
                engine.setCellText({table, row, column}, QStringLiteral("r%1c%2").arg(row).arg(column));
        }
    }

    void caretInto(int row, int column)
    {
        engine.setSelection(engine.cellFirstPosition({table, row, column}) - 1, 0);
    }

    QStringList column(int tableNumber, int columnNumber) const
    {
        QStringList texts;
        for (int row = 1; row <= engine.tableRows(tableNumber); ++row)
            texts.append(engine.cellText({tableNumber, row, columnNumber}));
        return texts;
    }

    TextEngine engine;
    int table = 0;
};

TEST_F(TablesTest, InsertedTableIsNumberedAndAddressable)
{
    EXPECT_EQ(table, 1);
    EXPECT_EQ(engine.tableCount(), 1);
    EXPECT_EQ(engine.tableRows(1), 3);
    EXPECT_EQ(engine.tableColumns(1), 2);
    EXPECT_EQ(engine.cellText({1, 2, 2}), QStringLiteral("r2c2"));
    EXPECT_EQ(engine.cellText({1, 4, 1}), QString()) << "out of range";
    EXPECT_EQ(engine.cellText({2, 1, 1}), QString());
}

TEST_F(TablesTest, CellPositionsAreOneBasedAndLengthsCountCharacters)
{
    const int first = engine.cellFirstPosition({1, 1, 2});
    EXPECT_EQ(engine.cellLength({1, 1, 2}), 4);
    engine.setSelection(first - 1, engine.cellLength({1, 1, 2}));
    EXPECT_EQ(engine.selectedText(), QStringLiteral("r1c2"));
    engine.setCellText({1, 1, 2}, QString());
    EXPECT_EQ(engine.cellLength({1, 1, 2}), 0);
    EXPECT_EQ(engine.cellFirstPosition({1, 9, 9}), 0);
}

TEST_F(TablesTest, CellTextJoinsParagraphsWithCrLf)
{
    engine.setCellText({1, 1, 1}, QStringLiteral("one\ntwo"));
    EXPECT_EQ(engine.cellText({1, 1, 1}), QStringLiteral("one\r\ntwo"));
}

TEST_F(TablesTest, CaretReportsTableRowAndColumn)
{
    caretInto(3, 2);
    EXPECT_EQ(engine.tableAtCaret(), (CellAddress{1, 3, 2}));
    engine.setSelection(0, 0);
    EXPECT_EQ(engine.tableAtCaret(), CellAddress{});
}

TEST_F(TablesTest, RowsAndColumnsGoBeforeOrAfterTheCaret)
{
    caretInto(2, 1);
    ASSERT_TRUE(engine.insertTableRow(TableSide::Before));
    EXPECT_EQ(column(1, 1), (QStringList{u"r1c1"_s, u""_s, u"r2c1"_s, u"r3c1"_s}));
    caretInto(3, 1);
    ASSERT_TRUE(engine.insertTableRow(TableSide::After));
    EXPECT_EQ(column(1, 1), (QStringList{u"r1c1"_s, u""_s, u"r2c1"_s, u""_s, u"r3c1"_s}));

    caretInto(1, 1);
    ASSERT_TRUE(engine.insertTableColumn(TableSide::After));
    EXPECT_EQ(engine.tableColumns(1), 3);
    EXPECT_EQ(engine.cellText({1, 1, 2}), QString());
    EXPECT_EQ(engine.cellText({1, 1, 3}), QStringLiteral("r1c2"));
    caretInto(1, 1);
    ASSERT_TRUE(engine.insertTableColumn(TableSide::Before));
    EXPECT_EQ(engine.cellText({1, 1, 2}), QStringLiteral("r1c1"));
}

TEST_F(TablesTest, SplitAboveAndBelowTheCaretsRow)
{
    caretInto(2, 1);
    ASSERT_TRUE(engine.splitTable(TableSide::Before));
    ASSERT_EQ(engine.tableCount(), 2);
    EXPECT_EQ(column(1, 1), (QStringList{u"r1c1"_s}));
    EXPECT_EQ(column(2, 1), (QStringList{u"r2c1"_s, u"r3c1"_s}));
    EXPECT_EQ(column(2, 2), (QStringList{u"r2c2"_s, u"r3c2"_s}));

    engine.setSelection(engine.cellFirstPosition({2, 1, 1}) - 1, 0);
    ASSERT_TRUE(engine.splitTable(TableSide::After));
    ASSERT_EQ(engine.tableCount(), 3);
    EXPECT_EQ(column(2, 1), (QStringList{u"r2c1"_s}));
    EXPECT_EQ(column(3, 1), (QStringList{u"r3c1"_s}));
}

TEST_F(TablesTest, SplitThatWouldLeaveAnEmptyPartDoesNothing)
{
    caretInto(1, 1);
    EXPECT_FALSE(engine.splitTable(TableSide::Before));
    caretInto(3, 1);
    EXPECT_FALSE(engine.splitTable(TableSide::After));
    EXPECT_EQ(engine.tableCount(), 1);
    EXPECT_EQ(engine.tableRows(1), 3);
}

TEST_F(TablesTest, DeleteSelectedRowsAndTheWholeTable)
{
    caretInto(2, 2);
    ASSERT_TRUE(engine.deleteSelectedTableRows());
    EXPECT_EQ(column(1, 1), (QStringList{u"r1c1"_s, u"r3c1"_s}));

    const int start = engine.cellFirstPosition({1, 1, 1}) - 1;
    const int end = engine.cellFirstPosition({1, 2, 2}) - 1 + engine.cellLength({1, 2, 2});
    engine.setSelection(start, end - start);
    ASSERT_TRUE(engine.deleteSelectedTableRows());
    EXPECT_EQ(engine.tableCount(), 0) << "deleting every row removes the table";
    EXPECT_TRUE(engine.plainText().startsWith(QStringLiteral("before")));
}

TEST_F(TablesTest, DeleteTheCaretsColumn)
{
    caretInto(1, 1);
    ASSERT_TRUE(engine.deleteTableColumn());
    EXPECT_EQ(engine.tableColumns(1), 1);
    EXPECT_EQ(column(1, 1), (QStringList{u"r1c2"_s, u"r2c2"_s, u"r3c2"_s}));
}

TEST_F(TablesTest, StatesFollowTheCaret)
{
    caretInto(2, 1);
    EXPECT_FALSE(engine.canInsertTable());
    EXPECT_TRUE(engine.canInsertTableRow());
    EXPECT_TRUE(engine.canInsertTableColumn());
    EXPECT_TRUE(engine.canDeleteTableRows());
    EXPECT_TRUE(engine.canDeleteTableColumn());
    EXPECT_TRUE(engine.canSplitTable());

    engine.setSelection(0, 0);
    EXPECT_TRUE(engine.canInsertTable());
    EXPECT_FALSE(engine.canInsertTableRow());
    EXPECT_FALSE(engine.canInsertTableColumn());
    EXPECT_FALSE(engine.canDeleteTableRows());
    EXPECT_FALSE(engine.canDeleteTableColumn());
    EXPECT_FALSE(engine.canSplitTable());
    EXPECT_FALSE(engine.insertTableRow(TableSide::Before)) << "outside a table nothing happens";
    EXPECT_FALSE(engine.deleteTableColumn());
}

TEST(Tables, InsertRefusesImpossibleSizes)
{
    TextEngine engine;
    EXPECT_EQ(engine.insertTable(0, 3), 0);
    EXPECT_EQ(engine.insertTable(3, -1), 0);
    EXPECT_EQ(engine.insertTable(1000000, 1000000), 0);
    EXPECT_EQ(engine.insertTable(1, 64), 0);
    EXPECT_EQ(engine.insertTable(2, 63), 1);
    EXPECT_EQ(engine.tableCount(), 1);
}

TEST(Tables, NumbersFollowDocumentOrder)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("a\nb"));
    engine.setSelection(3, 0);
    engine.insertTable(1, 1);
    engine.setCellText({1, 1, 1}, QStringLiteral("second"));
    engine.setSelection(1, 0);
    EXPECT_EQ(engine.insertTable(1, 1), 1);
    engine.setCellText({1, 1, 1}, QStringLiteral("first"));
    EXPECT_EQ(engine.cellText({2, 1, 1}), QStringLiteral("second"));
}

} // namespace
} // namespace engine

namespace engine {
namespace {

TEST_F(TablesTest, TextSelectedAcrossCellsReadsEveryCell)
{
    const int start = engine.cellFirstPosition({1, 2, 1}) - 1;
    const int end = engine.cellFirstPosition({1, 2, 2}) - 1 + engine.cellLength({1, 2, 2});
    engine.setSelection(start, end - start);
    EXPECT_EQ(engine.selectedText(), QStringLiteral("r2c1\r\nr2c2"));
}

TEST(Tables, ColumnsCanBeGivenAWidthWhenInserted)
{
    TextEngine engine;
    EXPECT_EQ(engine.insertTable(2, 2, -1), 0);
    EXPECT_EQ(engine.insertTable(2, 2, Tables::kMaxColumnWidthTwips + 1), 0);
    ASSERT_EQ(engine.insertTable(2, 2, 1701), 1);
    EXPECT_EQ(engine.tableLook(TablePart::Table)->columnWidthTwips, 1701);
    engine.undo();
    EXPECT_EQ(engine.tableCount(), 0) << "one undo step";
}

} // namespace
} // namespace engine
