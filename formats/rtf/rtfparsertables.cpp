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
// Programs round the same edge differently from row to row (9600, 9601).
constexpr int kEdgeTolerance = 20;

bool sameEdge(int a, int b) { return std::abs(a - b) <= kEdgeTolerance; }

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
    case Act::MergeFirst: return true; // the first merged cell is known by the \\clmrg after it
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
    QTextTableFormat format;
    format.setCellPadding(m_rowGap ? engine::twipsToDocument(*m_rowGap) : 2);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorder(0);
    TableBuilder builder;
    const std::vector<CellDefinition> cells = m_rowDefinitions.value(level);
    for (const CellDefinition& cell : cells)
        builder.grid.push_back(cell.right);
    std::sort(builder.grid.begin(), builder.grid.end());
    builder.grid.erase(std::unique(builder.grid.begin(), builder.grid.end(), [](int a, int b) { return sameEdge(a, b); }),
                       builder.grid.end());
    builder.table = m_out.cursor.insertTable(1, std::clamp(int(builder.grid.size()), 1, kMaxColumns), format);
    m_out.tables.push_back(std::move(builder));
}

// Rows whose cells end where no other row's do add columns to the grid; the
// cells of the other rows that cross them are merged over them when the
// table ends.
void Parser::widenGrid(TableBuilder& builder, const std::vector<CellDefinition>& cells)
{
    for (const CellDefinition& cell : cells) {
        auto at = std::lower_bound(builder.grid.begin(), builder.grid.end(), cell.right - kEdgeTolerance);
        if ((at != builder.grid.end() && sameEdge(*at, cell.right)) || int(builder.grid.size()) >= kMaxColumns)
            continue;
        const int column = int(at - builder.grid.begin());
        builder.grid.insert(at, cell.right);
        if (builder.grid.size() <= size_t(builder.table->columns()))
            continue;
        if (column < builder.table->columns())
            builder.table->insertColumns(column, 1);
        else
            builder.table->appendColumns(1);
    }
}

namespace {

// The first grid column of cell `cell` of a row defined by `cells`; cells
// past the definition (a nested row defined only after its cells) take one
// column each after it.
int gridColumnOf(const TableBuilder& builder, const std::vector<CellDefinition>& cells, int cell)
{
    const int defined = std::min(cell, int(cells.size()));
    int column = 0;
    if (defined > 0) {
        const int edge = cells[size_t(defined - 1)].right;
        column = int(std::lower_bound(builder.grid.begin(), builder.grid.end(), edge - kEdgeTolerance) - builder.grid.begin()) + 1;
    }
    return column + cell - defined;
}

} // namespace

void Parser::enterCell()
{
    const int level = int(m_out.tables.size());
    TableBuilder& builder = m_out.tables.back();
    QTextTable* table = builder.table;
    const std::vector<CellDefinition> cells = m_rowDefinitions.value(level);
    widenGrid(builder, cells);
    const int column = std::min(gridColumnOf(builder, cells, builder.cell), kMaxColumns - 1);
    if (builder.row >= table->rows())
        table->appendRows(builder.row - table->rows() + 1);
    if (column >= table->columns())
        table->appendColumns(column - table->columns() + 1);
    m_out.cursor = table->cellAt(builder.row, column).firstCursorPosition();
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
    builder.cell = std::min(builder.cell + 1, kMaxColumns - 1);
}

void Parser::endRow(int level)
{
    if (int(m_out.tables.size()) < level)
        return;
    enterTableLevel(level);
    TableBuilder& builder = m_out.tables.back();
    const std::vector<CellDefinition> cells = m_rowDefinitions.value(level);
    widenGrid(builder, cells);
    if (int(builder.rows.size()) == builder.row)
        builder.rows.push_back(cells);
    builder.border = std::max(builder.border, m_rowBorder);
    if (builder.row + 1 < kMaxRows)
        ++builder.row;
    builder.cell = 0;
    builder.inCell = false;
}

// The rows' merges and shading, on the grid of all their columns: a cell
// covers the columns up to its right edge, with those \clmrg joins to it;
// \clvmrg joins it to the cell above.
void Parser::applyRows(TableBuilder& builder)
{
    struct Merge {
        int row, column, rows, columns;
    };
    std::vector<Merge> merges;
    QTextTable* table = builder.table;
    for (int row = 0; row < int(builder.rows.size()) && row < table->rows(); ++row) {
        const std::vector<CellDefinition>& cells = builder.rows[size_t(row)];
        for (int cell = 0; cell < int(cells.size()); ++cell) {
            const CellDefinition& definition = cells[size_t(cell)];
            const int column = gridColumnOf(builder, cells, cell);
            if (definition.mergeNext || column >= table->columns())
                continue;
            int last = cell;
            while (last + 1 < int(cells.size()) && cells[size_t(last + 1)].mergeNext)
                ++last;
            const int columns = std::min(gridColumnOf(builder, cells, last + 1), table->columns()) - column;
            if (definition.shading) {
                QTextTableCell tableCell = table->cellAt(row, column);
                QTextTableCellFormat format = tableCell.format().toTableCellFormat();
                format.setBackground(*definition.shading);
                tableCell.setFormat(format);
            }
            const auto above = std::find_if(merges.begin(), merges.end(), [&](const Merge& m) {
                return m.column == column && m.row + m.rows == row;
            });
            if (definition.verticalNext && above != merges.end())
                ++above->rows;
            else if (columns > 1 || definition.verticalFirst)
                merges.push_back({row, column, 1, columns});
        }
    }
    for (const Merge& merge : merges) {
        const int rows = std::min(merge.rows, table->rows() - merge.row);
        const int columns = std::min(merge.columns, table->columns() - merge.column);
        if (rows > 1 || columns > 1)
            table->mergeCells(merge.row, merge.column, rows, columns);
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
    applyRows(builder);
    if (!builder.grid.empty()) {
        QTextTableFormat format = table->format();
        QList<QTextLength> widths;
        // Cell edges are the file's numbers, anything an int holds: widths are
        // taken in a wider type so that no difference overflows.
        qint64 left = 0;
        for (int i = 0; i < table->columns(); ++i) {
            const qint64 right = i < int(builder.grid.size()) ? builder.grid[size_t(i)] : left + 1440;
            widths << QTextLength(QTextLength::FixedLength,
                                  engine::twipsToDocument(double(std::clamp<qint64>(right - left, 1, 31680))));
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
