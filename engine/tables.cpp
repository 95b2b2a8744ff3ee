#include "engine/tables.h"

#include "engine/documentwalk.h"
#include "engine/plaintext.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextTable>


namespace engine {

namespace {

QTextTableFormat newTableFormat()
{
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(3);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    return format;
}

// The innermost table around the cursor, or null.
QTextTable* tableAround(const QTextCursor& cursor)
{
    return cursor.currentTable();
}

} // namespace

Tables::Tables(QTextDocument& document)
    : m_document(document)
{
}

int Tables::count() const
{
    return int(tablesInOrder().size());
}

QTextTable* Tables::table(int number) const
{
    const QList<QTextTable*> all = tablesInOrder();
    return number >= 1 && number <= all.size() ? all.at(number - 1) : nullptr;
}

CellAddress Tables::at(const QTextCursor& cursor) const
{
    QTextTable* table = tableAround(cursor);
    if (!table)
        return {};
    const QTextTableCell cell = table->cellAt(cursor);
    if (!cell.isValid())
        return {};
    return {int(tablesInOrder().indexOf(table)) + 1, cell.row() + 1, cell.column() + 1};
}

int Tables::insert(QTextCursor& cursor, int rows, int columns)
{
    if (rows < 1 || columns < 1 || rows > kMaxTableRows || columns > kMaxTableColumns)
        return 0;
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    QTextTable* table = cursor.insertTable(rows, columns, newTableFormat());
    cursor.endEditBlock();
    // The frame tree is brought up to date when the edit block ends.
    cursor = table->cellAt(0, 0).firstCursorPosition();
    return int(tablesInOrder().indexOf(table)) + 1;
}

QString Tables::cellText(const CellAddress& address) const
{
    const QTextTableCell found = cell(address);
    if (!found.isValid())
        return {};
    return plaintext::fromRange(m_document, found.firstPosition(), found.lastPosition());
}

bool Tables::setCellText(const CellAddress& address, const QString& text)
{
    const QTextTableCell found = cell(address);
    if (!found.isValid())
        return false;
    QTextCursor cursor = found.firstCursorPosition();
    cursor.beginEditBlock();
    cursor.setPosition(found.lastPosition(), QTextCursor::KeepAnchor);
    plaintext::insert(cursor, text);
    cursor.endEditBlock();
    return true;
}

int Tables::cellFirstPosition(const CellAddress& address) const
{
    const QTextTableCell found = cell(address);
    return found.isValid() ? found.firstPosition() + 1 : 0;
}

int Tables::cellLength(const CellAddress& address) const
{
    const QTextTableCell found = cell(address);
    return found.isValid() ? found.lastPosition() - found.firstPosition() : 0;
}

bool Tables::insertRow(const QTextCursor& caret, TableSide side)
{
    QTextTable* table = tableAround(caret);
    if (!table)
        return false;
    const int row = table->cellAt(caret).row();
    table->insertRows(side == TableSide::Before ? row : row + 1, 1);
    return true;
}

bool Tables::insertColumn(const QTextCursor& caret, TableSide side)
{
    QTextTable* table = tableAround(caret);
    if (!table)
        return false;
    const int column = table->cellAt(caret).column();
    table->insertColumns(side == TableSide::Before ? column : column + 1, 1);
    return true;
}

bool Tables::split(const QTextCursor& caret, TableSide side)
{
    QTextTable* table = tableAround(caret);
    if (!table)
        return false;
    const int firstMoved = table->cellAt(caret).row() + (side == TableSide::After ? 1 : 0);
    const int rows = table->rows();
    if (firstMoved <= 0 || firstMoved >= rows)
        return false;

    QTextCursor moved = table->cellAt(firstMoved, 0).firstCursorPosition();
    moved.setPosition(table->cellAt(rows - 1, table->columns() - 1).lastCursorPosition().position(),
                      QTextCursor::KeepAnchor);
    const QTextDocumentFragment lowerPart = moved.selection();

    QTextCursor edit(&m_document);
    edit.beginEditBlock();
    QTextCursor after(&m_document);
    after.setPosition(table->lastPosition() + 1);
    table->removeRows(firstMoved, rows - firstMoved);
    after.insertBlock();
    after.insertFragment(lowerPart);
    edit.endEditBlock();
    return true;
}

bool Tables::deleteSelectedRows(const QTextCursor& selection)
{
    QTextTable* table = tableAround(selection);
    if (!table)
        return false;
    int firstRow = table->cellAt(selection).row();
    int rowCount = 1;
    if (selection.hasComplexSelection()) {
        int firstColumn = 0;
        int columnCount = 0;
        selection.selectedTableCells(&firstRow, &rowCount, &firstColumn, &columnCount);
    } else if (selection.hasSelection()) {
        const QTextTableCell a = table->cellAt(selection.selectionStart());
        const QTextTableCell b = table->cellAt(selection.selectionEnd());
        if (a.isValid() && b.isValid()) {
            firstRow = std::min(a.row(), b.row());
            rowCount = std::abs(a.row() - b.row()) + 1;
        }
    }
    table->removeRows(firstRow, rowCount);
    return true;
}

bool Tables::deleteColumn(const QTextCursor& caret)
{
    QTextTable* table = tableAround(caret);
    if (!table)
        return false;
    table->removeColumns(table->cellAt(caret).column(), 1);
    return true;
}

QList<QTextTable*> Tables::tablesInOrder() const
{
    QList<QTextTable*> result;
    for (QTextFrame* frame : framesInOrder(m_document)) {
        if (auto* table = qobject_cast<QTextTable*>(frame))
            result.append(table);
    }
    return result;
}

QTextTableCell Tables::cell(const CellAddress& address) const
{
    QTextTable* found = table(address.table);
    if (!found || address.row < 1 || address.column < 1 || address.row > found->rows()
        || address.column > found->columns())
        return {};
    return found->cellAt(address.row - 1, address.column - 1);
}

} // namespace engine
