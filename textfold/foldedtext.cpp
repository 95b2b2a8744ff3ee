#include "textfold/foldedtext.h"

#include <algorithm>

namespace textfold {

FoldedText::FoldedText(QStringView original, Folds folds)
    : m_original(original)
    , m_folds(folds)
{
    m_folded.reserve(original.size());
    // Positions are kept only from the first character that is not one unit
    // folding to one unit; until then a folded position is the original one.
    bool mapped = false;
    for (qsizetype i = 0; i < original.size();) {
        const qsizetype before = m_folded.size();
        const qsizetype end = foldCharacter(original, i, folds, m_folded);
        const qsizetype produced = m_folded.size() - before;
        if (!mapped && (produced != 1 || end - i != 1)) {
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

bool FoldedText::coversWholeCharacters(qsizetype foldedStart, qsizetype foldedLength) const
{
    if (m_starts.empty())
        return true;
    const size_t first = size_t(foldedStart);
    const size_t last = size_t(foldedStart + foldedLength - 1);
    const bool startsOne = first == 0 || m_starts[first - 1] != m_starts[first];
    const bool endsOne = last + 1 == m_starts.size() || m_starts[last + 1] != m_starts[last];
    return startsOne && endsOne;
}

Match FoldedText::originalSpan(qsizetype foldedStart, qsizetype foldedLength) const
{
    if (m_starts.empty())
        return {foldedStart, foldedLength};
    const qsizetype start = m_starts[size_t(foldedStart)];
    return {start, m_ends[size_t(foldedStart + foldedLength - 1)] - start};
}

Match FoldedText::forward(const QString& foldedNeedle, qsizetype foldedFrom) const
{
    for (qsizetype at = m_folded.indexOf(foldedNeedle, foldedFrom); at >= 0;
         at = m_folded.indexOf(foldedNeedle, at + 1)) {
        if (coversWholeCharacters(at, foldedNeedle.size()))
            return originalSpan(at, foldedNeedle.size());
    }
    return {};
}

Match FoldedText::indexOf(QStringView needle, qsizetype from) const
{
    const QString foldedNeedle = folded(needle, m_folds);
    if (foldedNeedle.isEmpty() || from < 0 || from > m_original.size())
        return {};
    return forward(foldedNeedle, foldedIndex(from));
}

Match FoldedText::lastIndexOf(QStringView needle, qsizetype before) const
{
    const QString foldedNeedle = folded(needle, m_folds);
    if (foldedNeedle.isEmpty() || before <= 0)
        return {};
    // The last folded unit whose character starts before `before`.
    qsizetype at = foldedIndex(std::min(before, m_original.size())) - 1;
    for (at = m_folded.lastIndexOf(foldedNeedle, at); at >= 0; at = at > 0 ? m_folded.lastIndexOf(foldedNeedle, at - 1) : -1) {
        if (coversWholeCharacters(at, foldedNeedle.size()))
            return originalSpan(at, foldedNeedle.size());
    }
    return {};
}

std::vector<Match> FoldedText::all(QStringView needle) const
{
    const QString foldedNeedle = folded(needle, m_folds);
    std::vector<Match> matches;
    if (foldedNeedle.isEmpty())
        return matches;
    for (Match m = forward(foldedNeedle, 0); m.found(); m = forward(foldedNeedle, foldedIndex(m.start + m.length)))
        matches.push_back(m);
    return matches;
}

} // namespace textfold
