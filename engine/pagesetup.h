#pragma once
// Paper, margins and header/footer switches of one document, in twips.

#include <QMarginsF>
#include <QRectF>
#include <QSizeF>

namespace engine {

// Header/footer flags as the host passes them; several may be combined.
enum HeaderFooterFlag : int {
    HeaderEveryPage = 1,
    HeaderFirstPage = 2,
    FooterEveryPage = 4,
    FooterFirstPage = 8,
};

struct PageSetup {
    int paperWidth = 12240;    // twips, as set by the host (landscape does not swap them)
    int paperHeight = 15840;
    // Margins keep fractions: a centimetre is 567 twips, so 1.5 cm is 850.5.
    double marginLeft = 1440;
    double marginTop = 1440;
    double marginRight = 1440;
    double marginBottom = 1440;
    bool landscape = false;
    int headerFooterFlags = 0; // HeaderFooterFlag bits

    bool operator==(const PageSetup&) const = default;

    // The sheet as laid out: width and height swapped when landscape asks for it
    // and the host passed portrait numbers.
    QSizeF sheetTwips() const
    {
        const bool swap = landscape ? paperWidth < paperHeight : false;
        return swap ? QSizeF(paperHeight, paperWidth) : QSizeF(paperWidth, paperHeight);
    }
};

// The sheet as laid out and its margins, in twips, once sizes no layout could
// bear (from a damaged file, say) have been brought into range.
struct UsableSheet {
    QSizeF size;
    QMarginsF margins;

    QRectF printable() const { return QRectF(QPointF(), size).marginsRemoved(margins); }
};

UsableSheet usableSheet(const PageSetup& setup);

// Whole twips for formats that store only integers (half to even, as the
// host rounds).
int wholeTwips(double twips);

constexpr double kTwipsPerInch = 1440.0;
constexpr double kTwipsPerPoint = 20.0;

} // namespace engine
