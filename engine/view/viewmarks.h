#pragma once
// Marks a view draws over the text and that never print: page breaks and the
// grid lines of tables.

class QPainter;
class QRectF;
class QTextDocument;

namespace engine {

// Draws a dashed line where a paragraph starts a new page. In a paged view the
// sheet edge shows the break already; the line then follows the last line
// before it, as a control character would.
void paintPageBreakMarks(QPainter& painter, const QTextDocument& document, const QRectF& visible,
                         bool paged);

// Draws dotted lines along the cell edges of every table in `visible`, so that
// tables without borders show their structure.
void paintTableGrid(QPainter& painter, const QTextDocument& document, const QRectF& visible);

} // namespace engine
