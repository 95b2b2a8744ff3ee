#include "textfold/fold.h"

#include "textfold/transliteration.h"

#include <QList>

#include <array>
#include <memory>
#include <vector>

namespace textfold {

namespace {

char32_t codePointAt(QStringView text, qsizetype i, qsizetype* units)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        *units = 2;
        return QChar::surrogateToUcs4(c, text[i + 1]);
    }
    *units = 1;
    return c.unicode();
}

// Voiced and semi-voiced sound marks of half-width katakana are letters in
// Unicode, yet they join the preceding kana like combining marks.
bool joinsPrevious(char32_t c)
{
    // No combining marks before U+0300, nor from Bopomofo through the CJK
    // ideographs to Vai: the bulk of Japanese text needs no property lookup.
    if (c < 0x300 || (c >= 0x3100 && c < 0xA66F))
        return false;
    return QChar::isMark(c) || c == 0xFF9E || c == 0xFF9F;
}

void appendCodePoint(QString& out, char32_t c)
{
    if (QChar::requiresSurrogates(c)) {
        out.append(QChar(QChar::highSurrogate(c)));
        out.append(QChar(QChar::lowSurrogate(c)));
    } else {
        out.append(QChar(char16_t(c)));
    }
}

// Which way a character changes width: full-width forms of ASCII and the
// ideographic space narrow, half-width katakana, hangul and signs widen, so
// that the folded form of plain ASCII is the text itself.
enum class Width { Keep, Narrow, Widen };

Width widthChange(char32_t c)
{
    if (c == 0x3000 || (c >= 0xFF01 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6))
        return Width::Narrow;
    if ((c >= 0xFF61 && c <= 0xFFDC) || (c >= 0xFFE8 && c <= 0xFFEE))
        return Width::Widen;
    return Width::Keep;
}

bool isHiragana(char32_t c)
{
    return c >= 0x3041 && c <= 0x309F;
}

bool isFullWidthAscii(char32_t c)
{
    return c == 0x3000 || (c >= 0xFF01 && c <= 0xFF5E);
}

// The fold of one character with its joining marks.
QString foldOne(QStringView character, Folds folds)
{
    qsizetype units = 0;
    const char32_t first = codePointAt(character, 0, &units);
    QString out = character.toString();
    if ((folds & Fold::Width) && character.size() == 1 && isFullWidthAscii(first)) {
        // The forms of ASCII (a font named "ＭＳ 明朝", the ideographic space)
        // narrow by a fixed offset: no need to start the transliterator,
        // whose first use costs milliseconds.
        out = QChar(first == 0x3000 ? char16_t(0x20) : char16_t(first - 0xFEE0));
    } else if (folds & Fold::Width) {
        switch (widthChange(first)) {
        case Width::Narrow: out = transliterated("Fullwidth-Halfwidth", out); break;
        case Width::Widen: out = transliterated("Halfwidth-Fullwidth", out); break;
        case Width::Keep: break;
        }
    }
    // Katakana is the folded form: half-width katakana widened above is katakana already.
    if ((folds & Fold::Kana) && isHiragana(first))
        out = transliterated("Hiragana-Katakana", out);
    if (folds & Fold::Case)
        out = out.toCaseFolded();
    return out.size() > 1 ? out.normalized(QString::NormalizationForm_C) : out;
}

// A lone character of the Basic Multilingual Plane that no fold changes:
// ideographs, katakana and the like.
bool foldsToItself(char16_t c)
{
    return (c >= 0x30A0 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x9FFF);
}

constexpr char32_t kExpands = 0xFFFFFFFF;
constexpr char32_t kUnknown = 0xFFFFFFFE;

// The fold of a lone BMP character when it is one code point, else kExpands.
// Remembered per thread and per set of folds.
char32_t foldedAlone(char16_t c, Folds folds)
{
    thread_local std::array<std::unique_ptr<std::vector<char32_t>>, 8> tables;
    auto& table = tables[folds.toInt() & 7];
    if (!table)
        table = std::make_unique<std::vector<char32_t>>(0x10000, kUnknown);
    char32_t& fold = (*table)[c];
    if (fold == kUnknown) {
        const QList<uint> codes = foldOne(QStringView(&c, 1), folds).toUcs4();
        fold = codes.size() == 1 ? codes[0] : kExpands;
    }
    return fold;
}

} // namespace

qsizetype characterEnd(QStringView text, qsizetype i)
{
    qsizetype units = 0;
    codePointAt(text, i, &units);
    i += units;
    while (i < text.size() && joinsPrevious(codePointAt(text, i, &units)))
        i += units;
    return i;
}

qsizetype foldCharacter(QStringView text, qsizetype i, Folds folds, QString& out)
{
    const qsizetype end = characterEnd(text, i);
    const char16_t c = text[i].unicode();
    if (end == i + 1 && c < 0x80) {
        out.append((folds & Fold::Case) && c >= u'A' && c <= u'Z' ? QChar(c + 0x20) : QChar(c));
        return end;
    }
    if (end == i + 1 && foldsToItself(c)) {
        out.append(QChar(c));
        return end;
    }
    if (end == i + 1 && !QChar::isSurrogate(c)) {
        const char32_t fold = foldedAlone(c, folds);
        if (fold != kExpands) {
            appendCodePoint(out, fold);
            return end;
        }
    }
    out.append(foldOne(text.sliced(i, end - i), folds));
    return end;
}

QString folded(QStringView text, Folds folds)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();)
        i = foldCharacter(text, i, folds, out);
    return out;
}

} // namespace textfold
