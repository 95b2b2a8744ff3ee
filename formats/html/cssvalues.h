#pragma once
// CSS values as the engine's HTML writes and reads them: numbers in points,
// colours as #rrggbb, declaration lists cut into property and value, and
// lengths converted to twips.

#include <QColor>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

namespace formats::css {

struct Declaration {
    QString property; // lower case, trimmed
    QString value;    // trimmed, as written
};

// A number with at most two decimals and no trailing zeros: 3, 10.5, -0.75.
QString number(double value);
// Twips as a CSS point value: 160 gives "8pt".
QString pointsFromTwips(double twips);
QString colourHex(const QColor& colour);

// The declarations of a style attribute or rule body, in order; empty
// declarations and ones without a colon are skipped. Semicolons inside quotes
// do not split.
QList<Declaration> parseDeclarations(QStringView style);
// `declarations` written back as "property:value;" each.
QString joinDeclarations(const QList<Declaration>& declarations);
// Appends the declaration text `more` to `style`, with a semicolon between.
void appendDeclarations(QString& style, const QString& more);
// The value of the last declaration of `property`; nullopt when there is none.
std::optional<QString> lastValue(const QList<Declaration>& declarations, QStringView property);

// A length (pt, px, cm, mm, in, pc; a bare number is pixels) in twips;
// nullopt for other units, percentages and text that is no length.
std::optional<double> lengthInTwips(QStringView value);
// A colour given as #rgb, #rrggbb or a colour name; nullopt otherwise.
std::optional<QColor> colour(QStringView value);
// The first family of a font-family value, without quotes.
QString firstFamily(QStringView value);

} // namespace formats::css
