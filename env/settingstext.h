#pragma once
// Conversions between setting values and the text form they are stored in.

#include <QDateTime>
#include <QString>
#include <optional>

namespace env {

// Leading numeric part of `text` read with "." as the decimal point: leading
// blanks skipped, an optional sign, digits, fraction and exponent; text after
// the number is ignored; text without a leading number reads as 0.
double leadingNumber(const QString& text);
// "True"/"False" in any letter case, or a number (0 is false); nullopt otherwise.
std::optional<bool> booleanFromText(const QString& text);
std::optional<QDateTime> dateFromText(const QString& text);

QString booleanText(bool value);
QString numberText(double value);
QString dateText(const QDateTime& value);

} // namespace env
