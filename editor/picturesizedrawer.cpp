#include "editor/picturesizedrawer.h"

#include "editor/picturetools.h"

#include <QMouseEvent>
#include <QRubberBand>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

namespace editor {

PictureSizeDrawer::PictureSizeDrawer(QWidget* viewport, QObject* parent)
    : QObject(parent)
    , m_viewport(viewport)
    , m_band(new QRubberBand(QRubberBand::Rectangle, viewport))
{
    m_band->hide();
    viewport->installEventFilter(this);
}

void PictureSizeDrawer::start()
{
    if (!m_viewport)
        return;
    m_drawing = true;
    m_dragging = false;
    m_viewport->setCursor(Qt::CrossCursor);
}

double PictureSizeDrawer::twipsPerPixel() const
{
    const int dpi = m_viewport->logicalDpiX();
    return dpi > 0 ? 1440.0 / dpi : kRestRectangleTwips;
}

bool PictureSizeDrawer::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_drawing || watched != m_viewport)
        return false;
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease
        && type != QEvent::MouseButtonDblClick)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint at = mouse->position().toPoint();
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
        m_origin = at;
        m_dragging = true;
        m_band->setGeometry(QRect(m_origin, QSize(1, 1)));
        m_band->show();
    } else if (type == QEvent::MouseMove && m_dragging) {
        m_band->setGeometry(QRect(m_origin, at).normalized());
    } else if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton && m_dragging) {
        finish(at);
    }
    // The text under the band is neither selected nor clicked.
    return true;
}

void PictureSizeDrawer::finish(const QPoint& end)
{
    const QPoint drag = end - m_origin;
    const double perPixel = twipsPerPixel();
    const QSizeF twips(std::max(kRestRectangleTwips, std::abs(drag.x()) * perPixel),
                       std::max(kRestRectangleTwips, std::abs(drag.y()) * perPixel));
    m_band->setGeometry(QRect(m_origin, QSize(1, 1)));
    m_band->hide();
    m_drawing = false;
    m_dragging = false;
    m_viewport->unsetCursor();
    emit drawn(twips);
}

} // namespace editor
