#include "engine/pagelayout.h"

#include "engine/layoutdevice.h"
#include "engine/pagedcopy.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrl>

#include <algorithm>
#include <array>
#include <vector>

namespace engine {

namespace {

// Pages are laid out at this resolution whatever they are painted on, with
// the fonts' own (unhinted) advances so that print and PDF spacing is true.
// A coarse resolution keeps layout quick and documents of many thousands of
// pages inside the layout's fixed-point range.
constexpr int kLayoutDpi = 96;
// Far enough past a line's edge for the layout's clip test, which counts in
// sixty-fourths, to leave the line out.
constexpr double kBeyondLine = 0.1;

double toLayoutUnits(double twips)
{
    return twips * kLayoutDpi / kTwipsPerInch;
}

QRectF toLayoutUnits(const QRectF& twips)
{
    return QRectF(toLayoutUnits(twips.x()), toLayoutUnits(twips.y()),
                  toLayoutUnits(twips.width()), toLayoutUnits(twips.height()));
}

} // namespace

struct PageLayout::Impl {
    // Declared first: every document below keeps a pointer to it.
    LayoutDevice device{kLayoutDpi};
    QSizeF sheetTwips;
    QSizeF sheet;         // layout units
    QRectF printable;     // on the sheet, layout units
    int flags = 0;
    std::unique_ptr<PagedCopy> bodyCopy;
    QTextDocument* body = nullptr;                   // bodyCopy's document
    std::array<std::unique_ptr<PagedCopy>, 4> parts; // private copies of the margin texts
    HeaderFooterDocuments margins;                   // pointing at `parts`

    std::unique_ptr<PagedCopy> marginCopy(const QTextDocument* source, int flag);
    void copyMargins(const HeaderFooterDocuments& headerFooter);
    void paintBody(int page, QPainter& painter) const;
    bool isTall(const QTextLine& line) const;
    QTextBlock rootBlockAcross(double edge) const;
    double drawnUpTo(double pageBottom) const;
    double continuedBlock(double pageTop, QPainter& painter, const QRectF& page) const;
};

std::unique_ptr<PagedCopy> PageLayout::Impl::marginCopy(const QTextDocument* source, int flag)
{
    if (!source || !(flags & flag))
        return nullptr;
    return std::make_unique<PagedCopy>(*source, device, QSizeF(printable.width(), -1), false);
}

void PageLayout::Impl::copyMargins(const HeaderFooterDocuments& headerFooter)
{
    parts = {marginCopy(headerFooter.header, HeaderEveryPage), marginCopy(headerFooter.firstHeader, HeaderFirstPage),
             marginCopy(headerFooter.footer, FooterEveryPage), marginCopy(headerFooter.firstFooter, FooterFirstPage)};
    const auto document = [this](int i) { return parts[i] ? &parts[i]->document() : nullptr; };
    margins = {document(0), document(1), document(2), document(3)};
}

// Each line of text is drawn on one page only. Qt's layout draws every
// line of a block that meets the clip from the line before the first one
// inside it, and a line it moved to the next page may still reach a little
// into this one: the painter's clip hides such lines, but they would stay in
// a PDF's text, read twice by search, copy and screen readers. So a page's
// stretch ends above a line across its bottom edge that belongs to the next
// page (the one holding the line's middle), and a block that runs on from the
// page before is drawn here line by line.

// A line taller than half a page (a picture taller than the page) is drawn
// on every page it meets instead: each then shows its own part of it, where
// the rule of the middle would leave the part on the other page blank.
bool PageLayout::Impl::isTall(const QTextLine& line) const
{
    return line.height() > printable.height() / 2;
}

// The block of the main text whose lines run across `edge`; invalid where
// none does, or where the edge falls into a table or frame.
QTextBlock PageLayout::Impl::rootBlockAcross(double edge) const
{
    const QAbstractTextDocumentLayout& layout = *body->documentLayout();
    const QTextBlock block = body->findBlock(layout.hitTest(QPointF(printable.width() / 2, edge), Qt::FuzzyHit));
    if (!block.isValid() || !block.layout() || block.layout()->lineCount() == 0
        || QTextCursor(block).currentFrame() != body->rootFrame())
        return {};
    const QRectF rect = layout.blockBoundingRect(block);
    return rect.top() < edge && rect.bottom() > edge ? block : QTextBlock();
}

double PageLayout::Impl::drawnUpTo(double pageBottom) const
{
    // A line that starts right at the edge belongs to the next page.
    const double edge = pageBottom - kBeyondLine;
    const QTextBlock block = rootBlockAcross(pageBottom);
    if (!block.isValid())
        return edge;
    const QTextLayout& lines = *block.layout();
    for (int i = 0; i < lines.lineCount(); ++i) {
        const QTextLine line = lines.lineAt(i);
        const double top = lines.position().y() + line.y();
        if (top < pageBottom && top + line.height() > pageBottom)
            return !isTall(line) && top + line.height() / 2 >= pageBottom ? top - kBeyondLine : pageBottom;
    }
    return edge;
}

// Draws the lines on this page of a block that began on the page before, with
// its background; returns where the rest of the page starts (pageTop when no
// block runs on).
double PageLayout::Impl::continuedBlock(double pageTop, QPainter& painter, const QRectF& page) const
{
    const QTextBlock block = rootBlockAcross(pageTop);
    if (!block.isValid())
        return pageTop;
    const QTextLayout& lines = *block.layout();
    const QTextLine first = lines.lineAt(0);
    if (lines.position().y() + first.y() + first.height() / 2 >= pageTop)
        return pageTop; // it begins on this page: the layout draws it whole
    const QRectF rect = body->documentLayout()->blockBoundingRect(block);
    if (const QBrush background = block.blockFormat().background(); background.style() != Qt::NoBrush)
        painter.fillRect(rect & page, background);
    painter.setPen(Qt::black);
    for (int i = 0; i < lines.lineCount(); ++i) {
        const QTextLine line = lines.lineAt(i);
        const double top = lines.position().y() + line.y();
        const double middle = top + line.height() / 2;
        const bool meetsPage = top < page.bottom() && top + line.height() > pageTop;
        if (isTall(line) ? meetsPage : middle >= pageTop && middle < page.bottom())
            line.draw(&painter, lines.position());
    }
    return rect.bottom() + kBeyondLine;
}

void PageLayout::Impl::paintBody(int page, QPainter& painter) const
{
    const double pageTop = (page - 1) * printable.height();
    // Wide tables and pictures may reach into the side margins, as on paper.
    const QRectF clip(-printable.left(), pageTop, sheet.width(), printable.height());
    painter.save();
    painter.translate(printable.left(), printable.top() - pageTop);
    painter.setClipRect(clip, Qt::IntersectClip);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = clip;
    context.clip.setTop(continuedBlock(pageTop, painter, clip));
    context.clip.setBottom(drawnUpTo(clip.bottom()));
    // Paper is white whatever the desktop's colour scheme says.
    context.palette.setColor(QPalette::Text, Qt::black);
    if (context.clip.height() > 0)
        body->documentLayout()->draw(&painter, context);
    painter.restore();
}

PageLayout::PageLayout(const QTextDocument& body, const PageSetup& setup,
                       const HeaderFooterDocuments& headerFooter)
    : d(std::make_unique<Impl>())
{
    const UsableSheet usable = usableSheet(setup);
    d->sheetTwips = usable.size;
    d->sheet = QSizeF(toLayoutUnits(usable.size.width()), toLayoutUnits(usable.size.height()));
    d->printable = toLayoutUnits(usable.printable());
    d->flags = setup.headerFooterFlags;
    d->bodyCopy = std::make_unique<PagedCopy>(body, d->device, d->printable.size(), true);
    d->body = &d->bodyCopy->document();
    d->copyMargins(headerFooter);
}

PageLayout::~PageLayout() = default;

void PageLayout::recordBodyChange(const QTextDocument& body, int position, int charsRemoved, int charsAdded)
{
    d->bodyCopy->recordChange(body, position, charsRemoved, charsAdded);
}

bool PageLayout::catchUp(const QTextDocument& body)
{
    return d->bodyCopy->catchUp(body);
}

void PageLayout::replaceMargins(const HeaderFooterDocuments& headerFooter)
{
    d->copyMargins(headerFooter);
}

int PageLayout::pageCount() const
{
    return std::max(1, d->body->pageCount());
}

QSizeF PageLayout::sheetTwips() const
{
    return d->sheetTwips;
}

bool PageLayout::paintPage(int page, QPainter& painter, const QRectF& target) const
{
    if (page < 1 || page > pageCount() || target.isEmpty())
        return false;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / d->sheet.width(), target.height() / d->sheet.height());
    d->paintBody(page, painter);
    if (const QTextDocument* header = d->margins.headerFor(page, d->flags))
        paintInMargin(*header, painter, QRectF(0, 0, d->sheet.width(), d->printable.top()),
                      d->printable.left(), page);
    if (const QTextDocument* footer = d->margins.footerFor(page, d->flags))
        paintInMargin(*footer, painter,
                      QRectF(0, d->printable.bottom(), d->sheet.width(),
                             d->sheet.height() - d->printable.bottom()),
                      d->printable.left(), page);
    painter.restore();
    return true;
}

} // namespace engine
