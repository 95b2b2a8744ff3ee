#include "formats/html/cssvalues.h"

#include "engine/pagesetup.h"

#include <cmath>

namespace formats::css {

namespace {

constexpr double kTwipsPerPixel = engine::kTwipsPerInch / 96.0;

struct Unit {
    QStringView suffix;
    double twips;
};

// Longest suffixes first is not needed: no unit is a suffix of another.
constexpr Unit kUnits[] = {
    {u"pt", engine::kTwipsPerPoint},
    {u"px", kTwipsPerPixel},
    {u"cm", engine::kTwipsPerInch / 2.54},
    {u"mm", engine::kTwipsPerInch / 25.4},
    {u"in", engine::kTwipsPerInch},
    {u"pc", 12 * engine::kTwipsPerPoint},
};

} // namespace

QString number(double value)
{
    const double rounded = std::round(value * 100.0) / 100.0;
    QString text = QString::number(rounded == 0.0 ? 0.0 : rounded, 'f', 2);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

QString pointsFromTwips(double twips)
{
    return number(twips / engine::kTwipsPerPoint) + QStringLiteral("pt");
}

QString colourHex(const QColor& colour)
{
    return colour.name(QColor::HexRgb);
}

QList<Declaration> parseDeclarations(QStringView style)
{
    QList<Declaration> result;
    QChar quote;
    qsizetype start = 0;
    const auto take = [&](qsizetype end) {
        const QStringView piece = style.sliced(start, end - start);
        const qsizetype colon = piece.indexOf(u':');
        if (colon > 0) {
            const QString property = piece.left(colon).trimmed().toString().toLower();
            if (!property.isEmpty())
                result.append({property, piece.sliced(colon + 1).trimmed().toString()});
        }
        start = end + 1;
    };
    for (qsizetype i = 0; i < style.size(); ++i) {
        const QChar c = style[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u';') {
            take(i);
        }
    }
    if (start < style.size())
        take(style.size());
    return result;
}

QString joinDeclarations(const QList<Declaration>& declarations)
{
    QString text;
    for (const Declaration& d : declarations)
        text += d.property + u':' + d.value + u';';
    return text;
}

void appendDeclarations(QString& style, const QString& more)
{
    if (more.isEmpty())
        return;
    if (!style.isEmpty() && !style.endsWith(u';'))
        style += u';';
    style += more;
}

std::optional<QString> lastValue(const QList<Declaration>& declarations, QStringView property)
{
    for (auto it = declarations.crbegin(); it != declarations.crend(); ++it) {
        if (it->property == property)
            return it->value;
    }
    return std::nullopt;
}

std::optional<double> lengthInTwips(QStringView value)
{
    const QStringView text = value.trimmed();
    for (const Unit& unit : kUnits) {
        if (!text.endsWith(unit.suffix, Qt::CaseInsensitive))
            continue;
        bool ok = false;
        const double amount = text.chopped(unit.suffix.size()).trimmed().toDouble(&ok);
        return ok && std::isfinite(amount) ? std::optional<double>(amount * unit.twips) : std::nullopt;
    }
    bool ok = false;
    const double pixels = text.toDouble(&ok);
    return ok && std::isfinite(pixels) ? std::optional<double>(pixels * kTwipsPerPixel) : std::nullopt;
}

std::optional<QColor> colour(QStringView value)
{
    const QColor parsed = QColor::fromString(value.trimmed());
    return parsed.isValid() ? std::optional<QColor>(parsed) : std::nullopt;
}

QString firstFamily(QStringView value)
{
    QStringView family = value.trimmed();
    const qsizetype comma = family.indexOf(u',');
    if (comma >= 0 && !family.startsWith(u'\'') && !family.startsWith(u'"'))
        family = family.left(comma);
    family = family.trimmed();
    if (family.size() >= 2 && (family.front() == u'\'' || family.front() == u'"')) {
        const qsizetype close = family.indexOf(family.front(), 1);
        family = family.sliced(1, (close < 0 ? family.size() : close) - 1);
    }
    return family.trimmed().toString();
}

} // namespace formats::css
