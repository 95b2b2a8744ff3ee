// The mapping every Word-family codec shares: lengths with and without
// units, heading levels by name, id or outline level, list kinds both ways,
// and the Japanese phrases of what a read lost.

#include "formats/word/wordmapping.h"
#include "formats/word/wordreport.h"

#include <gtest/gtest.h>

using namespace formats::word;

TEST(WordMapping, LengthsInTwipsWithOrWithoutAUnit)
{
    EXPECT_EQ(twipsOf(u"720"), 720.0);
    EXPECT_DOUBLE_EQ(*twipsOf(u"1in"), 1440.0);
    EXPECT_DOUBLE_EQ(*twipsOf(u"12pt"), 240.0);
    EXPECT_NEAR(*twipsOf(u"2.54cm"), 1440.0, 1e-9);
    EXPECT_FALSE(twipsOf(u"wide"));
    EXPECT_FALSE(twipsOf(u"infpt"));
}

TEST(WordMapping, HeadingLevelsByNameIdOrOutlineLevel)
{
    EXPECT_EQ(headingLevelOf(u"", u"heading 2", std::nullopt), 2);
    EXPECT_EQ(headingLevelOf(u"", u"見出し １", std::nullopt), 1);
    EXPECT_EQ(headingLevelOf(u"3", u"", std::nullopt), 3);
    EXPECT_EQ(headingLevelOf(u"", u"Title", 1), 2);
    EXPECT_EQ(headingLevelOf(u"", u"heading 6", std::nullopt), 3) << "deeper levels join level 3";
    EXPECT_EQ(headingLevelOf(u"", u"Normal", std::nullopt), 0);
}

TEST(WordMapping, ListKindsComeBackFromTheFormatsWrittenForThem)
{
    for (const auto style : {QTextListFormat::ListDisc, QTextListFormat::ListCircle, QTextListFormat::ListSquare,
                             QTextListFormat::ListDecimal, QTextListFormat::ListLowerAlpha, QTextListFormat::ListUpperAlpha,
                             QTextListFormat::ListLowerRoman, QTextListFormat::ListUpperRoman}) {
        const NumberFormat format = numberFormatOf(style, 1);
        EXPECT_EQ(listStyleOf(format.format, format.levelText), style) << format.format.toStdString();
    }
}

TEST(WordReport, EachLossHasItsOwnJapanesePhrase)
{
    const Loss losses[] = {Loss::Footnotes, Loss::Endnotes,       Loss::Comments,          Loss::Equations,
                           Loss::Charts,    Loss::TrackedChanges, Loss::UndrawablePictures};
    std::set<QString> phrases;
    for (const Loss loss : losses) {
        EXPECT_TRUE(describe(loss).endsWith(u'｡'));
        phrases.insert(describe(loss));
    }
    EXPECT_EQ(phrases.size(), std::size(losses));
}
