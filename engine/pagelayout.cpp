#include "engine/pagelayout.h"

#include "engine/layoutdevice.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

#include <algorithm>

namespace engine {

namespace {

// Pages are laid out at this resolution whatever they are painted on: fine
// enough that screen hinting does not distort printed text, coarse enough that
// documents of thousands of pages stay inside the layout's fixed-point range.
constexpr int kLayoutDpi = 360;

// Page setups come from files and hosts; keep them within sizes a layout can bear.
constexpr double kMinSheetTwips = 720;           // half an inch
constexpr double kMaxSheetTwips = 200 * 1440;    // 200 inches
constexpr double kMinPrintableTwips = 360;       // quarter of an inch of text

double toLayoutUnits(double twips)
{
    return twips * kLayoutDpi / kTwipsPerInch;
}

// Shrinks two opposite margins together so that at least the minimum printable
// length remains between them.
void fitMargins(double sheet, double& before, double& after)
{
    before = std::max(0.0, before);
    after = std::max(0.0, after);
    const double room = sheet - kMinPrintableTwips;
    if (before + after > room) {
        const double scale = room / (before + after);
        before *= scale;
        after *= scale;
    }
}

// A page break written as character 12 becomes the paragraph break policy the
// layout understands; the character itself takes no room on the page. A break
// at a paragraph's edge marks that paragraph; anywhere else, and where two
// breaks meet or the document ends, the paragraph is split so that the break
// still starts a page of its own.
void setPageBreakPolicy(QTextCursor cursor, QTextFormat::PageBreakFlags policy)
{
    QTextBlockFormat format;
    format.setPageBreakPolicy(policy);
    cursor.mergeBlockFormat(format);
}

void turnFormFeedsIntoPageBreaks(QTextDocument& document)
{
    const QString formFeed(QChar(u'\f'));
    QTextCursor found = document.find(formFeed);
    while (!found.isNull()) {
        const QTextBlock block = found.block();
        const auto policy = block.blockFormat().pageBreakPolicy();
        const int offset = found.selectionStart() - block.position();
        const bool lastInBlock = offset == block.length() - 2;
        found.removeSelectedText();
        if (offset == 0 && !(policy & QTextFormat::PageBreak_AlwaysBefore)) {
            setPageBreakPolicy(found, policy | QTextFormat::PageBreak_AlwaysBefore);
        } else if (lastInBlock && offset > 0 && block.next().isValid()) {
            setPageBreakPolicy(found, policy | QTextFormat::PageBreak_AlwaysAfter);
        } else {
            // A break after the paragraph belongs to its second half.
            found.insertBlock();
            setPageBreakPolicy(QTextCursor(block), policy & ~QTextFormat::PageBreak_AlwaysAfter);
            setPageBreakPolicy(found, (policy & QTextFormat::PageBreak_AlwaysAfter)
                                          | QTextFormat::PageBreak_AlwaysBefore);
        }
        found = document.find(formFeed, found.position());
    }
}

// A private copy of `source` laid out on `device` at `width`, cut into pages of
// `pageHeight` (no pages when negative), without the marks a screen may show.
std::unique_ptr<QTextDocument> layoutCopy(const QTextDocument& source, LayoutDevice& device,
                                          const QSizeF& pageSize, bool breakAtFormFeeds)
{
    std::unique_ptr<QTextDocument> copy(source.clone());
    copy->setUndoRedoEnabled(false);
    if (breakAtFormFeeds)
        turnFormFeedsIntoPageBreaks(*copy);
    copy->documentLayout()->setPaintDevice(&device);

    QTextOption option = copy->defaultTextOption();
    option.setFlags(option.flags() & ~(QTextOption::ShowTabsAndSpaces
                                       | QTextOption::ShowLineAndParagraphSeparators
                                       | QTextOption::ShowDocumentTerminator));
    copy->setDefaultTextOption(option);

    QTextFrameFormat root = copy->rootFrame()->frameFormat();
    root.setMargin(0);
    root.setPadding(0);
    copy->rootFrame()->setFrameFormat(root);

    copy->setPageSize(pageSize);
    return copy;
}

void drawDocument(const QTextDocument& document, QPainter& painter, const QRectF& clip)
{
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = clip;
    // Paper is white whatever the desktop's colour scheme says.
    context.palette.setColor(QPalette::Text, Qt::black);
    painter.save();
    painter.setClipRect(clip, Qt::IntersectClip);
    document.documentLayout()->draw(&painter, context);
    painter.restore();
}

} // namespace

struct PageLayout::Impl {
    // Declared first: every document below keeps a pointer to it.
    LayoutDevice device{kLayoutDpi};
    QSizeF sheetTwips;
    QSizeF sheet;         // layout units
    QRectF printable;     // on the sheet, layout units
    int flags = 0;
    std::unique_ptr<QTextDocument> body;
    std::unique_ptr<QTextDocument> header;
    std::unique_ptr<QTextDocument> firstHeader;
    std::unique_ptr<QTextDocument> footer;
    std::unique_ptr<QTextDocument> firstFooter;

    void measure(const PageSetup& setup);
    std::unique_ptr<QTextDocument> marginCopy(const QTextDocument* source, int flag);
    const QTextDocument* headerOf(int page) const;
    const QTextDocument* footerOf(int page) const;
    void paintBody(int page, QPainter& painter) const;
    void paintInBand(const QTextDocument* part, const QRectF& band, QPainter& painter) const;
};

void PageLayout::Impl::measure(const PageSetup& setup)
{
    QSizeF twips = setup.sheetTwips();
    twips = QSizeF(std::clamp(twips.width(), kMinSheetTwips, kMaxSheetTwips),
                   std::clamp(twips.height(), kMinSheetTwips, kMaxSheetTwips));
    double left = setup.marginLeft, right = setup.marginRight;
    double top = setup.marginTop, bottom = setup.marginBottom;
    fitMargins(twips.width(), left, right);
    fitMargins(twips.height(), top, bottom);

    sheetTwips = twips;
    sheet = QSizeF(toLayoutUnits(twips.width()), toLayoutUnits(twips.height()));
    printable = QRectF(toLayoutUnits(left), toLayoutUnits(top),
                       toLayoutUnits(twips.width() - left - right),
                       toLayoutUnits(twips.height() - top - bottom));
    flags = setup.headerFooterFlags;
}

std::unique_ptr<QTextDocument> PageLayout::Impl::marginCopy(const QTextDocument* source, int flag)
{
    if (!source || !(flags & flag))
        return nullptr;
    return layoutCopy(*source, device, QSizeF(printable.width(), -1), false);
}

const QTextDocument* PageLayout::Impl::headerOf(int page) const
{
    if (page == 1 && (flags & HeaderFirstPage))
        return firstHeader.get();
    return header.get();
}

const QTextDocument* PageLayout::Impl::footerOf(int page) const
{
    if (page == 1 && (flags & FooterFirstPage))
        return firstFooter.get();
    return footer.get();
}

void PageLayout::Impl::paintBody(int page, QPainter& painter) const
{
    const double pageTop = (page - 1) * printable.height();
    painter.save();
    painter.translate(printable.left(), printable.top() - pageTop);
    // Wide tables and pictures may reach into the side margins, as on paper.
    drawDocument(*body, painter,
                 QRectF(-printable.left(), pageTop, sheet.width(), printable.height()));
    painter.restore();
}

// Headers and footers sit centred in their margin; what does not fit is cut
// rather than drawn over the body text.
void PageLayout::Impl::paintInBand(const QTextDocument* part, const QRectF& band,
                                   QPainter& painter) const
{
    if (!part || band.height() <= 0)
        return;
    const double height = part->documentLayout()->documentSize().height();
    const double top = band.top() + std::max(0.0, (band.height() - height) / 2);
    painter.save();
    painter.setClipRect(band, Qt::IntersectClip);
    painter.translate(printable.left(), top);
    drawDocument(*part, painter, QRectF(-printable.left(), band.top() - top, sheet.width(),
                                        band.height()));
    painter.restore();
}

PageLayout::PageLayout(const QTextDocument& body, const PageSetup& setup,
                       const HeaderFooterDocuments& headerFooter)
    : d(std::make_unique<Impl>())
{
    d->measure(setup);
    d->body = layoutCopy(body, d->device, d->printable.size(), true);
    d->header = d->marginCopy(headerFooter.header, HeaderEveryPage);
    d->firstHeader = d->marginCopy(headerFooter.firstHeader, HeaderFirstPage);
    d->footer = d->marginCopy(headerFooter.footer, FooterEveryPage);
    d->firstFooter = d->marginCopy(headerFooter.firstFooter, FooterFirstPage);
}

PageLayout::~PageLayout() = default;

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
    d->paintInBand(d->headerOf(page), QRectF(0, 0, d->sheet.width(), d->printable.top()),
                   painter);
    d->paintInBand(d->footerOf(page),
                   QRectF(0, d->printable.bottom(), d->sheet.width(),
                          d->sheet.height() - d->printable.bottom()),
                   painter);
    painter.restore();
    return true;
}

} // namespace engine
