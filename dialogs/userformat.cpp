#include "dialogs/userformat.h"

#include <QStringList>
#include <algorithm>
#include <limits>
#include <optional>

namespace dialogs {

namespace {

constexpr int kFieldCount = 14;

struct DefaultColumn {
    qint16 size;
    qint32 textColor;
    qint16 bold;
    qint16 attributeA;
    qint16 leftIndent;
    qint16 spacing1;
    qint16 spacing2;
};

constexpr std::array<DefaultColumn, kUserFormatCount> kDefaults = {{
    {14, 0x505A85, 1, 0, 160, 180, 160},
    {12, 0x4D6854, 1, 0, 160, 140, 120},
    {11, 0x563F3A, 1, 0, 160, 100, 80},
    {10, 0, 0, 0, 60, 0, 0},
    {10, 0x80, 0, 0, 60, 0, 0},
    {9, 0x808080, 0, 0, 60, 0, 0},
    {9, 0x563F3A, 0, 1, 0, 0, 0},
    {9, 0x563F3A, 0, 1, 0, 0, 0},
}};

template <typename Int>
std::optional<Int> integerIn(const QString& text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok || value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max())
        return std::nullopt;
    return static_cast<Int>(value);
}

// Attribute D: old files stored the body value as "32".
std::optional<qint16> attributeD(const QString& text)
{
    if (text == u"32")
        return kBodyAttributeD;
    return integerIn<qint16>(text);
}

} // namespace

UserFormat UserFormat::defaults(int index)
{
    const DefaultColumn& column = kDefaults[std::clamp(index, 0, kUserFormatCount - 1)];
    UserFormat record;
    record.fontName = QStringLiteral("ＭＳ Ｐゴシック");
    record.size = column.size;
    record.textColor = column.textColor;
    record.backgroundColor = 0xFFFFFF;
    record.bold = column.bold;
    record.attributes = {column.attributeA, 0, 0, 0};
    record.leftIndent = column.leftIndent;
    record.spacing = {column.spacing1, column.spacing2, 0, 0};
    return record;
}

QString UserFormat::toText() const
{
    QStringList parts{fontName, QString::number(size), QString::number(textColor),
                      QString::number(backgroundColor), QString::number(bold)};
    for (const qint16 attribute : attributes)
        parts << QString::number(attribute);
    parts << QString::number(leftIndent);
    for (const qint16 value : spacing)
        parts << QString::number(value);
    return parts.join(u'|');
}

UserFormat UserFormat::fromText(const QString& text, int index)
{
    const QStringList parts = text.split(u'|');
    if (text.isEmpty() || parts.size() != kFieldCount || parts[0].trimmed().isEmpty())
        return defaults(index);

    std::array<std::optional<qint16>, kFieldCount> shorts;
    for (int i : {1, 4, 5, 6, 7, 9, 10, 11, 12, 13})
        shorts[i] = integerIn<qint16>(parts[i]);
    shorts[8] = attributeD(parts[8]);
    const std::optional<qint32> textColor = integerIn<qint32>(parts[2]);
    const std::optional<qint32> backgroundColor = integerIn<qint32>(parts[3]);
    const bool complete = textColor && backgroundColor
        && std::all_of(shorts.begin() + 4, shorts.end(), [](const auto& v) { return v.has_value(); })
        && shorts[1] && *shorts[1] >= 1;
    if (!complete)
        return defaults(index);

    UserFormat record;
    record.fontName = parts[0];
    record.size = *shorts[1];
    record.textColor = *textColor;
    record.backgroundColor = *backgroundColor;
    record.bold = *shorts[4];
    record.attributes = {*shorts[5], *shorts[6], *shorts[7], *shorts[8]};
    record.leftIndent = *shorts[9];
    record.spacing = {*shorts[10], *shorts[11], *shorts[12], *shorts[13]};
    return record;
}

} // namespace dialogs
