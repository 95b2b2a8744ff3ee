#include "textfold/conversions.h"
#include "textfold/fold.h"

#include <gtest/gtest.h>

TEST(Conversions, WidthsAsTheReplacePanelOffersThem)
{
    EXPECT_EQ(textfold::toFullWidth(u"ABC 123 ｶﾞｯｺｳ"), QStringLiteral("ＡＢＣ　１２３　ガッコウ"));
    // Hiragana become katakana first, then half width.
    EXPECT_EQ(textfold::toHalfWidth(u"がっこう　ガッコウ　ＡＢＣ"), QStringLiteral("ｶﾞｯｺｳ ｶﾞｯｺｳ ABC"));
    EXPECT_EQ(textfold::toHalfWidth(u"漢字"), QStringLiteral("漢字"));
}

TEST(Conversions, CaseOfLettersOfEveryWidth)
{
    EXPECT_EQ(textfold::toUpper(u"abc ａｂｃ"), QStringLiteral("ABC ＡＢＣ"));
    EXPECT_EQ(textfold::toLower(u"ABC ＡＢＣ"), QStringLiteral("abc ａｂｃ"));
    EXPECT_EQ(textfold::toProper(u"hello WORLD of fumi"), QStringLiteral("Hello World Of Fumi"));
    EXPECT_EQ(textfold::toProper(u""), QString());
}

TEST(Fold, TheFoldedFormOfPlainAsciiIsTheTextItself)
{
    EXPECT_EQ(textfold::folded(u"Plain ASCII 123", textfold::Fold::Width), QStringLiteral("Plain ASCII 123"));
    EXPECT_EQ(textfold::folded(u"Plain ASCII 123", textfold::kAllFolds), QStringLiteral("plain ascii 123"));
    // A fold is the same whether its character was seen before or not.
    const QString once = textfold::folded(u"ｶﾞＡあ", textfold::kAllFolds);
    EXPECT_EQ(textfold::folded(u"ｶﾞＡあ", textfold::kAllFolds), once);
    EXPECT_EQ(once, QStringLiteral("ガaア"));
}

// The forms of ASCII narrow without the transliterator; what they narrow to
// is what the transliterator makes of them.
TEST(Fold, FullWidthAsciiNarrowsAsTheTransliteratorNarrowsIt)
{
    QString block = QStringLiteral("\u3000");
    for (char16_t c = 0xFF01; c <= 0xFF5E; ++c)
        block += QChar(c);
    const QString narrowed = textfold::folded(block, textfold::Fold::Width);
    EXPECT_EQ(narrowed, textfold::toHalfWidth(block));
    EXPECT_EQ(narrowed.size(), block.size());
    EXPECT_EQ(narrowed.front(), u' ');
    EXPECT_EQ(narrowed.back(), u'~');
}
