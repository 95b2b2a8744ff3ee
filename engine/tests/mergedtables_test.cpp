// Tables with merged cells, as Word and RTF files bring them, through every
// table edit: the result is a well-formed table whose cells keep their text
// in their columns, and one undo brings the document back exactly.
#include "engine/tables.h"
#include "engine/textengine.h"
#include "engine/tests/snapshotdump.h"

#include <QTextCursor>
#include <QTextTable>
#include <functional>
#include <gtest/gtest.h>

namespace engine {
namespace {

using namespace Qt::StringLiterals;

// "before", then a 4 × 3 table whose cells read "r<row>c<column>" (0-based),
// with the block of rows 1-2 and columns 1-2 merged into one cell.
class MergedTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine.setPlainText(u"before"_s);
        engine.setSelection(6, 0);
        ASSERT_EQ(engine.insertTable(4, 3), 1);
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 3; ++column)
                engine.setCellText({1, row + 1, column + 1}, u"r%1c%2"_s.arg(row).arg(column));
        }
        table(1)->mergeCells(1, 1, 2, 2);
        original = snapshottest::dump(*engine.document());
    }

    QTextTable* table(int number) const
    {
        QTextCursor cursor(engine.document());
        cursor.setPosition(engine.cellFirstPosition({number, 1, 1}) - 1);
        return cursor.currentTable();
    }

    // Puts the caret into the cell covering (row, column), 0-based.
    void caretAt(int row, int column, int number = 1)
    {
        engine.setSelection(table(number)->cellAt(row, column).firstPosition(), 0);
    }

    std::string dump() const { return snapshottest::dump(*engine.document()); }

    // The cell at (row, column), 0-based: its text and its span.
    QString cellLook(int number, int row, int column) const
    {
        const QTextTableCell cell = table(number)->cellAt(row, column);
        const QString text = engine.cellText({number, cell.row() + 1, cell.column() + 1});
        return u"%1 %2x%3"_s.arg(text).arg(cell.rowSpan()).arg(cell.columnSpan());
    }

    TextEngine engine;
    std::string original;
};

// Every grid place is covered by the one cell whose rectangle holds it, and
// cells follow each other in the text as they do in reading order.
void expectWellFormed(const QTextTable& table)
{
    int previous = -1;
    for (int row = 0; row < table.rows(); ++row) {
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            ASSERT_TRUE(cell.isValid()) << row << "," << column;
            EXPECT_TRUE(cell.row() <= row && row < cell.row() + cell.rowSpan()) << row << "," << column;
            EXPECT_TRUE(cell.column() <= column && column < cell.column() + cell.columnSpan()) << row << "," << column;
            if (cell.row() == row && cell.column() == column) {
                EXPECT_GT(cell.firstPosition(), previous) << "cell " << row << "," << column << " out of order";
                previous = cell.firstPosition();
            }
        }
    }
}

// Merges side by side, one above the other and one in the last column: a
// cell starts exactly where its own row and column say.
TEST_F(MergedTable, ACellStartsWhereItsRowAndColumnAre)
{
    table(1)->mergeCells(0, 0, 1, 2);
    table(1)->mergeCells(3, 0, 1, 3);
    int starts = 0;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QTextTableCell cell = table(1)->cellAt(row, column);
            SCOPED_TRACE(std::to_string(row) + "," + std::to_string(column));
            EXPECT_EQ(cellStartsAt(*table(1), row, column), cell.row() == row && cell.column() == column);
            starts += cellStartsAt(*table(1), row, column) ? 1 : 0;
        }
    }
    // r0c0-r0c1, r0c2, r1c0, the block, r2c0, the last row.
    EXPECT_EQ(starts, 6);
    EXPECT_FALSE(cellStartsAt(*table(1), 4, 0));
}

TEST_F(MergedTable, ARowInsertedThroughAMergeLengthensIt)
{
    caretAt(1, 0);
    ASSERT_TRUE(engine.insertTableRow(TableSide::After));
    expectWellFormed(*table(1));
    EXPECT_EQ(engine.tableRows(1), 5);
    EXPECT_EQ(table(1)->cellAt(1, 1).rowSpan(), 3);
    EXPECT_EQ(cellLook(1, 2, 0), u" 1x1"_s);
    EXPECT_EQ(cellLook(1, 3, 0), u"r2c0 1x1"_s);
    engine.undo();
    EXPECT_EQ(dump(), original);
}

TEST_F(MergedTable, BelowAMergedCellMeansBelowItsLastRow)
{
    caretAt(1, 1);
    ASSERT_TRUE(engine.insertTableRow(TableSide::After));
    expectWellFormed(*table(1));
    EXPECT_EQ(table(1)->cellAt(1, 1).rowSpan(), 2);
    EXPECT_EQ(cellLook(1, 3, 1), u" 1x1"_s);
    EXPECT_EQ(cellLook(1, 4, 1), u"r3c1 1x1"_s);
    engine.undo();
    EXPECT_EQ(dump(), original);

    caretAt(1, 1);
    ASSERT_TRUE(engine.insertTableColumn(TableSide::After));
    expectWellFormed(*table(1));
    EXPECT_EQ(table(1)->cellAt(1, 1).columnSpan(), 2);
    EXPECT_EQ(cellLook(1, 0, 3), u" 1x1"_s);
    EXPECT_EQ(cellLook(1, 0, 2), u"r0c2 1x1"_s);
    engine.undo();
    EXPECT_EQ(dump(), original);
}

TEST_F(MergedTable, DeletingAColumnAMergeSpansNarrowsIt)
{
    caretAt(0, 2);
    ASSERT_TRUE(engine.deleteTableColumn());
    expectWellFormed(*table(1));
    EXPECT_EQ(engine.tableColumns(1), 2);
    EXPECT_EQ(table(1)->cellAt(1, 1).rowSpan(), 2);
    EXPECT_EQ(table(1)->cellAt(1, 1).columnSpan(), 1);
    EXPECT_TRUE(cellLook(1, 1, 1).startsWith(u"r1c1"_s));
    engine.undo();
    EXPECT_EQ(dump(), original);
}

// Before, deleting the row a merged cell starts in left that cell ahead of
// the next row's first cell, so the row read "merged | r2c0" instead of
// "r2c0 | merged".
TEST_F(MergedTable, DeletingTheRowAMergeStartsInKeepsTheMergeInItsColumns)
{
    caretAt(1, 0);
    ASSERT_TRUE(engine.deleteSelectedTableRows());
    expectWellFormed(*table(1));
    ASSERT_EQ(engine.tableRows(1), 3);
    EXPECT_EQ(cellLook(1, 1, 0), u"r2c0 1x1"_s);
    EXPECT_EQ(table(1)->cellAt(1, 1).columnSpan(), 2);
    EXPECT_EQ(table(1)->cellAt(1, 1).rowSpan(), 1);
    EXPECT_TRUE(cellLook(1, 1, 1).startsWith(u"r1c1"_s)) << "the merged cell keeps its text";
    EXPECT_EQ(cellLook(1, 2, 2), u"r3c2 1x1"_s);
    engine.undo();
    EXPECT_EQ(dump(), original);
}

TEST_F(MergedTable, DeletingAtAMergedCellDeletesEveryRowItCovers)
{
    caretAt(2, 2);
    ASSERT_TRUE(engine.deleteSelectedTableRows());
    expectWellFormed(*table(1));
    ASSERT_EQ(engine.tableRows(1), 2);
    EXPECT_EQ(cellLook(1, 0, 1), u"r0c1 1x1"_s);
    EXPECT_EQ(cellLook(1, 1, 1), u"r3c1 1x1"_s);
    engine.undo();
    EXPECT_EQ(dump(), original);
}

TEST_F(MergedTable, SplittingThroughAMergeCutsItInTwo)
{
    caretAt(2, 0);
    ASSERT_TRUE(engine.splitTable(TableSide::Before));
    ASSERT_EQ(engine.tableCount(), 2);
    expectWellFormed(*table(1));
    expectWellFormed(*table(2));
    EXPECT_EQ(engine.tableRows(1), 2);
    EXPECT_EQ(table(1)->cellAt(1, 1).columnSpan(), 2);
    EXPECT_EQ(table(1)->cellAt(1, 1).rowSpan(), 1);
    EXPECT_TRUE(cellLook(1, 1, 1).startsWith(u"r1c1"_s));
    EXPECT_EQ(engine.tableRows(2), 2);
    EXPECT_EQ(cellLook(2, 0, 0), u"r2c0 1x1"_s);
    EXPECT_EQ(cellLook(2, 0, 1), u" 1x2"_s) << "the lower half stays merged" << dump();
    EXPECT_EQ(cellLook(2, 1, 2), u"r3c2 1x1"_s);
    engine.undo();
    EXPECT_EQ(dump(), original);
}

TEST_F(MergedTable, SplittingBelowAMergedCellSplitsBelowItsLastRow)
{
    caretAt(1, 1);
    ASSERT_TRUE(engine.splitTable(TableSide::After));
    ASSERT_EQ(engine.tableCount(), 2);
    EXPECT_EQ(engine.tableRows(1), 3);
    EXPECT_EQ(table(1)->cellAt(1, 1).rowSpan(), 2);
    EXPECT_EQ(engine.tableRows(2), 1);
    EXPECT_EQ(cellLook(2, 0, 1), u"r3c1 1x1"_s);
    engine.undo();
    EXPECT_EQ(dump(), original);

    caretAt(3, 1);
    EXPECT_FALSE(engine.splitTable(TableSide::After)) << "nothing below the last row";
    EXPECT_EQ(dump(), original);
}

TEST_F(MergedTable, TabGoesFromCellToCellAndAddsARowAtTheEnd)
{
    caretAt(1, 1);
    EXPECT_TRUE(engine.handleKeyPress(Qt::Key_Tab, Qt::NoModifier));
    EXPECT_EQ(engine.tableAtCaret(), (CellAddress{1, 3, 1})) << "the cell after the merge";
    EXPECT_EQ(dump(), original);

    caretAt(3, 2);
    EXPECT_TRUE(engine.handleKeyPress(Qt::Key_Tab, Qt::NoModifier));
    EXPECT_EQ(engine.tableRows(1), 5);
    EXPECT_EQ(engine.tableAtCaret(), (CellAddress{1, 5, 1}));
    expectWellFormed(*table(1));
    engine.undo();
    EXPECT_EQ(dump(), original) << "the new row is one undo step";

    engine.setSelection(0, 0);
    EXPECT_FALSE(engine.handleKeyPress(Qt::Key_Tab, Qt::NoModifier)) << "outside tables Tab is the view's";
    caretAt(3, 2);
    EXPECT_FALSE(engine.handleKeyPress(Qt::Key_Tab, Qt::ControlModifier));
    EXPECT_EQ(dump(), original);
}

// Every edit at every cell: a well-formed table (or tables), texts of single
// cells still in their columns after row edits, and one undo back.
using Edit = std::function<bool(TextEngine&)>;
struct NamedEdit {
    const char* name;
    Edit edit;
    bool keepsColumns;
};

TEST_F(MergedTable, EveryEditAtEveryCellKeepsTheTableWellFormedAndUndoes)
{
    const NamedEdit edits[] = {
        {"row above", [](TextEngine& e) { return e.insertTableRow(TableSide::Before); }, true},
        {"row below", [](TextEngine& e) { return e.insertTableRow(TableSide::After); }, true},
        {"column left", [](TextEngine& e) { return e.insertTableColumn(TableSide::Before); }, false},
        {"column right", [](TextEngine& e) { return e.insertTableColumn(TableSide::After); }, false},
        {"split above", [](TextEngine& e) { return e.splitTable(TableSide::Before); }, true},
        {"split below", [](TextEngine& e) { return e.splitTable(TableSide::After); }, true},
        {"delete rows", [](TextEngine& e) { return e.deleteSelectedTableRows(); }, true},
        {"delete column", [](TextEngine& e) { return e.deleteTableColumn(); }, false},
        {"tab", [](TextEngine& e) { return e.handleKeyPress(Qt::Key_Tab, Qt::NoModifier); }, true},
    };
    for (const NamedEdit& named : edits) {
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 3; ++column) {
                SCOPED_TRACE(u"%1 at %2,%3"_s.arg(QLatin1StringView(named.name)).arg(row).arg(column).toStdString());
                caretAt(row, column);
                const bool done = named.edit(engine);
                for (int number = 1; number <= engine.tableCount(); ++number) {
                    expectWellFormed(*table(number));
                    if (!named.keepsColumns)
                        continue;
                    for (int r = 0; r < engine.tableRows(number); ++r) {
                        for (int c = 0; c < engine.tableColumns(number); ++c) {
                            const QString text = cellLook(number, r, c);
                            if (text.startsWith(u'r') && text.endsWith(u" 1x1"_s)) {
                                EXPECT_EQ(text.at(3), QChar(u'0' + c)) << text.toStdString();
                            }
                        }
                    }
                }
                // Tab between cells only moves the caret.
                if (done && dump() != original)
                    engine.undo();
                ASSERT_EQ(dump(), original);
            }
        }
    }
}

TEST_F(MergedTable, LooksGoToTheTableTheRowOrTheCell)
{
    caretAt(0, 0);
    TableLook table;
    table.borderTwips = 30;
    table.borderColor = 0x0000FF;
    table.shading = 0xEEEEEE;
    table.alignment = CellAlignment::Center;
    table.verticalAlignment = CellVerticalAlignment::Middle;
    table.columnWidthTwips = 1134;
    ASSERT_TRUE(engine.setTableLook(TablePart::Table, table));
    EXPECT_EQ(engine.tableLook(TablePart::Table), table);
    caretAt(3, 2);
    EXPECT_EQ(engine.tableLook(TablePart::Cell), table) << "every cell took the table's look";

    TableLook cell = table;
    cell.shading = -1;
    cell.alignment = CellAlignment::Right;
    cell.borderTwips = 0;
    cell.columnWidthTwips = 0;
    caretAt(1, 1);
    ASSERT_TRUE(engine.setTableLook(TablePart::Cell, cell));
    EXPECT_EQ(engine.tableLook(TablePart::Cell), cell);
    caretAt(0, 1);
    EXPECT_EQ(engine.tableLook(TablePart::Cell)->shading, 0xEEEEEE) << "the cell above kept its shading";
    EXPECT_EQ(engine.tableLook(TablePart::Cell)->columnWidthTwips, 0) << "but shares the merged cell's column";
    caretAt(0, 0);
    EXPECT_EQ(engine.tableLook(TablePart::Cell)->columnWidthTwips, 1134);

    TableLook row = table;
    row.shading = 0x00FF00;
    caretAt(3, 0);
    ASSERT_TRUE(engine.setTableLook(TablePart::Row, row));
    caretAt(3, 2);
    EXPECT_EQ(engine.tableLook(TablePart::Cell)->shading, 0x00FF00);
    caretAt(2, 0);
    EXPECT_EQ(engine.tableLook(TablePart::Cell)->shading, 0xEEEEEE);

    engine.undo();
    engine.undo();
    engine.undo();
    EXPECT_EQ(dump(), original) << "each look is one undo step";
}

TEST_F(MergedTable, ImpossibleLooksAreRefused)
{
    caretAt(0, 0);
    for (TableLook look : {TableLook{-1}, TableLook{Tables::kMaxBorderTwips + 1}, TableLook{15, 0x1000000},
                           TableLook{15, 0, -2}, TableLook{15, 0, -1, CellAlignment::Left, CellVerticalAlignment::Top, -1},
                           TableLook{15, 0, -1, CellAlignment::Left, CellVerticalAlignment::Top,
                                     Tables::kMaxColumnWidthTwips + 1}})
        EXPECT_FALSE(engine.setTableLook(TablePart::Table, look));
    EXPECT_EQ(dump(), original);
    engine.setSelection(0, 0);
    EXPECT_FALSE(engine.tableLook(TablePart::Table).has_value());
    EXPECT_FALSE(engine.setTableLook(TablePart::Table, TableLook{}));
}

} // namespace
} // namespace engine
