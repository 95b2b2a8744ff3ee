#include "engine/view/viewmarks.h"

#include "engine/documentwalk.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextTable>

#include <algorithm>
#include <limits>
#include <vector>

namespace engine {

namespace {

const QColor kMarkColor(0x4a, 0x78, 0xc8);

QPen markPen(Qt::PenStyle style)
{
    QPen pen(kMarkColor, 0, style);
    pen.setCosmetic(true);
    return pen;
}

// The stretch of a line of text after its last character, in layout coordinates.
QLineF afterLastLine(const QAbstractTextDocumentLayout& layout, const QTextBlock& block)
{
    const QRectF bounds = layout.blockBoundingRect(block);
    const QTextLayout* text = block.layout();
    if (!text || text->lineCount() == 0)
        return QLineF(bounds.left(), bounds.bottom(), bounds.right(), bounds.bottom());
    const QTextLine line = text->lineAt(text->lineCount() - 1);
    const double y = bounds.top() + line.y() + line.height() / 2;
    const double x = bounds.left() + line.x() + line.naturalTextWidth() + line.height();
    return QLineF(x, y, std::max(x, bounds.right()), y);
}

// The cell edges of one table along one direction: edge i lies between the
// content of column (or row) i − 1 and i, extrapolated at both ends.
class CellEdges {
public:
    explicit CellEdges(int count)
        : m_first(count, std::numeric_limits<double>::max())
        , m_last(count, std::numeric_limits<double>::lowest())
    {
    }

    void add(int index, int span, double from, double to)
    {
        m_first[index] = std::min(m_first[index], from);
        m_last[index + span - 1] = std::max(m_last[index + span - 1], to);
    }

    // Edges, or empty when some column or row held nothing to measure.
    std::vector<double> edges() const
    {
        const size_t count = m_first.size();
        for (size_t i = 0; i < count; ++i)
            if (m_first[i] > m_last[i])
                return {};
        std::vector<double> result(count + 1);
        double halfGap = 0;
        for (size_t i = 1; i < count; ++i) {
            result[i] = (m_last[i - 1] + m_first[i]) / 2;
            halfGap = std::max(halfGap, (m_first[i] - m_last[i - 1]) / 2);
        }
        result[0] = m_first[0] - halfGap;
        result[count] = m_last[count - 1] + halfGap;
        return result;
    }

private:
    std::vector<double> m_first;
    std::vector<double> m_last;
};

void paintGridOf(QPainter& painter, const QAbstractTextDocumentLayout& layout, QTextTable& table)
{
    CellEdges columns(table.columns());
    CellEdges rows(table.rows());
    for (int row = 0; row < table.rows(); ++row) {
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (cell.row() != row || cell.column() != column)
                continue; // covered by a merged cell
            const QRectF first = layout.blockBoundingRect(cell.firstCursorPosition().block());
            const QRectF last = layout.blockBoundingRect(cell.lastCursorPosition().block());
            columns.add(column, cell.columnSpan(), first.left(), first.right());
            rows.add(row, cell.rowSpan(), first.top(), last.bottom());
        }
    }
    const std::vector<double> x = columns.edges();
    const std::vector<double> y = rows.edges();
    if (x.empty() || y.empty())
        return;
    for (int row = 0; row < table.rows(); ++row) {
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (cell.row() != row || cell.column() != column)
                continue;
            painter.drawRect(QRectF(QPointF(x[column], y[row]),
                                    QPointF(x[column + cell.columnSpan()], y[row + cell.rowSpan()])));
        }
    }
}

} // namespace

void paintPageBreakMarks(QPainter& painter, const QTextDocument& document, const QRectF& visible,
                         bool paged)
{
    const QAbstractTextDocumentLayout& layout = *document.documentLayout();
    const int from = std::max(0, layout.hitTest(visible.topLeft(), Qt::FuzzyHit));
    const int to = layout.hitTest(visible.bottomRight(), Qt::FuzzyHit);
    painter.save();
    painter.setPen(markPen(Qt::DashLine));
    for (QTextBlock block = document.findBlock(from); block.isValid() && (to < 0 || block.position() <= to);
         block = block.next()) {
        if (!(block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
            continue;
        if (paged) {
            if (block.previous().isValid())
                painter.drawLine(afterLastLine(layout, block.previous()));
        } else {
            const QRectF bounds = layout.blockBoundingRect(block);
            painter.drawLine(QLineF(bounds.left(), bounds.top(), bounds.right(), bounds.top()));
        }
    }
    painter.restore();
}

void paintTableGrid(QPainter& painter, const QTextDocument& document, const QRectF& visible)
{
    // Asking the layout where a table lies lays the document out as far as
    // that table, and asking for the frame lays all of it out: this ran on
    // every paint. Tables come in the order of the text, so the first one
    // below the view, or one the layout has not reached yet, ends the search.
    const QAbstractTextDocumentLayout& layout = *document.documentLayout();
    painter.save();
    painter.setPen(markPen(Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    for (QTextFrame* frame : framesInOrder(document)) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        const QTextBlock first = table->cellAt(0, 0).firstCursorPosition().block();
        if (!first.layout() || first.layout()->lineCount() == 0
            || layout.blockBoundingRect(first).top() > visible.bottom())
            break;
        const QTextBlock last = table->cellAt(table->rows() - 1, table->columns() - 1).lastCursorPosition().block();
        if (layout.blockBoundingRect(last).bottom() >= visible.top())
            paintGridOf(painter, layout, *table);
    }
    painter.restore();
}

} // namespace engine
