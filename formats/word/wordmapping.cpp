#include "formats/word/wordmapping.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace formats::word {

std::optional<double> twipsOf(QStringView value)
{
    static const QHash<QString, double> twipsPerUnit{
        {QStringLiteral("mm"), 1440.0 / 25.4}, {QStringLiteral("cm"), 1440.0 / 2.54},
        {QStringLiteral("in"), 1440.0},        {QStringLiteral("pt"), 20.0},
        {QStringLiteral("pc"), 240.0},         {QStringLiteral("pi"), 240.0},
    };
    const QStringView trimmed = value.trimmed();
    const QStringView unit = trimmed.size() > 2 ? trimmed.right(2) : QStringView();
    const double factor = twipsPerUnit.value(unit.toString().toLower(), 0.0);
    bool ok = false;
    const double number = (factor > 0 ? trimmed.chopped(2) : trimmed).toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return factor > 0 ? number * factor : number;
}

bool isOn(QStringView value)
{
    return value.isEmpty() || value == u"1" || value == u"true" || value == u"on";
}

std::optional<QColor> colorOf(QStringView value)
{
    if (value.size() != 6)
        return std::nullopt;
    bool ok = false;
    const uint rgb = value.toUInt(&ok, 16);
    return ok ? std::optional<QColor>(QColor::fromRgb(QRgb(rgb))) : std::nullopt;
}

std::optional<QColor> highlightColorOf(QStringView name)
{
    static const QHash<QString, QRgb> colours{
        {QStringLiteral("black"), 0x000000},     {QStringLiteral("blue"), 0x0000FF},
        {QStringLiteral("cyan"), 0x00FFFF},      {QStringLiteral("green"), 0x00FF00},
        {QStringLiteral("magenta"), 0xFF00FF},   {QStringLiteral("red"), 0xFF0000},
        {QStringLiteral("yellow"), 0xFFFF00},    {QStringLiteral("white"), 0xFFFFFF},
        {QStringLiteral("darkBlue"), 0x000080},  {QStringLiteral("darkCyan"), 0x008080},
        {QStringLiteral("darkGreen"), 0x008000}, {QStringLiteral("darkMagenta"), 0x800080},
        {QStringLiteral("darkRed"), 0x800000},   {QStringLiteral("darkYellow"), 0x808000},
        {QStringLiteral("darkGray"), 0x808080},  {QStringLiteral("lightGray"), 0xC0C0C0},
    };
    const auto found = colours.constFind(name.toString());
    return found == colours.cend() ? std::nullopt : std::optional<QColor>(QColor::fromRgb(*found));
}

std::optional<Qt::Alignment> alignmentOf(QStringView jc)
{
    if (jc == u"left" || jc == u"start")
        return Qt::AlignLeft;
    if (jc == u"center")
        return Qt::AlignHCenter;
    if (jc == u"right" || jc == u"end")
        return Qt::AlignRight;
    if (jc == u"both" || jc == u"distribute" || jc.startsWith(u"thaiDistribute") || jc.endsWith(u"Kashida"))
        return Qt::AlignJustify;
    return std::nullopt;
}

int headingLevelOf(QStringView styleId, QStringView name, std::optional<int> outlineLevel)
{
    // Word names its built-in styles in English whatever the language of the
    // program; Japanese Word gives the headings the ids "1", "2", "3".
    static const QRegularExpression byName(QStringLiteral("^(?:heading|見出し)\\s*([1-9１-９])$"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression byId(QStringLiteral("^(?:heading)?([1-9])$"), QRegularExpression::CaseInsensitiveOption);
    int level = 0;
    if (const QRegularExpressionMatch m = byName.match(name.trimmed().toString()); m.hasMatch())
        level = m.capturedView(1).front().digitValue();
    else if (const QRegularExpressionMatch m = byId.match(styleId.toString()); name.isEmpty() && m.hasMatch())
        level = m.capturedView(1).toInt();
    else if (outlineLevel && *outlineLevel >= 0 && *outlineLevel < 9)
        level = *outlineLevel + 1;
    return std::min(level, 3);
}

QTextListFormat::Style listStyleOf(QStringView numberFormat, QStringView levelText)
{
    if (numberFormat == u"bullet") {
        if (levelText == u"o" || levelText == u"○" || levelText == u"◦")
            return QTextListFormat::ListCircle;
        if (levelText == u"■" || levelText == u"□" || levelText == u"\uF0A7")
            return QTextListFormat::ListSquare;
        return QTextListFormat::ListDisc;
    }
    if (numberFormat == u"lowerLetter")
        return QTextListFormat::ListLowerAlpha;
    if (numberFormat == u"upperLetter")
        return QTextListFormat::ListUpperAlpha;
    if (numberFormat == u"lowerRoman")
        return QTextListFormat::ListLowerRoman;
    if (numberFormat == u"upperRoman")
        return QTextListFormat::ListUpperRoman;
    return QTextListFormat::ListDecimal;
}

QString colorValue(const QColor& colour)
{
    return QString::asprintf("%02X%02X%02X", colour.red(), colour.green(), colour.blue());
}

QString alignmentValue(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignJustify)
        return QStringLiteral("both");
    if (alignment & Qt::AlignHCenter)
        return QStringLiteral("center");
    if (alignment & Qt::AlignRight)
        return QStringLiteral("right");
    return QStringLiteral("left");
}

NumberFormat numberFormatOf(QTextListFormat::Style style, int level)
{
    const QString number = QStringLiteral("%%1.").arg(level + 1);
    switch (style) {
    case QTextListFormat::ListCircle: return {QStringLiteral("bullet"), QStringLiteral("○")};
    case QTextListFormat::ListSquare: return {QStringLiteral("bullet"), QStringLiteral("■")};
    case QTextListFormat::ListDecimal: return {QStringLiteral("decimal"), number};
    case QTextListFormat::ListLowerAlpha: return {QStringLiteral("lowerLetter"), number};
    case QTextListFormat::ListUpperAlpha: return {QStringLiteral("upperLetter"), number};
    case QTextListFormat::ListLowerRoman: return {QStringLiteral("lowerRoman"), number};
    case QTextListFormat::ListUpperRoman: return {QStringLiteral("upperRoman"), number};
    default: return {QStringLiteral("bullet"), QStringLiteral("●")};
    }
}

bool isPageNumberInstruction(QStringView instruction)
{
    const QStringView trimmed = instruction.trimmed();
    const QStringView first = trimmed.left(trimmed.indexOf(u' ') < 0 ? trimmed.size() : trimmed.indexOf(u' '));
    return first.compare(u"PAGE", Qt::CaseInsensitive) == 0;
}

} // namespace formats::word
