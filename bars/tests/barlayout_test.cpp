#include "bars/barlayout.h"

#include <gtest/gtest.h>

namespace bars {
namespace {

TEST(BarLayout, StoredTextComesBackAsItWasWritten)
{
    const QString stored = QStringLiteral("120-1-R-frFmt:0-0-N-tlBar:300-1-R-vStatus:0-1-N-vButton:");
    const std::optional<BarLayout> layout = BarLayout::fromText(stored);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->toText(), stored);
    ASSERT_EQ(layout->bands().size(), 4u);
    EXPECT_EQ(layout->bands()[0].bar, Bar::Format);
    EXPECT_EQ(layout->bands()[0].width, 120);
    EXPECT_FALSE(layout->shown(Bar::Standard));
    EXPECT_FALSE(layout->bands()[1].newRow);
    EXPECT_TRUE(layout->shown(Bar::Buttons));
}

TEST(BarLayout, ShownFlagIsTheSecondNumberAboveZero)
{
    const auto layout =
        BarLayout::fromText(QStringLiteral("0-2-R-tlBar:0-0-R-frFmt:0-0-R-vButton:0-1-R-vStatus:"));
    ASSERT_TRUE(layout);
    EXPECT_TRUE(layout->shown(Bar::Standard));
    EXPECT_FALSE(layout->shown(Bar::Format));
    EXPECT_FALSE(layout->shown(Bar::Buttons));
    EXPECT_TRUE(layout->shown(Bar::Status));
}

TEST(BarLayout, TextsThatDoNotDescribeEveryBarAreIgnored)
{
    for (const char* text : {
             "",                                                    // nothing stored yet
             "0-1-R-tlBar:0-1-R-frFmt:0-1-R-vButton:",               // three entries
             "0-1-R-tlBar:0-1-R-frFmt:0-1-R-vButton:0-1-vStatus:",   // an entry of three fields
             "0-1-R-tlBar:0-1-R-frFmt:0-1-R-vButton:0-1-R-x-vStatus:", // of five
             "0-1-R-tlBar:0-1-R-frFmt:0-1-R-vButton:0-1-R-vRuler:",  // no such bar
             "0-1-R-tlBar:0-1-R-tlBar:0-1-R-vButton:0-1-R-vStatus:", // a bar twice
             "a-1-R-tlBar:0-1-R-frFmt:0-1-R-vButton:0-1-R-vStatus:", // not a number
             "0-1-X-tlBar:0-1-R-frFmt:0-1-R-vButton:0-1-R-vStatus:", // neither R nor N
         })
        EXPECT_FALSE(BarLayout::fromText(QString::fromUtf8(text))) << text;
}

TEST(BarLayout, TheDefaultShowsEveryBarTwoToARow)
{
    const BarLayout layout;
    EXPECT_EQ(layout.toText(), QStringLiteral("0-1-R-tlBar:0-1-N-frFmt:0-1-R-vButton:0-1-N-vStatus:"));
    EXPECT_FALSE(layout.rulerShown());
}

TEST(BarLayout, ShowOrHideTakesTheBarNumbersTheRulerAndAll)
{
    BarLayout layout;
    EXPECT_TRUE(layout.showOrHide(-3));
    EXPECT_FALSE(layout.shown(Bar::Buttons));
    EXPECT_TRUE(layout.shown(Bar::Standard));
    EXPECT_TRUE(layout.showOrHide(3));
    EXPECT_TRUE(layout.shown(Bar::Buttons));
    EXPECT_TRUE(layout.showOrHide(5));
    EXPECT_TRUE(layout.rulerShown());
    EXPECT_TRUE(layout.showOrHide(-8));
    for (Bar bar : {Bar::Standard, Bar::Format, Bar::Buttons, Bar::Status})
        EXPECT_FALSE(layout.shown(bar));
    EXPECT_FALSE(layout.rulerShown());
    EXPECT_TRUE(layout.showOrHide(7));
    for (Bar bar : {Bar::Standard, Bar::Format, Bar::Buttons, Bar::Status})
        EXPECT_TRUE(layout.shown(bar));
    EXPECT_TRUE(layout.rulerShown());
}

TEST(BarLayout, ShowOrHideRefusesNumbersItDoesNotKnow)
{
    BarLayout layout;
    layout.showOrHide(-2);
    const QString before = layout.toText();
    for (int command : {0, 6, -6, -7, 8, 9, -9, 100})
        EXPECT_FALSE(layout.showOrHide(command)) << command;
    EXPECT_EQ(layout.toText(), before);
    EXPECT_FALSE(layout.rulerShown());
}

} // namespace
} // namespace bars
