#include "env/textcompare.h"

#include "textfold/fold.h"

#include <QChar>
#include <QList>
#include <algorithm>

namespace env {

namespace {

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// Whether nothing in `text` folds into ASCII (full-width forms, the
// ideographic space, letters whose case folds to ASCII, marks that may join
// the letter before): an ASCII needle is then found in it as in ASCII text,
// without folding the whole of it first. Markup searched for a tag or a
// declaration is like that, however much Japanese its values hold.
bool foldsNothingIntoAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        if (u < 0x80)
            return true;
        if (u == 0x3000 || (u >= 0xFF01 && u <= 0xFF5E) || c.isSurrogate() || c.isMark())
            return false;
        return c.toCaseFolded().unicode() >= 0x80 && c.toLower().unicode() >= 0x80;
    });
}

QChar asciiLower(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') ? QChar(u + 0x20) : c;
}

// Voiced and semi-voiced sound marks of half-width katakana: letters in
// Unicode, yet they join the preceding kana like combining marks.
bool joinsPrevious(char32_t c)
{
    // No combining marks before U+0300, nor from Bopomofo through the CJK
    // ideographs to Vai: the bulk of Japanese text needs no property lookup.
    if (c < 0x300 || (c >= 0x3100 && c < 0xA66F))
        return false;
    return QChar::isMark(c) || c == 0xFF9E || c == 0xFF9F;
}

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

// End of the character that starts at `i`: the character with every mark that
// joins it, so that ｶﾞ, カ + U+3099 and ガ fold alike.
qsizetype segmentEnd(QStringView text, qsizetype i)
{
    qsizetype units = 0;
    codePointAt(text, i, &units);
    i += units;
    while (i < text.size() && joinsPrevious(codePointAt(text, i, &units)))
        i += units;
    return i;
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

// Folds one character with its joining marks: case, width and kana at once.
QString foldSegment(QStringView segment)
{
    return textfold::folded(segment, textfold::kAllFolds);
}

// The fold of a lone character of the Basic Multilingual Plane when it is a
// single code point, else `expands`. Remembered per thread: folding the same
// few thousand characters of a long text again and again is the hot path.
constexpr char32_t expands = 0xFFFFFFFF;
constexpr char32_t unknown = 0xFFFFFFFE;

char32_t foldedAlone(char16_t c)
{
    thread_local std::vector<char32_t> folds(0x10000, unknown);
    char32_t& fold = folds[c];
    if (fold == unknown) {
        const QList<uint> folded = foldSegment(QStringView(&c, 1)).toUcs4();
        fold = folded.size() == 1 ? folded[0] : expands;
    }
    return fold;
}

// Appends the fold of the character starting at `i` to `out`; returns where
// the next character starts.
qsizetype foldCharacter(QStringView text, qsizetype i, QString& out)
{
    const qsizetype end = segmentEnd(text, i);
    const char16_t c = text[i].unicode();
    if (end == i + 1 && c < 0x80) {
        out.append(asciiLower(QChar(c)));
        return end;
    }
    if (end == i + 1 && !QChar::isSurrogate(c)) {
        const char32_t fold = foldedAlone(c);
        if (fold != expands) {
            appendCodePoint(out, fold);
            return end;
        }
    }
    out.append(foldSegment(text.sliced(i, end - i)));
    return end;
}

} // namespace

QString textFold(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();)
        i = foldCharacter(text, i, out);
    return out;
}

FoldedText::FoldedText(QStringView original)
    : m_original(original)
{
    if (isAscii(original)) {
        m_folded.resize(original.size());
        std::transform(original.begin(), original.end(), m_folded.begin(), asciiLower);
        return;
    }
    m_folded.reserve(original.size());
    // Positions are kept only once a character has folded to another length;
    // until then a folded position is the original one.
    bool mapped = false;
    for (qsizetype i = 0; i < original.size();) {
        const qsizetype before = m_folded.size();
        const qsizetype end = foldCharacter(original, i, m_folded);
        const qsizetype produced = m_folded.size() - before;
        if (!mapped && produced != end - i) {
            mapped = true;
            m_starts.reserve(size_t(original.size()));
            m_ends.reserve(size_t(original.size()));
            for (qsizetype k = 0; k < before; ++k) {
                m_starts.push_back(k);
                m_ends.push_back(k + 1);
            }
        }
        if (mapped) {
            m_starts.insert(m_starts.end(), size_t(produced), i);
            m_ends.insert(m_ends.end(), size_t(produced), end);
        }
        i = end;
    }
}

qsizetype FoldedText::foldedIndex(qsizetype original) const
{
    if (m_starts.empty())
        return std::clamp<qsizetype>(original, 0, m_folded.size());
    return std::lower_bound(m_starts.begin(), m_starts.end(), original) - m_starts.begin();
}

FoldedText::Match FoldedText::originalSpan(qsizetype foldedStart, qsizetype foldedLength) const
{
    if (m_starts.empty())
        return {foldedStart, foldedLength};
    const qsizetype start = m_starts[size_t(foldedStart)];
    return {start, m_ends[size_t(foldedStart + foldedLength - 1)] - start};
}

FoldedText::Match FoldedText::find(const QString& foldedNeedle, qsizetype from) const
{
    if (foldedNeedle.isEmpty() || from < 0 || from > m_original.size())
        return {-1, 0};
    const qsizetype at = m_folded.indexOf(foldedNeedle, foldedIndex(from));
    return at < 0 ? Match{-1, 0} : originalSpan(at, foldedNeedle.size());
}

qsizetype FoldedText::indexOf(QStringView needle, qsizetype from, qsizetype* length) const
{
    const Match m = find(textFold(needle), from);
    if (length)
        *length = m.length;
    return m.start;
}

qsizetype FoldedText::lastIndexOf(QStringView needle, qsizetype end) const
{
    const QString folded = textFold(needle);
    if (folded.isEmpty())
        return -1;
    if (end < 0 || end > m_original.size())
        end = m_original.size();
    // Folded units whose original character ends at or before `end`.
    const qsizetype limit = m_starts.empty()
        ? end
        : std::upper_bound(m_ends.begin(), m_ends.end(), end) - m_ends.begin();
    if (limit < folded.size())
        return -1;
    const qsizetype at = m_folded.lastIndexOf(folded, limit - folded.size());
    return at < 0 ? -1 : originalSpan(at, folded.size()).start;
}

QString FoldedText::replaced(QStringView before, const QString& after) const
{
    const QString folded = textFold(before);
    QString out;
    qsizetype copied = 0;
    for (Match m = find(folded, 0); m.start >= 0; m = find(folded, m.start + m.length)) {
        out.append(m_original.sliced(copied, m.start - copied));
        out.append(after);
        copied = m.start + m.length;
    }
    out.append(m_original.sliced(copied));
    return out;
}

qsizetype textIndexOf(QStringView haystack, QStringView needle, qsizetype from, qsizetype* length)
{
    if (isAscii(needle) && foldsNothingIntoAscii(haystack)) {
        if (needle.isEmpty() || from < 0)
            return -1;
        const qsizetype at = haystack.indexOf(needle, from, Qt::CaseInsensitive);
        if (length && at >= 0)
            *length = needle.size();
        return at;
    }
    return FoldedText(haystack).indexOf(needle, from, length);
}

qsizetype textLastIndexOf(QStringView haystack, QStringView needle, qsizetype end)
{
    return FoldedText(haystack).lastIndexOf(needle, end);
}

bool textContains(QStringView haystack, QStringView needle)
{
    return textIndexOf(haystack, needle) >= 0;
}

bool textEquals(QStringView a, QStringView b)
{
    if (isAscii(a) && isAscii(b))
        return a.compare(b, Qt::CaseInsensitive) == 0;
    return textFold(a) == textFold(b);
}

bool textStartsWith(QStringView text, QStringView prefix)
{
    if (isAscii(text) && isAscii(prefix))
        return text.startsWith(prefix, Qt::CaseInsensitive);
    return textFold(text).startsWith(textFold(prefix));
}

QString textReplace(QStringView text, QStringView before, const QString& after)
{
    return FoldedText(text).replaced(before, after);
}

} // namespace env
