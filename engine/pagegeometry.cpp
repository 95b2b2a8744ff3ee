#include "engine/pagegeometry.h"

#include "engine/layoutdevice.h"

#include <QTextDocument>
#include <QTextFrame>

#include <algorithm>
#include <cmath>

namespace engine {

PageGeometry::PageGeometry(const PageSetup& setup, double dotsPerInch)
    : m_twips(usableSheet(setup))
    , m_scale(dotsPerInch / kTwipsPerInch)
{
}

QSizeF PageGeometry::documentPageSize() const
{
    return QSizeF(m_twips.size.width(), m_twips.size.height() + kPageGapTwips) * m_scale;
}

double PageGeometry::gap() const
{
    return kPageGapTwips * m_scale;
}

QRectF PageGeometry::sheet(int page) const
{
    const double top = (page - 1) * documentPageSize().height() + gap() / 2;
    return QRectF(QPointF(0, top), m_twips.size * m_scale);
}

QRectF PageGeometry::textArea(int page) const
{
    const QMarginsF margins = m_twips.margins * m_scale;
    return sheet(page).marginsRemoved(margins);
}

QRectF PageGeometry::headerBand(int page) const
{
    const QRectF paper = sheet(page);
    return QRectF(paper.left(), paper.top(), paper.width(), textArea(page).top() - paper.top());
}

QRectF PageGeometry::footerBand(int page) const
{
    const QRectF paper = sheet(page);
    const double textBottom = textArea(page).bottom();
    return QRectF(paper.left(), textBottom, paper.width(), paper.bottom() - textBottom);
}

int PageGeometry::pageAt(double y) const
{
    return std::max(1, static_cast<int>(std::floor(y / documentPageSize().height())) + 1);
}

QTextFrameFormat pagedRootFrame(QTextFrameFormat root, const PageSetup& setup)
{
    const double scale = LayoutDevice::formatDotsPerInch() / kTwipsPerInch;
    const QMarginsF margins = usableSheet(setup).margins;
    root.setLeftMargin(margins.left() * scale);
    root.setRightMargin(margins.right() * scale);
    root.setTopMargin((margins.top() + kPageGapTwips / 2) * scale);
    root.setBottomMargin((margins.bottom() + kPageGapTwips / 2) * scale);
    root.setPadding(0);
    root.setBorder(0);
    return root;
}

bool applyPagedRootFrame(QTextDocument& body, const PageSetup& setup)
{
    const QTextFrameFormat current = body.rootFrame()->frameFormat();
    const QTextFrameFormat wanted = pagedRootFrame(current, setup);
    if (wanted == current)
        return false;
    const bool hadHistory = body.isUndoAvailable() || body.isRedoAvailable();
    const bool wasModified = body.isModified();
    body.rootFrame()->setFrameFormat(wanted);
    if (!hadHistory)
        body.clearUndoRedoStacks();
    body.setModified(wasModified);
    return true;
}

} // namespace engine
