#pragma once
// Splits a document into pages of a page setup and paints any page, with its
// header and footer, into any painter (screen, printer, PDF, picture).

#include "engine/headerfooter.h"
#include "engine/pagesetup.h"

#include <QRectF>
#include <memory>

class QPainter;
class QTextDocument;

namespace engine {

// Lays the document out when made, on a private copy. Edits of the body are
// recorded as they happen and followed when next asked for (catchUp); make a
// new layout where they cannot be followed, and after a change of the page
// setup.
class PageLayout {
public:
    PageLayout(const QTextDocument& body, const PageSetup& setup,
               const HeaderFooterDocuments& headerFooter = {});
    ~PageLayout();
    PageLayout(const PageLayout&) = delete;
    PageLayout& operator=(const PageLayout&) = delete;

    // Notes a change of the body this layout was made from, with the values
    // of the body's contentsChange signal, right after it happened.
    void recordBodyChange(const QTextDocument& body, int position, int charsRemoved, int charsAdded);
    // Brings the pages up to date with the changes recorded; false where they
    // cannot be followed, and the layout must then be made again.
    bool catchUp(const QTextDocument& body);
    // Takes new copies of the header and footer texts, after one changed.
    void replaceMargins(const HeaderFooterDocuments& headerFooter);

    int pageCount() const;
    // The sheet every page is painted on, in twips, after landscape and after
    // sizes no printer could take have been brought into range.
    QSizeF sheetTwips() const;
    // Paints page `page` (1-based) so that the whole sheet fills `target`
    // (in the painter's coordinates). Out-of-range pages paint nothing and return false.
    bool paintPage(int page, QPainter& painter, const QRectF& target) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace engine
