#pragma once
// The ten colours of the format bar's two pickers, and the tool tip the
// apply button shows for the colour picked.

#include <QString>
#include <span>

namespace bars {

struct PaletteEntry {
    QString key;  // "Bk", "Gy", …
    QString text;    // "Black", "Gray", …
    QString caption; // what the picker lists: "黒", "灰色", …
    int color;    // 0x00BBGGRR
};

// In picker order.
std::span<const PaletteEntry> palette();

enum class ColorTarget { Text, Background };

// "文字色(Black)を設定します" or "文字背景色(Black)を設定します".
QString colorTip(ColorTarget target, const PaletteEntry& entry);
// The picker's title, shown while no colour is chosen: "文字色" or "背景色".
QString pickerTitle(ColorTarget target);

} // namespace bars
