#include "engine/headerfooter.h"

#include "engine/pagesetup.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>

#include <algorithm>

namespace engine {

namespace {

const QTextDocument* partFor(int page, int flags, int everyFlag, int firstFlag,
                             const QTextDocument* every, const QTextDocument* first)
{
    if (page == 1 && (flags & firstFlag))
        return first;
    return flags & everyFlag ? every : nullptr;
}

} // namespace

const QTextDocument* HeaderFooterDocuments::headerFor(int page, int flags) const
{
    return partFor(page, flags, HeaderEveryPage, HeaderFirstPage, header, firstHeader);
}

const QTextDocument* HeaderFooterDocuments::footerFor(int page, int flags) const
{
    return partFor(page, flags, FooterEveryPage, FooterFirstPage, footer, firstFooter);
}

void paintInMargin(const QTextDocument& part, QPainter& painter, const QRectF& band,
                   double textLeft)
{
    if (band.height() <= 0)
        return;
    const double height = part.documentLayout()->documentSize().height();
    const double top = band.top() + std::max(0.0, (band.height() - height) / 2);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = band.translated(-textLeft, -top);
    // Paper is white whatever the desktop's colour scheme says.
    context.palette.setColor(QPalette::Text, Qt::black);
    painter.save();
    painter.setClipRect(band, Qt::IntersectClip);
    painter.translate(textLeft, top);
    part.documentLayout()->draw(&painter, context);
    painter.restore();
}

} // namespace engine
