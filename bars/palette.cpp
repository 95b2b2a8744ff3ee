#include "bars/palette.h"

#include <array>

namespace bars {

std::span<const PaletteEntry> palette()
{
    static const std::array<PaletteEntry, 10> entries{{
        {QStringLiteral("Bk"), QStringLiteral("Black"), QStringLiteral("黒"), 0x000000},
        {QStringLiteral("Gy"), QStringLiteral("Gray"), QStringLiteral("灰色"), 0x808080},
        {QStringLiteral("Br"), QStringLiteral("Brown"), QStringLiteral("茶色"), 0x000080},
        {QStringLiteral("Nv"), QStringLiteral("Navy"), QStringLiteral("紺"), 0x800000},
        {QStringLiteral("Bl"), QStringLiteral("Blue"), QStringLiteral("青"), 0xFF0000},
        {QStringLiteral("Rd"), QStringLiteral("Red"), QStringLiteral("赤"), 0x0000FF},
        {QStringLiteral("Gr"), QStringLiteral("Green"), QStringLiteral("緑"), 0x00FF00},
        {QStringLiteral("Yw"), QStringLiteral("Yellow"), QStringLiteral("黄"), 0x00FFFF},
        {QStringLiteral("Pr"), QStringLiteral("Purple"), QStringLiteral("紫"), 0x800080},
        {QStringLiteral("Wh"), QStringLiteral("White"), QStringLiteral("白"), 0xFFFFFF},
    }};
    return entries;
}

QString colorTip(ColorTarget target, const PaletteEntry& entry)
{
    const QString prefix = target == ColorTarget::Text ? QStringLiteral("文字色(") : QStringLiteral("文字背景色(");
    return prefix + entry.text + QStringLiteral(")を設定します");
}

QString pickerTitle(ColorTarget target)
{
    return target == ColorTarget::Text ? QStringLiteral("文字色") : QStringLiteral("背景色");
}

} // namespace bars
