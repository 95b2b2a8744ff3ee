#include "engine/pagesetup.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace engine {

namespace {

constexpr double kMinSheetTwips = 720;         // half an inch
constexpr double kMaxSheetTwips = 200 * 1440;  // 200 inches
constexpr double kMinPrintableTwips = 360;     // a quarter of an inch of text

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

} // namespace

UsableSheet usableSheet(const PageSetup& setup)
{
    const QSizeF asked = setup.sheetTwips();
    const QSizeF size(std::clamp(asked.width(), kMinSheetTwips, kMaxSheetTwips),
                      std::clamp(asked.height(), kMinSheetTwips, kMaxSheetTwips));
    double left = setup.marginLeft, right = setup.marginRight;
    double top = setup.marginTop, bottom = setup.marginBottom;
    fitMargins(size.width(), left, right);
    fitMargins(size.height(), top, bottom);
    return {size, QMarginsF(left, top, right, bottom)};
}

int wholeTwips(double twips)
{
    constexpr double kLimit = std::numeric_limits<int>::max();
    return int(std::nearbyint(std::clamp(std::isfinite(twips) ? twips : 0.0, -kLimit, kLimit)));
}

} // namespace engine
