#include "dialogs/userformat.h"

#include <gtest/gtest.h>

using dialogs::UserFormat;

namespace {

QString text(const char16_t* s)
{
    return QString::fromUtf16(s);
}

// A record unlike every default, so that a parse that fell back is seen.
UserFormat sample()
{
    UserFormat r;
    r.fontName = QStringLiteral("IPAexGothic");
    r.size = 13;
    r.textColor = 0x123456;
    r.backgroundColor = -1;
    r.bold = 1;
    r.attributes = {2, 3, 4, 5};
    r.leftIndent = -120;
    r.spacing = {11, 22, 33, 44};
    return r;
}

} // namespace

TEST(UserFormatDefaults, FollowTheDefaultTable)
{
    // size, text colour, bold, attribute A, left indent, spacing 1, spacing 2
    const int table[8][7] = {{14, 0x505A85, 1, 0, 160, 180, 160}, {12, 0x4D6854, 1, 0, 160, 140, 120},
                             {11, 0x563F3A, 1, 0, 160, 100, 80},  {10, 0, 0, 0, 60, 0, 0},
                             {10, 0x80, 0, 0, 60, 0, 0},          {9, 0x808080, 0, 0, 60, 0, 0},
                             {9, 0x563F3A, 0, 1, 0, 0, 0},        {9, 0x563F3A, 0, 1, 0, 0, 0}};
    for (int i = 0; i < 8; ++i) {
        const UserFormat r = UserFormat::defaults(i);
        SCOPED_TRACE(i);
        EXPECT_EQ(r.fontName, text(u"ＭＳ Ｐゴシック"));
        EXPECT_EQ(r.size, table[i][0]);
        EXPECT_EQ(r.textColor, table[i][1]);
        EXPECT_EQ(r.backgroundColor, 0xFFFFFF);
        EXPECT_EQ(r.bold, table[i][2]);
        EXPECT_EQ(r.attributes, (std::array<qint16, 4>{qint16(table[i][3]), 0, 0, 0}));
        EXPECT_EQ(r.leftIndent, table[i][4]);
        EXPECT_EQ(r.spacing, (std::array<qint16, 4>{qint16(table[i][5]), qint16(table[i][6]), 0, 0}));
    }
}

TEST(UserFormatText, WritesFourteenDecimalFieldsWithoutTrailingBar)
{
    EXPECT_EQ(sample().toText(), QStringLiteral("IPAexGothic|13|1193046|-1|1|2|3|4|5|-120|11|22|33|44"));
    EXPECT_EQ(UserFormat::defaults(0).toText(), text(u"ＭＳ Ｐゴシック|14|5266053|16777215|1|0|0|0|0|160|180|160|0|0"));
}

TEST(UserFormatText, ReadsBackWhatItWrote)
{
    EXPECT_EQ(UserFormat::fromText(sample().toText(), 0), sample());
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(UserFormat::fromText(UserFormat::defaults(i).toText(), 5), UserFormat::defaults(i));
}

struct MalformedRow {
    const char* why;
    const char16_t* text;
};

class UserFormatMalformed : public ::testing::TestWithParam<MalformedRow> {};

TEST_P(UserFormatMalformed, GivesTheWholeDefaultRecordOfItsIndex)
{
    for (int index : {0, 3, 7}) {
        EXPECT_EQ(UserFormat::fromText(QString::fromUtf16(GetParam().text), index), UserFormat::defaults(index))
            << GetParam().why;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, UserFormatMalformed,
    ::testing::Values(MalformedRow{"empty", u""},
                      MalformedRow{"13 parts", u"Font|13|0|0|1|2|3|4|5|6|11|22|33"},
                      MalformedRow{"15 parts", u"Font|13|0|0|1|2|3|4|5|6|11|22|33|44|55"},
                      MalformedRow{"trailing bar", u"Font|13|0|0|1|2|3|4|5|6|11|22|33|44|"},
                      MalformedRow{"text where a number belongs", u"Font|big|0|0|1|2|3|4|5|6|11|22|33|44"},
                      MalformedRow{"beyond 16 bits", u"Font|13|0|0|1|2|3|4|5|40000|11|22|33|44"},
                      MalformedRow{"colour beyond 32 bits", u"Font|13|4294967296|0|1|2|3|4|5|6|11|22|33|44"},
                      MalformedRow{"no font name", u"|13|0|0|1|2|3|4|5|6|11|22|33|44"},
                      MalformedRow{"size below one point", u"Font|0|0|0|1|2|3|4|5|6|11|22|33|44"}));

TEST(UserFormatText, AttributeDStoredAs32IsReadAs7936AndWrittenBackSo)
{
    const UserFormat r = UserFormat::fromText(QStringLiteral("Font|10|0|16777215|0|0|0|0|32|60|0|0|0|0"), 3);
    EXPECT_EQ(r.attributes[3], 7936);
    EXPECT_EQ(r.toText(), QStringLiteral("Font|10|0|16777215|0|0|0|0|7936|60|0|0|0|0"));
    // Only attribute D carries the old spelling.
    EXPECT_EQ(UserFormat::fromText(QStringLiteral("Font|10|0|16777215|0|32|0|0|0|60|0|0|0|0"), 3).attributes[0], 32);
}
