#pragma once
// The text conversions of the replace panel, as a Japanese user knows them
// from the word processors: full width, half width, upper, lower and
// capitalised words. ICU converts; these name what for.

#include <QString>
#include <QStringView>

namespace textfold {

// Half-width letters, digits, signs, spaces and katakana become full width
// (ｶﾞ becomes one ガ).
QString toFullWidth(QStringView text);
// Hiragana become katakana, then everything that has a half-width form
// takes it (が becomes ｶﾞ, the ideographic space a space).
QString toHalfWidth(QStringView text);
QString toUpper(QStringView text);
QString toLower(QStringView text);
// Every word begins with a capital, its other letters small.
QString toProper(QStringView text);

} // namespace textfold
