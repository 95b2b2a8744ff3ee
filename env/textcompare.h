#pragma once
// Text comparison as a Japanese user expects it: letter case ignored,
// full-width and half-width forms alike (Ａ = A, ｶﾞ = ガ, the ideographic space
// = a space) and katakana alike with hiragana (カ = か). Every comparison the
// program describes as "text comparison" goes through these functions.
//
// Positions are 0-based indexes into the ORIGINAL text (as QString uses them),
// -1 when nothing is found; a fold may change lengths, so a match's length in
// the original text is reported separately. An empty needle never matches.
// Only width and kana are unified, not every compatibility form: ① stays apart
// from 1 and Ⅷ apart from VIII.

#include <QString>
#include <QStringView>
#include <vector>

namespace env {

// The comparison form of `text`.
QString textFold(QStringView text);

// A text folded once and searched many times: the search loops of the HTML
// writer use it so that scanning a long text stays linear.
class FoldedText {
public:
    explicit FoldedText(QStringView original);

    // First match of `needle` starting at or after `from`; its length in the
    // original text goes to *length when given.
    qsizetype indexOf(QStringView needle, qsizetype from = 0, qsizetype* length = nullptr) const;
    // Last match of `needle` that ends at or before `end` (-1: the whole text).
    qsizetype lastIndexOf(QStringView needle, qsizetype end = -1) const;
    // The original text with every match of `before` replaced by `after`.
    QString replaced(QStringView before, const QString& after) const;

private:
    struct Match {
        qsizetype start;
        qsizetype length;
    };
    Match find(const QString& foldedNeedle, qsizetype from) const;
    qsizetype foldedIndex(qsizetype original) const;
    Match originalSpan(qsizetype foldedStart, qsizetype foldedLength) const;

    QStringView m_original;
    QString m_folded;
    // For each folded unit, the span of the original text it came from. Both
    // stay empty when the fold kept every position (plain ASCII text).
    std::vector<qsizetype> m_starts;
    std::vector<qsizetype> m_ends;
};

qsizetype textIndexOf(QStringView haystack, QStringView needle, qsizetype from = 0,
                      qsizetype* length = nullptr);
qsizetype textLastIndexOf(QStringView haystack, QStringView needle, qsizetype end = -1);
bool textContains(QStringView haystack, QStringView needle);
bool textEquals(QStringView a, QStringView b);
bool textStartsWith(QStringView text, QStringView prefix);
QString textReplace(QStringView text, QStringView before, const QString& after);

} // namespace env
