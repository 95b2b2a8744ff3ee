#include "engine/tables.h"

#include "engine/documentwalk.h"
#include "engine/hostunits.h"
#include "engine/plaintext.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextTable>
#include <cmath>


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

// The cells that cover some of the rows first..last (0-based, inclusive).
QList<QTextTableCell> cellsTouchingRows(const QTextTable& table, int first, int last)
{
    QList<QTextTableCell> cells;
    for (const QTextTableCell& cell : cellsOf(table)) {
        if (cell.row() <= last && cell.row() + cell.rowSpan() - 1 >= first)
            cells.append(cell);
    }
    return cells;
}

QList<QTextTableCell> cellsOfPart(const QTextTable& table, const QTextTableCell& at, TablePart part)
{
    switch (part) {
    case TablePart::Table:
        return cellsOf(table);
    case TablePart::Row:
        return cellsTouchingRows(table, at.row(), at.row());
    case TablePart::Cell:
        break;
    }
    return {at};
}

QTextCursor cellContents(const QTextTableCell& cell)
{
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
    return cursor;
}

Qt::Alignment toQt(CellAlignment alignment)
{
    switch (alignment) {
    case CellAlignment::Center:
        return Qt::AlignHCenter;
    case CellAlignment::Right:
        return Qt::AlignRight;
    case CellAlignment::Justify:
        return Qt::AlignJustify;
    case CellAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

CellAlignment fromQt(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter)
        return CellAlignment::Center;
    if (alignment & Qt::AlignRight)
        return CellAlignment::Right;
    if (alignment & Qt::AlignJustify)
        return CellAlignment::Justify;
    return CellAlignment::Left;
}

QTextCharFormat::VerticalAlignment toQt(CellVerticalAlignment alignment)
{
    switch (alignment) {
    case CellVerticalAlignment::Middle:
        return QTextCharFormat::AlignMiddle;
    case CellVerticalAlignment::Bottom:
        return QTextCharFormat::AlignBottom;
    case CellVerticalAlignment::Top:
        break;
    }
    return QTextCharFormat::AlignTop;
}

CellVerticalAlignment fromQt(QTextCharFormat::VerticalAlignment alignment)
{
    if (alignment == QTextCharFormat::AlignMiddle)
        return CellVerticalAlignment::Middle;
    if (alignment == QTextCharFormat::AlignBottom)
        return CellVerticalAlignment::Bottom;
    return CellVerticalAlignment::Top;
}

bool isHostColor(int value)
{
    return value >= 0 && value <= 0xFFFFFF;
}

bool isValid(const TableLook& look)
{
    return look.borderTwips >= 0 && look.borderTwips <= Tables::kMaxBorderTwips && isHostColor(look.borderColor)
        && (look.shading == -1 || isHostColor(look.shading)) && look.columnWidthTwips >= 0
        && look.columnWidthTwips <= Tables::kMaxColumnWidthTwips;
}

int twipsOf(double documentUnits)
{
    return int(std::lround(documentToTwips(documentUnits)));
}

} // namespace

bool cellStartsAt(const QTextTable& table, int row, int column)
{
    const QTextTableCell cell = table.cellAt(row, column);
    return cell.isValid() && !(column > 0 && table.cellAt(row, column - 1) == cell)
        && !(row > 0 && table.cellAt(row - 1, column) == cell);
}

QList<QTextTableCell> cellsOf(const QTextTable& table)
{
    QList<QTextTableCell> cells;
    for (int row = 0; row < table.rows(); ++row) {
        for (int column = 0; column < table.columns(); ++column) {
            if (cellStartsAt(table, row, column))
                cells.append(table.cellAt(row, column));
        }
    }
    return cells;
}

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

int Tables::insert(QTextCursor& cursor, int rows, int columns, int columnWidthTwips)
{
    if (rows < 1 || columns < 1 || rows > kMaxTableRows || columns > kMaxTableColumns || columnWidthTwips < 0
        || columnWidthTwips > kMaxColumnWidthTwips)
        return 0;
    QTextTableFormat format = newTableFormat();
    if (columnWidthTwips > 0)
        format.setColumnWidthConstraints(
            QList<QTextLength>(columns, QTextLength(QTextLength::FixedLength, twipsToDocument(columnWidthTwips))));
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    QTextTable* table = cursor.insertTable(rows, columns, format);
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
    // Below a merged cell means below the last row it covers.
    const QTextTableCell cell = table->cellAt(caret);
    table->insertRows(side == TableSide::Before ? cell.row() : cell.row() + cell.rowSpan(), 1);
    return true;
}

bool Tables::insertColumn(const QTextCursor& caret, TableSide side)
{
    QTextTable* table = tableAround(caret);
    if (!table)
        return false;
    const QTextTableCell cell = table->cellAt(caret);
    table->insertColumns(side == TableSide::Before ? cell.column() : cell.column() + cell.columnSpan(), 1);
    return true;
}

bool Tables::split(const QTextCursor& caret, TableSide side)
{
    QTextTable* table = tableAround(caret);
    if (!table)
        return false;
    const QTextTableCell at = table->cellAt(caret);
    const int firstMoved = side == TableSide::After ? at.row() + at.rowSpan() : at.row();
    const int rows = table->rows();
    if (firstMoved <= 0 || firstMoved >= rows)
        return false;

    QTextCursor edit(&m_document);
    edit.beginEditBlock();
    // A merged cell the split runs through is cut in two, and its lower half
    // merged again, so that each table keeps its part of the merge. The text
    // stays in the upper half.
    for (const QTextTableCell& cell : cellsTouchingRows(*table, firstMoved - 1, firstMoved)) {
        if (cell.row() < firstMoved && cell.row() + cell.rowSpan() > firstMoved) {
            const int rowsBelow = cell.row() + cell.rowSpan() - firstMoved;
            const int column = cell.column();
            const int columns = cell.columnSpan();
            table->splitCell(cell.row(), column, firstMoved - cell.row(), columns);
            table->mergeCells(firstMoved, column, rowsBelow, columns);
        }
    }

    QTextCursor moved = table->cellAt(firstMoved, 0).firstCursorPosition();
    moved.setPosition(table->cellAt(rows - 1, table->columns() - 1).lastCursorPosition().position(),
                      QTextCursor::KeepAnchor);
    const QTextDocumentFragment lowerPart = moved.selection();

    // The fragment brings the paragraph that stands between the two tables.
    QTextCursor after(&m_document);
    after.setPosition(table->lastPosition() + 1);
    removeRows(*table, firstMoved, rows - 1);
    after.insertFragment(lowerPart);
    edit.endEditBlock();
    return true;
}

bool Tables::deleteSelectedRows(const QTextCursor& selection)
{
    QTextTable* table = tableAround(selection);
    if (!table)
        return false;
    const QTextTableCell at = table->cellAt(selection);
    int firstRow = at.row();
    int lastRow = at.row() + at.rowSpan() - 1;
    if (selection.hasComplexSelection()) {
        int rowCount = 0;
        int firstColumn = 0;
        int columnCount = 0;
        selection.selectedTableCells(&firstRow, &rowCount, &firstColumn, &columnCount);
        lastRow = firstRow + rowCount - 1;
    } else if (selection.hasSelection()) {
        const QTextTableCell a = table->cellAt(selection.selectionStart());
        const QTextTableCell b = table->cellAt(selection.selectionEnd());
        if (a.isValid() && b.isValid()) {
            firstRow = std::min(a.row(), b.row());
            lastRow = std::max(a.row() + a.rowSpan(), b.row() + b.rowSpan()) - 1;
        }
    }
    QTextCursor edit(&m_document);
    edit.beginEditBlock();
    removeRows(*table, firstRow, lastRow);
    edit.endEditBlock();
    return true;
}

void Tables::removeRows(QTextTable& table, int first, int last)
{
    if (first == 0 && last == table.rows() - 1) {
        table.removeRows(0, table.rows()); // the whole table goes
        return;
    }
    // Qt leaves a merged cell that covers exactly the removed rows in place;
    // one row at a time, from the bottom, every span shrinks as it should.
    for (int row = last; row >= first; --row)
        removeRowKeepingMerges(table, row);
}

// Qt keeps a merged cell that starts in a removed row but reaches below it at
// its old place in the text, ahead of the cells of the row it now starts in,
// and so shifts that row's cells into the wrong columns. Such a cell is cut
// below the row first; what remains is merged again and takes the cell's text.
void Tables::removeRowKeepingMerges(QTextTable& table, int row)
{
    struct Remainder {
        int column;
        int rows;
        int columns;
        QTextDocumentFragment text;
    };
    QList<Remainder> remainders;
    for (const QTextTableCell& cell : cellsTouchingRows(table, row, row)) {
        if (cell.row() == row && cell.rowSpan() > 1)
            remainders.append({cell.column(), cell.rowSpan() - 1, cell.columnSpan(), cellContents(cell).selection()});
    }
    for (const Remainder& remainder : remainders)
        table.splitCell(row, remainder.column, 1, remainder.columns);
    table.removeRows(row, 1);
    for (const Remainder& remainder : remainders) {
        table.mergeCells(row, remainder.column, remainder.rows, remainder.columns);
        cellContents(table.cellAt(row, remainder.column)).insertFragment(remainder.text);
    }
}

bool Tables::deleteColumn(const QTextCursor& caret)
{
    QTextTable* table = tableAround(caret);
    if (!table)
        return false;
    table->removeColumns(table->cellAt(caret).column(), 1);
    return true;
}

bool Tables::moveToNextCell(QTextCursor& caret)
{
    QTextTable* table = tableAround(caret);
    if (!table)
        return false;
    QTextCursor next = caret;
    next.clearSelection();
    if (next.movePosition(QTextCursor::NextCell) && tableAround(next) == table) {
        caret = next;
        return true;
    }
    const int rows = table->rows();
    table->insertRows(rows, 1);
    caret = table->cellAt(rows, 0).firstCursorPosition();
    return true;
}

std::optional<TableLook> Tables::look(const QTextCursor& caret, TablePart part) const
{
    const QTextTable* table = tableAround(caret);
    if (!table)
        return std::nullopt;
    const QTextTableCell at = table->cellAt(caret);
    const QTextTableCell first = part == TablePart::Table ? table->cellAt(0, 0) : at;
    const QTextTableFormat tableFormat = table->format();
    const QTextTableCellFormat cellFormat = first.format().toTableCellFormat();

    TableLook look;
    const bool ownLines = part != TablePart::Table && cellFormat.hasProperty(QTextFormat::TableCellTopBorder);
    look.borderTwips = twipsOf(ownLines ? cellFormat.topBorder() : tableFormat.border());
    const QBrush lines = ownLines ? cellFormat.topBorderBrush() : tableFormat.borderBrush();
    look.borderColor = lines.style() == Qt::NoBrush ? 0 : colorToHost(lines.color());
    const QBrush background = cellFormat.background();
    look.shading = background.style() == Qt::NoBrush ? -1 : colorToHost(background.color());
    look.alignment = fromQt(first.firstCursorPosition().blockFormat().alignment());
    look.verticalAlignment = fromQt(cellFormat.verticalAlignment());
    const QList<QTextLength> widths = tableFormat.columnWidthConstraints();
    const int column = part == TablePart::Cell ? at.column() : 0;
    if (column < widths.size() && widths[column].type() == QTextLength::FixedLength)
        look.columnWidthTwips = twipsOf(widths[column].rawValue());
    return look;
}

bool Tables::setLook(const QTextCursor& caret, TablePart part, const TableLook& look)
{
    QTextTable* table = tableAround(caret);
    if (!table || !isValid(look))
        return false;
    const QTextTableCell at = table->cellAt(caret);
    const double border = twipsToDocument(look.borderTwips);
    const QBrush lines(colorFromHost(look.borderColor));

    QTextCursor edit(&m_document);
    edit.beginEditBlock();
    for (const QTextTableCell& cell : cellsOfPart(*table, at, part)) {
        QTextTableCellFormat format = cell.format().toTableCellFormat();
        if (part == TablePart::Table) {
            // The table's own lines show only where a cell has none of its own.
            for (int property : {QTextFormat::TableCellTopBorder, QTextFormat::TableCellBottomBorder,
                                 QTextFormat::TableCellLeftBorder, QTextFormat::TableCellRightBorder,
                                 QTextFormat::TableCellTopBorderBrush, QTextFormat::TableCellBottomBorderBrush,
                                 QTextFormat::TableCellLeftBorderBrush, QTextFormat::TableCellRightBorderBrush})
                format.clearProperty(property);
        } else {
            format.setBorder(border);
            format.setBorderBrush(lines);
        }
        if (look.shading < 0)
            format.clearBackground();
        else
            format.setBackground(colorFromHost(look.shading));
        format.setVerticalAlignment(toQt(look.verticalAlignment));
        QTextTableCell(cell).setFormat(format);
        QTextBlockFormat alignment;
        alignment.setAlignment(toQt(look.alignment));
        cellContents(cell).mergeBlockFormat(alignment);
    }

    QTextTableFormat format = table->format();
    if (part == TablePart::Table) {
        format.setBorder(border);
        format.setBorderBrush(lines);
    }
    QList<QTextLength> widths = format.columnWidthConstraints();
    widths.resize(table->columns(), QTextLength(QTextLength::VariableLength, 0));
    const int firstColumn = part == TablePart::Cell ? at.column() : 0;
    const int lastColumn = part == TablePart::Cell ? at.column() + at.columnSpan() : table->columns();
    for (int column = firstColumn; column < lastColumn; ++column)
        widths[column] = look.columnWidthTwips > 0
            ? QTextLength(QTextLength::FixedLength, twipsToDocument(look.columnWidthTwips))
            : QTextLength(QTextLength::VariableLength, 0);
    format.setColumnWidthConstraints(widths);
    table->setFormat(format);
    edit.endEditBlock();
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
