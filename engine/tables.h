#pragma once
// The tables of one document as the host addresses them: tables numbered from
// 1 in document order (nested tables counted where they start), rows and
// columns from 1, and the table edits the host offers (rows and columns
// before or after the caret's, splitting, deleting).

#include <QList>
#include <QString>
#include <optional>

class QTextCursor;
class QTextDocument;
class QTextTable;
class QTextTableCell;

namespace engine {

// Where a cursor is among the tables; all 0 outside every table.
struct CellAddress {
    int table = 0;
    int row = 0;
    int column = 0;
    bool operator==(const CellAddress&) const = default;
};

// Whether a cell starts at this place of the table's grid, rather than
// reaching it from the left or from above. Asked of the neighbours, which the
// grid gives at once; a cell's own row and column are searched for among all
// the table's cells.
bool cellStartsAt(const QTextTable& table, int row, int column);

// Each cell of the table once, in reading order (a merged cell where it starts).
QList<QTextTableCell> cellsOf(const QTextTable& table);

// Before or after (above or below) the caret's row or column.
enum class TableSide : int { Before = 1, After = 2 };

// The part of the caret's table a look is read from or given to.
enum class TablePart { Table, Row, Cell };

enum class CellAlignment { Left, Center, Right, Justify };
enum class CellVerticalAlignment { Top, Middle, Bottom };

// How a part of a table looks: its grid lines, its cells' shading and the
// alignment of their text, and the width of the columns it covers.
struct TableLook {
    int borderTwips = 15;           // grid line width; 0 draws none
    int borderColor = 0;            // 0x00BBGGRR
    int shading = -1;               // cell background 0x00BBGGRR, −1 for none
    CellAlignment alignment = CellAlignment::Left;
    CellVerticalAlignment verticalAlignment = CellVerticalAlignment::Top;
    int columnWidthTwips = 0;       // 0: the columns share the table's width
    bool operator==(const TableLook&) const = default;
};

class Tables {
public:
    explicit Tables(QTextDocument& document);

    int count() const;
    QTextTable* table(int number) const;
    // The innermost table holding the cursor's position.
    CellAddress at(const QTextCursor& cursor) const;

    // Inserts a table of `rows` × `columns` empty cells in place of the
    // cursor's selection, its columns `columnWidthTwips` wide (0: sharing the
    // text's width); the cursor ends in the first cell. Returns the table's
    // number, 0 when the size is outside 1..kMaxTableRows or
    // 1..kMaxTableColumns or the width outside 0..kMaxColumnWidthTwips. Not to be called inside an open edit block: the
    // table could not be numbered there.
    int insert(QTextCursor& cursor, int rows, int columns, int columnWidthTwips = 0);

    // Paragraphs of a cell joined by CR LF; empty when the cell does not exist.
    QString cellText(const CellAddress& cell) const;
    bool setCellText(const CellAddress& cell, const QString& text);
    // 1-based position of the cell's first character, 0 when it does not exist.
    int cellFirstPosition(const CellAddress& cell) const;
    int cellLength(const CellAddress& cell) const;

    bool insertRow(const QTextCursor& caret, TableSide side);
    bool insertColumn(const QTextCursor& caret, TableSide side);
    // Moves the rows from the caret's row (Before) or from the row after it
    // (After) into a new table just below; false when one part would be empty.
    bool split(const QTextCursor& caret, TableSide side);
    // Deletes the rows the selection touches (the whole table when it covers
    // every row).
    bool deleteSelectedRows(const QTextCursor& selection);
    bool deleteColumn(const QTextCursor& caret);
    // Tab in a table: the caret goes to the next cell; from the last cell a
    // new row is added first. False outside tables.
    bool moveToNextCell(QTextCursor& caret);

    // The look of the table part at the caret: the table's own lines for the
    // table, the first cell's for a row or a cell.
    std::optional<TableLook> look(const QTextCursor& caret, TablePart part) const;
    // Gives the part its look: lines to the table or to the part's cells,
    // shading and alignment to the part's cells, the width to the columns
    // the part covers.
    bool setLook(const QTextCursor& caret, TablePart part, const TableLook& look);
    static constexpr int kMaxBorderTwips = 120;
    static constexpr int kMaxColumnWidthTwips = 31680; // 22 inches, the widest paper

    // Word's own column limit; rows enough for any table one edits by hand.
    static constexpr int kMaxTableRows = 5000;
    static constexpr int kMaxTableColumns = 63;

private:
    QList<QTextTable*> tablesInOrder() const;
    QTextTableCell cell(const CellAddress& address) const;
    // Rows first..last (0-based); all of them remove the table.
    void removeRows(QTextTable& table, int first, int last);
    void removeRowKeepingMerges(QTextTable& table, int row);

    QTextDocument& m_document;
};

} // namespace engine
