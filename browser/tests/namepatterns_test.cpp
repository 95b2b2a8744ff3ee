#include "browser/namepatterns.h"

#include <gtest/gtest.h>

namespace {

struct PatternRow {
    const char16_t* patterns;
    const char16_t* name;
    bool matches;
};

class NamePatternRows : public ::testing::TestWithParam<PatternRow> {};

TEST_P(NamePatternRows, MatchIgnoringCase)
{
    const PatternRow row = GetParam();
    const browser::NamePatterns patterns(QString::fromUtf16(row.patterns));
    EXPECT_EQ(patterns.matches(QString::fromUtf16(row.name)), row.matches)
        << QString::fromUtf16(row.patterns).toStdString() << " / "
        << QString::fromUtf16(row.name).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NamePatternRows,
    ::testing::Values(PatternRow{u"*.htm;*.html;*.rtf", u"a.htm", true},
                      PatternRow{u"*.htm;*.html;*.rtf", u"報告.HTML", true},
                      PatternRow{u"*.htm;*.html;*.rtf", u"b.Rtf", true},
                      PatternRow{u"*.htm;*.html;*.rtf", u"c.txt", false},
                      PatternRow{u"*.htm;*.html;*.rtf", u"htm", false},
                      PatternRow{u"*.htm;*.html;*.rtf", u"a.htm.bak", false},
                      // No patterns: every file is a document.
                      PatternRow{u"", u"anything", true},
                      PatternRow{u";;", u"anything", true},
                      // "*.*" also takes names without a dot, as it always did.
                      PatternRow{u"*.*", u"README", true},
                      PatternRow{u"*.txt;*.*", u"Makefile", true},
                      PatternRow{u"a?c.txt", u"abc.txt", true},
                      PatternRow{u"a?c.txt", u"ac.txt", false},
                      PatternRow{u" *.htm ; ;*.rtf ", u"x.RTF", true},
                      PatternRow{u"[", u"[", false}));

TEST(NamePatterns, MatchEverythingOnlyWithoutPatterns)
{
    EXPECT_TRUE(browser::NamePatterns().matchesEverything());
    EXPECT_FALSE(browser::NamePatterns(QStringLiteral("*.htm")).matchesEverything());
}

} // namespace
