#pragma once
// The tables of one document as the host addresses them: tables numbered from
// 1 in document order (nested tables counted where they start), rows and
// columns from 1, and the table edits the host offers (rows and columns
// before or after the caret's, splitting, deleting).

#include <QList>
#include <QString>

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

// Before or after (above or below) the caret's row or column.
enum class TableSide : int { Before = 1, After = 2 };

class Tables {
public:
    explicit Tables(QTextDocument& document);

    int count() const;
    QTextTable* table(int number) const;
    // The innermost table holding the cursor's position.
    CellAddress at(const QTextCursor& cursor) const;

    // Inserts a table of `rows` × `columns` empty cells in place of the
    // cursor's selection; the cursor ends in the first cell. Returns the
    // table's number, 0 when the size is outside 1..kMaxTableRows or
    // 1..kMaxTableColumns. Not to be called inside an open edit block: the
    // table could not be numbered there.
    int insert(QTextCursor& cursor, int rows, int columns);

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

    // Word's own column limit; rows enough for any table one edits by hand.
    static constexpr int kMaxTableRows = 5000;
    static constexpr int kMaxTableColumns = 63;

private:
    QList<QTextTable*> tablesInOrder() const;
    QTextTableCell cell(const CellAddress& address) const;

    QTextDocument& m_document;
};

} // namespace engine
