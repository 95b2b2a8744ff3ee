#pragma once
// A text folded once and searched many times, with every match reported in
// positions of the original text. A match covers whole characters: "ｶ" is
// not found in "ｶﾞ", nor "か" in "か" + U+3099.

#include "textfold/fold.h"

#include <QString>
#include <QStringView>
#include <vector>

namespace textfold {

struct Match {
    qsizetype start = -1; // in the original text; -1 when nothing was found
    qsizetype length = 0; // in the original text

    bool found() const { return start >= 0; }
};

class FoldedText {
public:
    // `original` must outlive this object.
    FoldedText(QStringView original, Folds folds);

    // First match of `needle` that starts at or after `from`.
    Match indexOf(QStringView needle, qsizetype from = 0) const;
    // Last match of `needle` that starts before `before`.
    Match lastIndexOf(QStringView needle, qsizetype before) const;
    // Every match from the start, none overlapping another.
    std::vector<Match> all(QStringView needle) const;

private:
    qsizetype foldedIndex(qsizetype original) const;
    bool coversWholeCharacters(qsizetype foldedStart, qsizetype foldedLength) const;
    Match originalSpan(qsizetype foldedStart, qsizetype foldedLength) const;
    Match forward(const QString& foldedNeedle, qsizetype foldedFrom) const;

    QStringView m_original;
    Folds m_folds;
    QString m_folded;
    // For each folded unit, the span of the original character it came from.
    // Both stay empty while every character is one unit folding to one unit
    // (plain ASCII text, ideographs, kana), where positions are the same.
    std::vector<qsizetype> m_starts;
    std::vector<qsizetype> m_ends;
};

} // namespace textfold
