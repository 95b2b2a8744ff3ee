#include "fkeys/barlayout.h"

namespace fkeys {

namespace {
constexpr int kWideBar = 10000;
constexpr int kTallBar = 500;
constexpr int kStripHeight = 270;
constexpr double kStripShare = 0.72;
} // namespace

BarLayout layoutBar(int width, int height, bool fullGroupLayout)
{
    BarLayout layout;
    if (height >= kTallBar) {
        layout.strip = QRect(0, 0, width, kStripHeight);
        layout.panel = QRect(0, kStripHeight, width, height - kStripHeight);
    } else {
        const int stripWidth = static_cast<int>(width * kStripShare);
        layout.strip = QRect(0, 0, stripWidth, height);
        layout.panel = QRect(stripWidth, 0, width - stripWidth, height);
    }
    layout.panelShown = !fullGroupLayout && (width > kWideBar || height > kTallBar);
    if (!layout.panelShown)
        layout.strip = QRect(0, 0, width, height);
    return layout;
}

} // namespace fkeys
