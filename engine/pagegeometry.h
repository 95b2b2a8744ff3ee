#pragma once
// Where the sheets of a document shown page by page on screen lie in its
// layout, and the root frame margins that keep each sheet's margins and the
// gap between sheets free of text there.
//
// The document is given the page size documentPageSize(): one sheet plus one
// gap, so that sheet n occupies the n-th stretch of that height with half a
// gap above and below it.

#include "engine/pagesetup.h"

#include <QRectF>
#include <QTextFrameFormat>

class QTextDocument;

namespace engine {

// Grey space between two sheets on screen.
constexpr double kPageGapTwips = 288;

class PageGeometry {
public:
    // `dotsPerInch`: the resolution the document is laid out at.
    PageGeometry(const PageSetup& setup, double dotsPerInch);

    QSizeF documentPageSize() const;
    double gap() const;
    // Pages are numbered from 1; rectangles are in layout coordinates.
    QRectF sheet(int page) const;
    QRectF textArea(int page) const;
    QRectF headerBand(int page) const;
    QRectF footerBand(int page) const;
    // The page whose stretch holds `y` (at least 1).
    int pageAt(double y) const;

private:
    UsableSheet m_twips;
    double m_scale; // layout units per twip
};

// `root` with the margins that make a layout at page size documentPageSize()
// leave every sheet's margins free. Lengths in formats are counted at
// LayoutDevice::formatDotsPerInch().
QTextFrameFormat pagedRootFrame(QTextFrameFormat root, const PageSetup& setup);

// Gives `body` those root frame margins; returns whether anything changed.
// The margins are how the document is shown, not something the user did: it
// keeps its modified state, and a document without undo history is left
// without any. (With history Qt records the change as one more undo step.)
bool applyPagedRootFrame(QTextDocument& body, const PageSetup& setup);

} // namespace engine
