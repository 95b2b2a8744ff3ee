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

// Appends the fold of the character starting at `i` (with the marks that
// join it) to `out`: case, width and kana at once. Returns where the next
// character starts.
qsizetype foldCharacter(QStringView text, qsizetype i, QString& out)
{
    return textfold::foldCharacter(text, i, textfold::kAllFolds, out);
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
