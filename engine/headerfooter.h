#pragma once
// Which header and footer text a page shows, and how such a text is placed in
// its margin; shared by printed pages and the on-screen page view.

#include <QRectF>

class QPainter;
class QTextDocument;

namespace engine {

// The four optional header/footer texts; null where a document has none.
struct HeaderFooterDocuments {
    const QTextDocument* header = nullptr;       // every page (or every page but the first)
    const QTextDocument* firstHeader = nullptr;  // first page, when HeaderFirstPage is set
    const QTextDocument* footer = nullptr;
    const QTextDocument* firstFooter = nullptr;

    // The text page `page` (1-based) shows under HeaderFooterFlag bits `flags`.
    const QTextDocument* headerFor(int page, int flags) const;
    const QTextDocument* footerFor(int page, int flags) const;
};

// The HeaderFooterFlag of the header (or footer) page `page` shows under
// `flags`: its first-page part on page 1 where that is on, else the every-page
// part where that is on; 0 for none.
int headerPartFor(int page, int flags);
int footerPartFor(int page, int flags);

// Paints `part` as page `page` shows it (its page-number fields reading that
// number), laid out at the text width, centred in the margin `band` with its
// left edge at `textLeft`; what does not fit is cut rather than drawn over
// the body text.
void paintInMargin(const QTextDocument& part, QPainter& painter, const QRectF& band,
                   double textLeft, int page);

} // namespace engine
