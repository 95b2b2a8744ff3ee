#include "engine/snapshotbuilder.h"

#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

namespace engine {

SnapshotBuilder::SnapshotBuilder(QTextDocument& document, const QTextFrameFormat& rootFormat)
    : m_document(document)
    , m_undoWasEnabled(document.isUndoRedoEnabled())
{
    m_document.setUndoRedoEnabled(false);
    m_document.clear();
    m_cursor = QTextCursor(&m_document);
    m_cursor.beginEditBlock();
    m_document.rootFrame()->setFrameFormat(rootFormat);
}

SnapshotBuilder::~SnapshotBuilder()
{
    m_cursor.endEditBlock();
    m_document.setUndoRedoEnabled(m_undoWasEnabled);
}

void SnapshotBuilder::addPicture(const QString& name, const QImage& image)
{
    m_document.addResource(QTextDocument::ImageResource, QUrl(name), image);
}

void SnapshotBuilder::paragraph(bool reuse, const QTextBlockFormat& format, const QTextCharFormat& charFormat,
                                int list, const QTextListFormat& listFormat)
{
    if (reuse) {
        m_cursor.setBlockFormat(format);
        // A cell's first paragraph takes its character format from the cell
        // mark, which already carries the cell's format and spans.
        if (!m_atCellStart)
            m_cursor.setBlockCharFormat(charFormat);
        m_atCellStart = false;
    } else {
        m_cursor.insertBlock(format, charFormat);
    }
    if (list < 0)
        return;
    if (QTextList* existing = m_lists.value(list))
        existing->add(m_cursor.block());
    else
        m_lists.insert(list, m_cursor.createList(listFormat));
}

void SnapshotBuilder::text(const QString& text, const QTextCharFormat& format)
{
    m_cursor.insertText(text, format);
}

void SnapshotBuilder::floatingPictures(qsizetype count, const QTextImageFormat& format,
                                       const QTextFrameFormat& floatFormat)
{
    for (qsizetype i = 0; i < count; ++i) {
        m_cursor.insertImage(format, floatFormat.position());
        if (QTextFrame* frame = floatFrameBeforeCursor())
            frame->setFrameFormat(floatFormat);
    }
}

QTextFrame* SnapshotBuilder::floatFrameBeforeCursor() const
{
    const int position = m_cursor.position() - 1;
    const QTextBlock block = m_cursor.block();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().contains(position))
            return qobject_cast<QTextFrame*>(m_document.objectForFormat(it.fragment().charFormat()));
    }
    return nullptr;
}

void SnapshotBuilder::beginFrame(const QTextFrameFormat& format)
{
    m_open.append(m_cursor.insertFrame(format));
}

void SnapshotBuilder::beginTable(const QTextTableFormat& format, int rows, int columns)
{
    m_open.append(m_cursor.insertTable(rows, columns, format));
}

void SnapshotBuilder::beginCell(int row, int column, int rowSpan, int columnSpan, const QTextCharFormat& format)
{
    auto* table = static_cast<QTextTable*>(m_open.last());
    if (rowSpan > 1 || columnSpan > 1)
        table->mergeCells(row, column, rowSpan, columnSpan);
    QTextTableCell cell = table->cellAt(row, column);
    // A cell's format carries its spans; setting it must not undo the merge.
    QTextCharFormat cellFormat = format;
    cellFormat.setTableCellRowSpan(cell.rowSpan());
    cellFormat.setTableCellColumnSpan(cell.columnSpan());
    cell.setFormat(cellFormat);
    m_cursor.setPosition(cell.firstPosition());
    m_atCellStart = true;
}

void SnapshotBuilder::end()
{
    const QTextFrame* frame = m_open.takeLast();
    m_cursor.setPosition(frame->lastPosition() + 1);
}

} // namespace engine
