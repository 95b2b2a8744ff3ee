// Tables: RTF has no table group. Paragraphs marked \intbl (and nested
// ones, \itapN) are the cells' text; \cell and \nestcell end a cell, \row
// and \nestrow a row, and the row's definition (\trowd, each cell's
// properties ending with \cellx) says its merges, shading and widths. The
// engine table is made when the first cell's text comes and grows as the
// rows do; merges are made when the table ends.

#include "engine/hostunits.h"
#include "engine/snapshotencoding.h"
#include "formats/rtf/rtfparser.h"

#include <QTextTable>
#include <algorithm>

namespace formats::rtf {

namespace {

constexpr int kMaxTableNesting = 16;
constexpr int kMaxColumns = int(engine::snapshotencoding::kMaxTableColumns);
constexpr int kMaxRows = int(engine::snapshotencoding::kMaxTableRows);

} // namespace

bool Parser::handleTableWord(Act act, int value)
{
    ParagraphState& paragraph = state().paragraph;
    std::vector<CellDefinition>& cells = m_rowDefinitions[definitionLevel()];
    switch (act) {
    case Act::InTable: paragraph.inTable = true; return true;
    case Act::NestLevel: paragraph.nestLevel = std::clamp(value, 0, kMaxTableNesting); return true;
    case Act::RowDefaults:
        cells.clear();
        m_nextCell = {};
        m_rowBorder = 0;
        m_rowGap.reset();
        return true;
    case Act::CellGap: m_rowGap = std::clamp(value, 0, 1440); return true;
    case Act::CellBoundary:
        if (int(cells.size()) < kMaxColumns) {
            m_nextCell.right = value;
            cells.push_back(m_nextCell);
        }
        m_nextCell = {};
        return true;
    case Act::MergeFirst: m_nextCell.mergeFirst = true; return true;
    case Act::MergeNext: m_nextCell.mergeNext = true; return true;
    case Act::VerticalMergeFirst: m_nextCell.verticalFirst = true; return true;
    case Act::VerticalMergeNext: m_nextCell.verticalNext = true; return true;
    case Act::CellShading:
        if (value > 0 && value < m_colours.size() && m_colours[value].isValid())
            m_nextCell.shading = m_colours[value];
        return true;
    case Act::BorderWidth: m_rowBorder = std::max(m_rowBorder, std::clamp(value, 0, 300)); return true;
    case Act::Cell:
        if (state().dest == Dest::Body)
            endCell(1);
        return true;
    case Act::NestCell:
        if (state().dest == Dest::Body)
            endCell(std::max(2, paragraph.tableLevel()));
        return true;
    case Act::Row:
        if (state().dest == Dest::Body)
            endRow(1);
        return true;
    case Act::NestRow:
        if (state().dest == Dest::Body)
            endRow(std::max(2, paragraph.tableLevel()));
        return true;
    default: return false;
    }
}

// Rows of nested tables are defined in \nesttableprops, after their cells.
int Parser::definitionLevel() const
{
    for (auto it = m_states.rbegin(); it != m_states.rend(); ++it) {
        if (it->opened == Act::NestTableProperties)
            return std::max(2, it->paragraph.tableLevel());
    }
    return 1;
}

void Parser::enterTableLevel(int level)
{
    level = std::min(level, kMaxTableNesting);
    while (int(m_out.tables.size()) > level) {
        if (m_out.paragraphOpen)
            finishParagraph();
        finishTable();
    }
    while (int(m_out.tables.size()) < level) {
        if (!m_out.tables.empty() && !m_out.tables.back().inCell)
            enterCell();
        if (m_out.paragraphOpen)
            finishParagraph();
        startTable();
    }
}

void Parser::startTable()
{
    const int level = int(m_out.tables.size()) + 1;
    const int columns = std::max<int>(1, int(m_rowDefinitions.value(level).size()));
    QTextTableFormat format;
    format.setCellPadding(m_rowGap ? engine::twipsToDocument(*m_rowGap) : 2);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorder(0);
    TableBuilder builder;
    builder.table = m_out.cursor.insertTable(1, columns, format);
    m_out.tables.push_back(std::move(builder));
}

void Parser::enterCell()
{
    TableBuilder& builder = m_out.tables.back();
    QTextTable* table = builder.table;
    if (builder.row >= table->rows())
        table->appendRows(builder.row - table->rows() + 1);
    if (builder.column >= table->columns())
        table->appendColumns(builder.column - table->columns() + 1);
    m_out.cursor = table->cellAt(builder.row, builder.column).firstCursorPosition();
    m_out.blockUnused = true;
    m_out.paragraphOpen = false;
    builder.inCell = true;
}

void Parser::endCell(int level)
{
    ParagraphState& paragraph = state().paragraph;
    if (paragraph.tableLevel() < level) {
        paragraph.nestLevel = level;
        paragraph.inTable = true;
    }
    ensureParagraph();
    finishParagraph();
    TableBuilder& builder = m_out.tables.back();
    builder.inCell = false;
    builder.column = std::min(builder.column + 1, kMaxColumns - 1);
}

void Parser::endRow(int level)
{
    if (int(m_out.tables.size()) < level)
        return;
    enterTableLevel(level);
    TableBuilder& builder = m_out.tables.back();
    applyRow(builder, m_rowDefinitions.value(level));
    builder.border = std::max(builder.border, m_rowBorder);
    if (builder.row + 1 < kMaxRows)
        ++builder.row;
    builder.column = 0;
    builder.inCell = false;
}

// The row's merges and shading, from its definition.
void Parser::applyRow(TableBuilder& builder, const std::vector<CellDefinition>& cells)
{
    QTextTable* table = builder.table;
    const int row = builder.row;
    if (row >= table->rows())
        return;
    if (!cells.empty())
        builder.lastCells = cells;
    for (int column = 0; column < int(cells.size()); ++column) {
        const CellDefinition& cell = cells[size_t(column)];
        if (cell.shading && column < table->columns()) {
            QTextTableCell tableCell = table->cellAt(row, column);
            QTextTableCellFormat format = tableCell.format().toTableCellFormat();
            format.setBackground(*cell.shading);
            tableCell.setFormat(format);
        }
        if (cell.mergeNext)
            continue;
        int span = 1;
        while (column + span < int(cells.size()) && cells[size_t(column + span)].mergeNext)
            ++span;
        if (cell.verticalNext) {
            for (Merge& merge : builder.merges) {
                if (merge.column == column && merge.row + merge.rows == row) {
                    ++merge.rows;
                    break;
                }
            }
        } else if (span > 1 || cell.verticalFirst) {
            builder.merges.push_back({row, column, 1, span});
        }
    }
}

void Parser::finishTable()
{
    TableBuilder builder = std::move(m_out.tables.back());
    m_out.tables.pop_back();
    QTextTable* table = builder.table;
    if (builder.border > 0) {
        QTextTableFormat format = table->format();
        format.setBorder(engine::twipsToDocument(builder.border));
        table->setFormat(format);
    }
    for (const Merge& merge : builder.merges) {
        const int rows = std::min(merge.rows, table->rows() - merge.row);
        const int columns = std::min(merge.columns, table->columns() - merge.column);
        if (rows > 1 || columns > 1)
            table->mergeCells(merge.row, merge.column, rows, columns);
    }
    if (!builder.lastCells.empty()) {
        QTextTableFormat format = table->format();
        QList<QTextLength> widths;
        int left = 0;
        for (int i = 0; i < table->columns(); ++i) {
            const int right = i < int(builder.lastCells.size()) ? builder.lastCells[size_t(i)].right : left + 1440;
            widths << QTextLength(QTextLength::FixedLength, engine::twipsToDocument(std::clamp(right - left, 1, 31680)));
            left = std::max(left, right);
        }
        format.setColumnWidthConstraints(widths);
        table->setFormat(format);
    }
    m_out.cursor = table->lastCursorPosition();
    m_out.cursor.movePosition(QTextCursor::NextCharacter);
    m_out.blockUnused = true;
    m_out.paragraphOpen = false;
}

} // namespace formats::rtf
