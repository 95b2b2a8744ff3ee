#pragma once
// Paints what a page view shows behind and around the body text: the desk,
// the sheets with their shadows, and each sheet's header and footer.

#include "engine/headerfooter.h"
#include "engine/pagegeometry.h"

class QPainter;

namespace engine {

class PageBackdrop {
public:
    PageBackdrop(const PageGeometry& geometry, const HeaderFooterDocuments& margins,
                 int headerFooterFlags);

    // Paints pages `first` to `last` (1-based) into `painter`, which is in
    // layout coordinates; `visible` is the part of the layout on screen.
    void paint(QPainter& painter, const QRectF& visible, int first, int last) const;

    static QColor deskColor();

private:
    void paintSheet(QPainter& painter, int page) const;

    const PageGeometry& m_geometry;
    HeaderFooterDocuments m_margins;
    int m_flags;
};

} // namespace engine
