#include "env/textcompare.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace env;

namespace {

struct EqualityRow {
    const char16_t* a;
    const char16_t* b;
    bool equal;
};

class TextEquality : public ::testing::TestWithParam<EqualityRow> {};

TEST_P(TextEquality, FoldsCaseWidthAndKanaButNothingElse)
{
    const EqualityRow& row = GetParam();
    const QString a = QString::fromUtf16(row.a);
    const QString b = QString::fromUtf16(row.b);
    EXPECT_EQ(textEquals(a, b), row.equal) << qPrintable(a) << " / " << qPrintable(b);
    EXPECT_EQ(textEquals(b, a), row.equal);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TextEquality,
    ::testing::Values(
        EqualityRow{u"ABC", u"abc", true},
        EqualityRow{u"\uFF21\uFF42\uFF43", u"abc", true},      // full-width letters
        EqualityRow{u"\uFF76\uFF9E", u"\u30AC", true},          // half-width ｶﾞ = ガ
        EqualityRow{u"\u30AC", u"\u304C", true},                // katakana = hiragana
        EqualityRow{u"\u30AB\u3099", u"\u304C", true},          // decomposed = composed
        EqualityRow{u"\uFF76", u"\u30AC", false},               // the voicing mark matters
        EqualityRow{u"a\u3000b", u"a b", true},                 // ideographic space is a wide space
        EqualityRow{u"\u2460", u"1", false},                    // circled digit is not a digit
        EqualityRow{u"\u2177", u"viii", false},                 // the writer's placeholder stays apart
        EqualityRow{u"abc", u"abd", false},
        EqualityRow{u"", u"", true}));

TEST(TextIndexOf, ReportsPositionsAndLengthsInTheOriginalText)
{
    struct Row {
        const char16_t* haystack;
        const char16_t* needle;
        qsizetype from;
        qsizetype at;
        qsizetype length;
    };
    const Row rows[] = {
        {u"\uFF71\uFF72\uFF73\uFF74", u"\u30A6", 0, 2, 1},      // ｱｲｳｴ, ウ
        {u"x\uFF76\uFF9Ey", u"\u304C", 0, 1, 2},                // xｶﾞy: が spans two units
        {u"x\uFF76\uFF9Ey", u"Y", 0, 3, 1},                     // positions after the pair
        {u"\uFF21\uFF22\uFF23abc", u"ca", 0, 2, 2},             // ＡＢＣabc
        {u"abcABC", u"b", 2, 4, 1},
        {u"\U00020BB7\u91CE", u"\u91CE", 0, 2, 1},              // after a surrogate pair
        {u"abc", u"", 0, -1, 0},                                // empty needle never matches
        {u"abc", u"d", 0, -1, 0},
    };
    for (const Row& row : rows) {
        qsizetype length = -7;
        const QString haystack = QString::fromUtf16(row.haystack);
        EXPECT_EQ(textIndexOf(haystack, QString::fromUtf16(row.needle), row.from, &length), row.at)
            << qPrintable(haystack);
        if (row.at >= 0) {
            EXPECT_EQ(length, row.length) << qPrintable(haystack);
        }
    }
}

TEST(TextIndexOf, FoldedTextAnswersRepeatedSearchesLikeSingleOnes)
{
    const QString text = QStringLiteral("<P style=\"x\">\uFF8A\uFF9F\uFF9D</p><p>\u30D1\u30F3</P>");
    const FoldedText folded(text);
    for (const QString& needle : {QStringLiteral("</p>"), QStringLiteral("\u3071\u3093"), QStringLiteral("<p")}) {
        for (qsizetype from = 0; from <= text.size(); ++from) {
            qsizetype a = 0;
            qsizetype b = 0;
            EXPECT_EQ(folded.indexOf(needle, from, &a), textIndexOf(text, needle, from, &b));
            EXPECT_EQ(a, b);
        }
    }
}

// An ASCII needle in text that holds other letters, searched without folding
// the text first, must find what folding finds, whatever the text holds
// that folds into ASCII.
TEST(TextIndexOf, AsciiNeedlesInJapaneseMarkupFindWhatFoldingFinds)
{
    const QStringList texts{
        QStringLiteral("<span style=\"font-family:'\u30B4\u30B7\u30C3\u30AF';font-size:10pt;\">"),
        QStringLiteral("<p style=\"font-family:'\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF'\">"), // ＭＳ Ｐゴシック
        QStringLiteral("\u660E\u671D\u3000style=\u212A\u017F\u0130"),                       // ideographic space, Kelvin, long s
        QStringLiteral("e\u0301s\uFF8A\uFF9F\uFF9D \U00020BB7S"),
    };
    const QStringList needles{QStringLiteral("style="), QStringLiteral("font-size:"), QStringLiteral("k"),
                              QStringLiteral("s"), QStringLiteral("ms p"), QStringLiteral(" "), QStringLiteral("i")};
    for (const QString& text : texts) {
        const FoldedText folded(text);
        for (const QString& needle : needles) {
            for (qsizetype from = 0; from <= text.size(); ++from) {
                qsizetype a = 0;
                qsizetype b = 0;
                const qsizetype at = folded.indexOf(needle, from, &a);
                EXPECT_EQ(at, textIndexOf(text, needle, from, &b))
                    << qPrintable(text) << " / " << qPrintable(needle) << " from " << from;
                if (at >= 0)
                    EXPECT_EQ(a, b);
            }
        }
    }
}

TEST(TextLastIndexOf, FindsTheLastMatchEndingBeforeTheLimit)
{
    const QString text = QStringLiteral("img src=\"a\" IMG SRC=\"b\"");
    EXPECT_EQ(textLastIndexOf(text, u"img src=\""), 12);
    EXPECT_EQ(textLastIndexOf(text, u"img src=\"", 21), 12);
    EXPECT_EQ(textLastIndexOf(text, u"img src=\"", 20), 0);
    EXPECT_EQ(textLastIndexOf(text, u"img src=\"", 8), -1);
    // Full-width haystack: the limit is an original position.
    const QString wide = QStringLiteral("\uFF41\uFF42\uFF41\uFF42");   // ａｂａｂ
    EXPECT_EQ(textLastIndexOf(wide, u"AB", 3), 0);
    EXPECT_EQ(textLastIndexOf(wide, u"AB", 4), 2);
}

TEST(TextReplace, ReplacesEveryMatchAndKeepsTheRest)
{
    EXPECT_EQ(textReplace(u"Aa\uFF71\u3042", u"a", QStringLiteral("-")), QStringLiteral("--\uFF71\u3042"));
    EXPECT_EQ(textReplace(u"Aa\uFF71\u3042", u"\u3042", QStringLiteral("x")), QStringLiteral("Aaxx"));
    EXPECT_EQ(textReplace(u"cellspacing=\"0\" CELLSPACING=\"0\"", u"cellspacing=\"0\"", QString()),
              QStringLiteral(" "));
    EXPECT_EQ(textReplace(u"abc", u"", QStringLiteral("x")), QStringLiteral("abc"));
}

TEST(TextStartsWith, ComparesThePrefixFolded)
{
    EXPECT_TRUE(textStartsWith(u"Alignment=\"x\"", u"ALIGN"));
    EXPECT_TRUE(textStartsWith(u"\uFF76\uFF9E\uFF77\uFF9E", u"\u304C"));
    EXPECT_FALSE(textStartsWith(u"\u30AC", u"\uFF76"));
    EXPECT_FALSE(textStartsWith(u"al", u"align"));
    EXPECT_TRUE(textContains(u"Background-Color:red", u"background-color"));
}

} // namespace
