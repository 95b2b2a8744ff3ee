#include "engine/view/pagebackdrop.h"

#include <QPainter>

#include <algorithm>

namespace engine {

PageBackdrop::PageBackdrop(const PageGeometry& geometry, const HeaderFooterDocuments& margins,
                           int headerFooterFlags)
    : m_geometry(geometry)
    , m_margins(margins)
    , m_flags(headerFooterFlags)
{
}

QColor PageBackdrop::deskColor()
{
    return QColor(0x80, 0x80, 0x80);
}

void PageBackdrop::paint(QPainter& painter, const QRectF& visible, int first, int last) const
{
    painter.fillRect(visible, deskColor());
    for (int page = first; page <= last; ++page)
        paintSheet(painter, page);
}

void PageBackdrop::paintSheet(QPainter& painter, int page) const
{
    const QRectF sheet = m_geometry.sheet(page);
    const double shadow = std::max(2.0, m_geometry.gap() / 4);
    painter.fillRect(sheet.translated(shadow, shadow), QColor(0x40, 0x40, 0x40));
    painter.fillRect(sheet, Qt::white);
    if (const QTextDocument* header = m_margins.headerFor(page, m_flags))
        paintInMargin(*header, painter, m_geometry.headerBand(page), m_geometry.textArea(page).left(), page);
    if (const QTextDocument* footer = m_margins.footerFor(page, m_flags))
        paintInMargin(*footer, painter, m_geometry.footerBand(page), m_geometry.textArea(page).left(), page);
}

} // namespace engine
