#include "dialogs/displayzoom.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace dialogs {

namespace {

constexpr std::array<int, 5> kFixedZooms = {150, 125, 100, 75, 50};
// The fit options leave a little of the window free around the paper.
constexpr double kFitPercent = 97.0;

double ratio(double window, double paper)
{
    return paper > 0 ? window / paper : 0.0;
}

double typedPercent(const QString& text)
{
    bool number = false;
    const double value = text.trimmed().toDouble(&number);
    return number && std::isfinite(value) ? value : 0.0;
}

} // namespace

int clampedZoom(double percent)
{
    if (!(percent >= kMinZoom)) // NaN too
        return kMinZoom;
    return int(std::lround(std::min(percent, double(kMaxZoom))));
}

int zoomOf(ZoomOption option, const ZoomBasis& basis)
{
    switch (option) {
    case ZoomOption::FitWidth:
        return clampedZoom(ratio(basis.window.width(), basis.paper.width()) * kFitPercent);
    case ZoomOption::FitPage:
        return clampedZoom(std::min(ratio(basis.window.width(), basis.paper.width()),
                                    ratio(basis.window.height(), basis.paper.height()))
                           * kFitPercent);
    case ZoomOption::Typed:
        return clampedZoom(typedPercent(basis.typed));
    default:
        return kFixedZooms.at(size_t(option));
    }
}

ZoomOption optionShowing(int zoom)
{
    const auto found = std::find(kFixedZooms.begin(), kFixedZooms.end(), zoom);
    return found == kFixedZooms.end() ? ZoomOption::Typed : ZoomOption(found - kFixedZooms.begin());
}

} // namespace dialogs
