#include "editor/tablecommands.h"

#include "engine/textengine.h"

namespace editor {

namespace {

using engine::TableSide;

std::optional<TableSide> sideNamed(const QString& word, const QString& before, const QString& after)
{
    if (word == before)
        return TableSide::Before;
    if (word == after)
        return TableSide::After;
    return std::nullopt;
}

TableCommands::Result doneIf(bool done)
{
    return done ? TableCommands::Result::Changed : TableCommands::Result::Skipped;
}

} // namespace

TableCommands::TableCommands(engine::TextEngine& engine, Host host)
    : m_engine(engine)
    , m_host(std::move(host))
{
}

TableCommands::Result TableCommands::insert(const QString& part)
{
    if (part == u"表") {
        if (!m_engine.canInsertTable())
            return Result::Skipped;
        return doneIf(m_host.openTablePage());
    }
    if (const std::optional<TableSide> side = sideNamed(part, QStringLiteral("左"), QStringLiteral("右")))
        return doneIf(m_engine.insertTableColumn(*side));
    if (const std::optional<TableSide> side = sideNamed(part, QStringLiteral("上"), QStringLiteral("下")))
        return doneIf(m_engine.insertTableRow(*side));
    return Result::Skipped;
}

TableCommands::Result TableCommands::split(const QString& part)
{
    const std::optional<TableSide> side = sideNamed(part, QStringLiteral("上"), QStringLiteral("下"));
    return side ? doneIf(m_engine.splitTable(*side)) : Result::Skipped;
}

TableCommands::Result TableCommands::remove(const QString& part)
{
    if (part == u"表")
        return doneIf(selectPart(engine::TablePart::Table) && m_engine.deleteSelectedTableRows());
    if (part == u"列")
        return doneIf(m_engine.deleteTableColumn());
    if (part == u"行")
        return doneIf(m_engine.deleteSelectedTableRows());
    return Result::Skipped;
}

TableCommands::Result TableCommands::select(const QString& part)
{
    const std::optional<engine::TablePart> named = partNamed(part);
    return named && selectPart(*named) ? Result::Unchanged : Result::Skipped;
}

TableCommands::Result TableCommands::attributes(const QString& part)
{
    const std::optional<engine::TablePart> named = partNamed(part);
    if (!named)
        return Result::Skipped;
    // The look belongs to the caret's row: a row's selection may end in a
    // merged cell that starts in a row above.
    const std::optional<engine::TableLook> current = m_engine.tableLook(*named);
    if (!current)
        return Result::Skipped;
    const int caretStart = m_engine.selectionStart();
    const int caretLength = m_engine.selectionLength();
    selectPart(*named);
    const std::optional<engine::TableLook> chosen = m_host.askLook(*current, *named);
    if (!chosen || *chosen == *current)
        return Result::Unchanged;
    m_engine.setSelection(caretStart, caretLength);
    const bool changed = m_engine.setTableLook(*named, *chosen);
    selectPart(*named);
    return changed ? Result::Changed : Result::Unchanged;
}

QString TableCommands::cellValue(int table, int row, int column) const
{
    return m_engine.cellText({table, row, column}).remove(QStringLiteral("\r\n"));
}

bool TableCommands::setCellValue(int table, int row, int column, const QString& text)
{
    return m_engine.setCellText({table, row, column}, text);
}

// The cell from the start of its first character to the end of its text; a
// row from its first cell to the end of its last; the table likewise.
bool TableCommands::selectPart(engine::TablePart part)
{
    const engine::CellAddress caret = m_engine.tableAtCaret();
    if (caret.table == 0)
        return false;
    engine::CellAddress first = caret;
    engine::CellAddress last = caret;
    if (part != engine::TablePart::Cell) {
        first.column = 1;
        last.column = m_engine.tableColumns(caret.table);
    }
    if (part == engine::TablePart::Table) {
        first.row = 1;
        last.row = m_engine.tableRows(caret.table);
    }
    const int start = m_engine.cellFirstPosition(first) - 1;
    const int end = m_engine.cellFirstPosition(last) - 1 + m_engine.cellLength(last);
    m_engine.setSelection(start, end - start);
    return true;
}

std::optional<engine::TablePart> TableCommands::partNamed(const QString& word)
{
    if (word == u"表")
        return engine::TablePart::Table;
    if (word == u"行")
        return engine::TablePart::Row;
    if (word == u"ｾﾙ")
        return engine::TablePart::Cell;
    return std::nullopt;
}

} // namespace editor
