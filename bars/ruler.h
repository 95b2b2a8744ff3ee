#pragma once
// The ruler above the text: centimetres from the text's left edge, the
// paragraph's indents and tab stops. Dragging a mark moves it; a click on
// the scale sets a tab stop; a tab stop dragged off the ruler goes away.

#include "bars/rulermodel.h"

#include <QWidget>

namespace bars {

class Ruler : public QWidget {
    Q_OBJECT
public:
    explicit Ruler(QWidget* parent = nullptr);

    // Shows a paragraph; ignored while the user drags.
    void showParagraph(const RulerSpan& span, const ParagraphMarks& marks);
    const RulerModel& model() const { return m_model; }
    QSize sizeHint() const override;

signals:
    // The user finished moving an indent.
    void indentsChanged(double left, double firstLine, double right);
    void tabsChanged(const QList<double>& tabs);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void paintScale(class QPainter& painter) const;
    void paintMarks(QPainter& painter) const;
    bool offRuler(const QPointF& point) const;

    RulerModel m_model;
    std::optional<Mark> m_dragged;
    ParagraphMarks m_before; // the marks when the drag began
};

} // namespace bars
