#pragma once
// The size a picture is placed at: pixels of the screen in twips, shrunk to
// the text width of the page when wider, never enlarged.

#include <QSize>
#include <QString>

namespace picture {

// A size in twips from pixels at the screen's dots per inch (twips = pixels × 1440 / dpi, rounded).
QSize pixelsToTwips(const QSize& pixels, double dpiX, double dpiY);
QSize twipsToPixels(const QSize& twips, double dpiX, double dpiY);

struct Fit {
    QSize twips;        // the size the picture will have
    bool shrunk = false;
    double ratio = 1.0; // maxWidth / original width when shrunk
};

// Never enlarges; shrinks to maxWidthTwips keeping the aspect ratio (height
// rounded) when the picture is wider; maxWidthTwips <= 0 means no limit.
Fit fitToWidth(const QSize& twips, int maxWidthTwips);
// The notice that the picture is shrunk by `ratio`, as a percentage with one decimal.
QString shrinkMessage(double ratio);

} // namespace picture
