#include "textfold/foldedtext.h"

#include <gtest/gtest.h>

#include <tuple>

using textfold::Fold;
using textfold::FoldedText;
using textfold::Folds;

namespace {

// Where `needle` is found in `haystack`, as (start, length) in the haystack.
std::pair<qsizetype, qsizetype> found(const QString& haystack, const QString& needle, Folds folds, qsizetype from = 0)
{
    const textfold::Match m = FoldedText(haystack, folds).indexOf(needle, from);
    return {m.start, m.length};
}

using Span = std::pair<qsizetype, qsizetype>;

} // namespace

TEST(FoldedText, EachFoldJoinsOnlyWhatItNames)
{
    const Folds none;
    // Case
    EXPECT_EQ(found(QStringLiteral("xABCx"), QStringLiteral("abc"), Fold::Case), Span(1, 3));
    EXPECT_EQ(found(QStringLiteral("xABCx"), QStringLiteral("abc"), none), Span(-1, 0));
    EXPECT_EQ(found(QStringLiteral("ｘＡＢＣ"), QStringLiteral("ａｂｃ"), Fold::Case), Span(1, 3));
    // Width, both ways, and the ideographic space as a space
    EXPECT_EQ(found(QStringLiteral("値はＡＢＣです"), QStringLiteral("ABC"), Fold::Width), Span(2, 3));
    EXPECT_EQ(found(QStringLiteral("ABC"), QStringLiteral("ＡＢＣ"), Fold::Width), Span(0, 3));
    EXPECT_EQ(found(QStringLiteral("ＡＢＣ"), QStringLiteral("abc"), Fold::Width), Span(-1, 0));
    EXPECT_EQ(found(QStringLiteral("ＡＢＣ"), QStringLiteral("abc"), Folds(Fold::Width) | Fold::Case), Span(0, 3));
    EXPECT_EQ(found(QStringLiteral("一　二"), QStringLiteral("一 二"), Fold::Width), Span(0, 3));
    EXPECT_EQ(found(QStringLiteral("ＡＢＣ"), QStringLiteral("ABC"), none), Span(-1, 0));
    // Kana
    EXPECT_EQ(found(QStringLiteral("ひらがな"), QStringLiteral("ヒラガナ"), Fold::Kana), Span(0, 4));
    EXPECT_EQ(found(QStringLiteral("カタカナ"), QStringLiteral("かたかな"), Fold::Kana), Span(0, 4));
    EXPECT_EQ(found(QStringLiteral("ひらがな"), QStringLiteral("ヒラガナ"), Fold::Width), Span(-1, 0));
    // Kana alone keeps half-width katakana apart, width alone keeps hiragana apart.
    EXPECT_EQ(found(QStringLiteral("ｶﾀｶﾅ"), QStringLiteral("かたかな"), Fold::Kana), Span(-1, 0));
    EXPECT_EQ(found(QStringLiteral("ｶﾀｶﾅ"), QStringLiteral("かたかな"), Fold::Width), Span(-1, 0));
    EXPECT_EQ(found(QStringLiteral("ｶﾀｶﾅ"), QStringLiteral("かたかな"), Folds(Fold::Width) | Fold::Kana), Span(0, 4));
    // Voiced marks are part of a sound, not a sound of their own.
    EXPECT_EQ(found(QStringLiteral("ﾃﾞｰﾀ"), QStringLiteral("データ"), Fold::Width), Span(0, 4));
    EXPECT_EQ(found(QStringLiteral("データ"), QStringLiteral("ﾃﾞｰﾀ"), Fold::Width), Span(0, 3));
    EXPECT_EQ(found(QStringLiteral("テ\u3099ータ"), QStringLiteral("データ"), none), Span(0, 4));
    // Compatibility forms other than width stay apart.
    EXPECT_EQ(found(QStringLiteral("①"), QStringLiteral("1"), textfold::kAllFolds), Span(-1, 0));
    EXPECT_EQ(found(QStringLiteral("㌔"), QStringLiteral("キロ"), textfold::kAllFolds), Span(-1, 0));
}

TEST(FoldedText, MatchesCoverWholeCharacters)
{
    // ｶ is not ｶﾞ, nor か the か of か + U+3099, folded or not.
    for (const Folds folds : {Folds(), textfold::kAllFolds, Folds(Fold::Kana)}) {
        EXPECT_EQ(found(QStringLiteral("ｶﾞｶ"), QStringLiteral("ｶ"), folds), Span(2, 1));
        EXPECT_EQ(found(QStringLiteral("か\u3099か"), QStringLiteral("か"), folds), Span(2, 1));
    }
    // Half of a surrogate pair is no character.
    EXPECT_EQ(found(QStringLiteral("𠮷野家"), QString(QChar(0xD842)), Folds()), Span(-1, 0));
    EXPECT_EQ(found(QStringLiteral("x𠮷野家"), QStringLiteral("𠮷野"), textfold::kAllFolds), Span(1, 3));
}

TEST(FoldedText, PositionsAreThoseOfTheOriginalTextAfterCharactersThatChangeLength)
{
    // ﾃﾞ folds to one デ: what follows keeps its own positions.
    EXPECT_EQ(found(QStringLiteral("Straße ﾃﾞｰﾀ ABC"), QStringLiteral("abc"), textfold::kAllFolds), Span(12, 3));
    EXPECT_EQ(found(QStringLiteral("ﾃﾞｰﾀ ﾃﾞｰﾀ"), QStringLiteral("データ"), Fold::Width, 1), Span(5, 4));
    EXPECT_EQ(found(QStringLiteral("abc"), QStringLiteral("abc"), Fold::Case, 4), Span(-1, 0));
    EXPECT_EQ(found(QStringLiteral("abc"), QString(), Fold::Case), Span(-1, 0));
}

TEST(FoldedText, BackwardFindsTheLastMatchStartingBeforeThePosition)
{
    const QString text = QStringLiteral("ﾃﾞｰﾀ データ ﾃﾞｰﾀ");
    const FoldedText folded(text, Fold::Width);
    EXPECT_EQ(folded.lastIndexOf(u"データ", text.size()).start, 9);
    EXPECT_EQ(folded.lastIndexOf(u"データ", 9).start, 5);
    EXPECT_EQ(folded.lastIndexOf(u"データ", 5).start, 0);
    EXPECT_EQ(folded.lastIndexOf(u"データ", 1).start, 0);
    EXPECT_EQ(folded.lastIndexOf(u"データ", 0).start, -1);
    EXPECT_EQ(folded.lastIndexOf(u"データ", 1000).start, 9);
}

TEST(FoldedText, AllMatchesDoNotOverlap)
{
    const FoldedText folded(u"aaaaa", Fold::Case);
    const std::vector<textfold::Match> matches = folded.all(u"AA");
    ASSERT_EQ(matches.size(), 2u);
    EXPECT_EQ(matches[0].start, 0);
    EXPECT_EQ(matches[1].start, 2);
    const std::vector<textfold::Match> wide = FoldedText(u"ﾊﾟﾝとパンとぱん", textfold::kAllFolds).all(u"パン");
    ASSERT_EQ(wide.size(), 3u);
    EXPECT_EQ(std::tuple(wide[0].start, wide[0].length, wide[1].start, wide[2].start, wide[2].length),
              std::tuple(0, 3, 4, 7, 2));
}
