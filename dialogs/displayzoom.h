#pragma once
// The zoom the display page's options stand for: a fixed percentage, the
// paper fitted to the editor window (its width, or the whole page), or a
// typed number; always within what the view can show.

#include <QSizeF>
#include <QString>

namespace dialogs {

// The zoom options in the order the page shows them.
enum class ZoomOption : int {
    Percent150 = 0,
    Percent125,
    Percent100,
    Percent75,
    Percent50,
    FitPage,
    FitWidth,
    Typed,
};

constexpr int kMinZoom = 10;
constexpr int kMaxZoom = 400;

// What the fit options and the typed option measure; lengths in twips.
struct ZoomBasis {
    QSizeF window; // the editor window
    QSizeF paper;  // the sheet as laid out
    QString typed; // the zoom box
};

// Below 10 becomes 10, above 400 becomes 400.
int clampedZoom(double percent);
// The zoom `option` gives, rounded and clamped; typed text that is not a
// number counts as 0.
int zoomOf(ZoomOption option, const ZoomBasis& basis);
// The fixed option showing `zoom`, else Typed.
ZoomOption optionShowing(int zoom);

} // namespace dialogs
