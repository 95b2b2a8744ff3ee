#pragma once
// Folding text for comparison the way a Japanese user asks for it: letter
// case, full and half width (Ａ = A, ｶﾞ = ガ, the ideographic space = a
// space) and hiragana with katakana (か = カ), each on its own.
//
// Text is folded character by character, a character being a code point with
// the marks that join it (カ + U+3099, ｶﾞ), so that a fold never splits one.
// Width and kana go through ICU's transliterators; only the blocks where a
// conversion can apply reach them, and a lone character's fold is remembered
// per thread, so that folding a long text costs about a table look-up a
// character.

#include <QFlags>
#include <QString>
#include <QStringView>

namespace textfold {

enum class Fold : unsigned {
    Case = 1,
    Width = 2,
    Kana = 4,
};
Q_DECLARE_FLAGS(Folds, Fold)
Q_DECLARE_OPERATORS_FOR_FLAGS(Folds)

inline constexpr Folds kAllFolds = Folds(Fold::Case) | Fold::Width | Fold::Kana;

// End of the character that starts at `i`: past its surrogate pair and every
// mark that joins it (the half-width sound marks ﾞ and ﾟ included).
qsizetype characterEnd(QStringView text, qsizetype i);

// Appends the fold of the character starting at `i` to `out`; returns where
// the next character starts.
qsizetype foldCharacter(QStringView text, qsizetype i, Folds folds, QString& out);

// The comparison form of `text`.
QString folded(QStringView text, Folds folds);

} // namespace textfold
