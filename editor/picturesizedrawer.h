#pragma once
// The mouse-drawing mode of the picture command that asks for a size: while
// it is on, dragging with the left button over the view draws a rubber band
// instead of selecting text, and letting go ends the mode and tells the size
// of the rectangle in screen twips (at least the rest size, 15 × 15).

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSizeF>

class QRubberBand;
class QWidget;

namespace editor {

class PictureSizeDrawer : public QObject {
    Q_OBJECT
public:
    explicit PictureSizeDrawer(QWidget* viewport, QObject* parent = nullptr);

    void start();
    bool isDrawing() const { return m_drawing; }

signals:
    void drawn(const QSizeF& rectangleTwips);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void finish(const QPoint& end);
    double twipsPerPixel() const;

    QPointer<QWidget> m_viewport;
    QPointer<QRubberBand> m_band;
    QPoint m_origin;
    bool m_drawing = false;
    bool m_dragging = false;
};

} // namespace editor
