// Placing a picture: pixels to twips and back at the screen's resolution,
// and shrinking to the text width with the notice the user reads.
#include "picture/fit.h"

#include "testsupport/printers.h"

#include <gtest/gtest.h>

namespace picture {
namespace {

TEST(UnitsTest, PixelsAndTwipsAtTheScreensResolution)
{
    EXPECT_EQ(pixelsToTwips({96, 48}, 96, 96), QSize(1440, 720));
    EXPECT_EQ(pixelsToTwips({100, 100}, 96, 120), QSize(1500, 1200));
    EXPECT_EQ(pixelsToTwips({1, 1}, 96, 96), QSize(15, 15));
    EXPECT_EQ(pixelsToTwips({7, 7}, 144, 144), QSize(70, 70));
    EXPECT_EQ(pixelsToTwips({1, 1}, 72, 110), QSize(20, 13)); // 13.09 rounds down
    EXPECT_EQ(twipsToPixels({1440, 720}, 96, 96), QSize(96, 48));
    EXPECT_EQ(twipsToPixels({1500, 1200}, 96, 120), QSize(100, 100));
    EXPECT_EQ(twipsToPixels({22, 23}, 96, 96), QSize(1, 2)); // 1.47 and 1.53
}

TEST(FitTest, WiderThanTheTextIsShrunkKeepingItsProportions)
{
    const Fit half = fitToWidth({20000, 8000}, 10000);
    EXPECT_TRUE(half.shrunk);
    EXPECT_EQ(half.twips, QSize(10000, 4000));
    EXPECT_DOUBLE_EQ(half.ratio, 0.5);
    EXPECT_EQ(shrinkMessage(half.ratio), QStringLiteral("元の画像の巾が現在の文書の巾より大きいので、50.0%縮小されます"));

    const Fit threeQuarters = fitToWidth({12000, 1001}, 9000);
    EXPECT_TRUE(threeQuarters.shrunk);
    EXPECT_EQ(threeQuarters.twips, QSize(9000, 751)); // 750.75
    EXPECT_EQ(shrinkMessage(threeQuarters.ratio), QStringLiteral("元の画像の巾が現在の文書の巾より大きいので、75.0%縮小されます"));
}

TEST(FitTest, NeverEnlargedAndUnlimitedWithoutAWidth)
{
    for (const int maxWidth : {10000, 30000, 0, -5}) {
        const Fit fit = fitToWidth({10000, 3000}, maxWidth);
        EXPECT_FALSE(fit.shrunk) << maxWidth;
        EXPECT_EQ(fit.twips, QSize(10000, 3000)) << maxWidth;
        EXPECT_DOUBLE_EQ(fit.ratio, 1.0) << maxWidth;
    }
}

TEST(FitTest, NoticeGivesOneDecimal)
{
    EXPECT_EQ(shrinkMessage(0.005), QStringLiteral("元の画像の巾が現在の文書の巾より大きいので、0.5%縮小されます"));
    EXPECT_EQ(shrinkMessage(2.0 / 3.0), QStringLiteral("元の画像の巾が現在の文書の巾より大きいので、66.7%縮小されます"));
    EXPECT_EQ(shrinkMessage(fitToWidth({30000, 300}, 10000).ratio),
              QStringLiteral("元の画像の巾が現在の文書の巾より大きいので、33.3%縮小されます"));
}

} // namespace
} // namespace picture
