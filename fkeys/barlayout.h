#pragma once
// Where the key bar puts its key strip and its status panel, in twips, for a
// bar of a given size.

#include <QRect>

namespace fkeys {

struct BarLayout {
    QRect strip;
    QRect panel;          // the panel's place; also where a progress bar goes
    bool panelShown = false;
};

// Full-group strips ("4|4|4") never show the panel; other strips show it when
// the bar is wider than 10,000 or taller than 500 twips: below a 270-twip
// strip on tall bars, to the right of a strip of 72 % of the width on low ones.
BarLayout layoutBar(int width, int height, bool fullGroupLayout);

} // namespace fkeys
