#include "textfold/conversions.h"

#include "textfold/transliteration.h"

namespace textfold {

QString toFullWidth(QStringView text)
{
    return transliterated("Halfwidth-Fullwidth", text);
}

QString toHalfWidth(QStringView text)
{
    return transliterated("Hiragana-Katakana; Fullwidth-Halfwidth", text);
}

QString toUpper(QStringView text)
{
    return transliterated("Any-Upper", text);
}

QString toLower(QStringView text)
{
    return transliterated("Any-Lower", text);
}

QString toProper(QStringView text)
{
    return transliterated("Any-Title", text);
}

} // namespace textfold
