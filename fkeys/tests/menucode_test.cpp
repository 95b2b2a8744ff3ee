#include "fkeys/menucode.h"

#include <gtest/gtest.h>

using fkeys::MenuCode;

namespace {

struct DecodeRow {
    const char16_t* text;
    bool valid;
    int group;
    int index;
};

class MenuCodeDecode : public ::testing::TestWithParam<DecodeRow> {};

TEST_P(MenuCodeDecode, ReadsTwoBase36Digits)
{
    const DecodeRow row = GetParam();
    const auto code = MenuCode::fromText(QString::fromUtf16(row.text));
    ASSERT_EQ(code.has_value(), row.valid) << QString::fromUtf16(row.text).toStdString();
    if (row.valid) {
        EXPECT_EQ(*code, (MenuCode{row.group, row.index}));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, MenuCodeDecode,
                         ::testing::Values(DecodeRow{u"00", true, 0, 0},
                                           DecodeRow{u"21", true, 2, 1},
                                           DecodeRow{u"1A", true, 1, 10},
                                           DecodeRow{u"Z9", true, 35, 9},
                                           DecodeRow{u"EH", true, 14, 17},
                                           DecodeRow{u"ZZ", true, 35, 35},
                                           DecodeRow{u"", false, 0, 0},
                                           DecodeRow{u"2", false, 0, 0},
                                           DecodeRow{u"123", false, 0, 0},
                                           // Lower case and the characters between
                                           // "9" and "A" are not digits.
                                           DecodeRow{u"a0", false, 0, 0},
                                           DecodeRow{u":0", false, 0, 0},
                                           DecodeRow{u"2@", false, 0, 0},
                                           DecodeRow{u"２１", false, 0, 0}));

TEST(MenuCode, EncodesBackToTheSameTextAndNothingOutsideOneDigit)
{
    for (const char16_t* text : {u"00", u"1A", u"Z9", u"F0", u"EG", u"9Z"}) {
        const auto code = MenuCode::fromText(QString::fromUtf16(text));
        ASSERT_TRUE(code);
        EXPECT_EQ(code->text(), QString::fromUtf16(text));
    }
    EXPECT_EQ((MenuCode{36, 0}.text()), QString());
    EXPECT_EQ((MenuCode{1, -1}.text()), QString());
}

TEST(MenuCode, GroupsNameTheirMenuArrays)
{
    EXPECT_EQ(fkeys::menuArrayName(1), QStringLiteral("mnJb"));
    EXPECT_EQ(fkeys::menuArrayName(2), QStringLiteral("mnFile"));
    EXPECT_EQ(fkeys::menuArrayName(12), QStringLiteral("mnDisp"));
    EXPECT_EQ(fkeys::menuArrayName(15), QStringLiteral("mnUser"));
    EXPECT_EQ(fkeys::menuArrayName(16), QStringLiteral("mnRep"));
    // Placeholders name no menu.
    EXPECT_EQ(fkeys::menuArrayName(0), QString());
    EXPECT_EQ(fkeys::menuArrayName(17), QString());
    EXPECT_EQ(fkeys::menuArrayName(35), QString());
}

} // namespace
