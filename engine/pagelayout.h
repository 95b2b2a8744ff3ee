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

// Lays the document out once, when made; make a new one after the document or
// its page setup changed.
class PageLayout {
public:
    PageLayout(const QTextDocument& body, const PageSetup& setup,
               const HeaderFooterDocuments& headerFooter = {});
    ~PageLayout();
    PageLayout(const PageLayout&) = delete;
    PageLayout& operator=(const PageLayout&) = delete;

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
