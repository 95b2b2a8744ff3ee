#include "print/pageviewstate.h"

#include "testsupport/printers.h"

#include <gtest/gtest.h>

namespace print {
namespace {

using Turn = PageViewState::Turn;

const QSize kA4(11906, 16838);
const QSize kA4Landscape(16838, 11906);
const QSize kClient(10000, 8000);

PageViewState fitted(QSize page, int pages = 1)
{
    PageViewState state(page, pages);
    state.fitInto(kClient);
    return state;
}

TEST(PageViewFit, PortraitPageIsNineTenthsOfTheHeightCentred)
{
    const PageViewState state = fitted(kA4);
    EXPECT_EQ(state.pageRect(), QRect(2454, 400, 5091, 7200));
    EXPECT_EQ(state.fitZoom(), 43);
    EXPECT_EQ(state.zoom(), 43);
    EXPECT_TRUE(state.showsWholePage());
}

TEST(PageViewFit, LandscapePageIsNineTenthsOfTheWidthCentred)
{
    const PageViewState state = fitted(kA4Landscape);
    EXPECT_EQ(state.pageRect(), QRect(500, 818, 9000, 6364));
    EXPECT_EQ(state.fitZoom(), 53);
}

TEST(PageViewFit, ShadowsRunAlongTheRightAndBottomEdges)
{
    const PageViewState state = fitted(kA4);
    EXPECT_EQ(state.rightShadow(), QRect(2454 + 5091, 500, 100, 7200));
    EXPECT_EQ(state.bottomShadow(), QRect(2554, 400 + 7200, 5091, 100));
}

TEST(PageViewFit, AnEmptyClientAreaStillLeavesAZoomToScaleFrom)
{
    PageViewState state(kA4, 1);
    state.fitInto(QSize(0, 0));
    EXPECT_EQ(state.pageRect().size(), QSize(0, 0));
    EXPECT_EQ(state.fitZoom(), 1);
    state.zoomTo(200);
    EXPECT_EQ(state.pageRect(), QRect(0, 0, 0, 0));
}

TEST(PageViewZoom, ChoicesScaleTheFitRectangle)
{
    PageViewState state = fitted(kA4);
    state.zoomTo(50);
    // 5091 × 50 / 43 by 7200 × 50 / 43: wider than the fit, taller than the area.
    EXPECT_EQ(state.pageRect(), QRect(2040, 0, 5920, 8372));
    EXPECT_EQ(state.zoom(), 50);
    EXPECT_FALSE(state.showsWholePage());
}

TEST(PageViewZoom, AtThreeHundredALargePageSitsAtTheTopLeft)
{
    PageViewState state = fitted(kA4);
    state.zoomTo(300);
    EXPECT_EQ(state.pageRect(), QRect(0, 0, 35519, 50233));
}

TEST(PageViewZoom, WholePageAfterTwoHundredIsExactlyTheOpeningRectangle)
{
    PageViewState state = fitted(kA4);
    const QRect opened = state.pageRect();
    state.zoomTo(200);
    EXPECT_NE(state.pageRect(), opened);
    state.zoomToWholePage();
    EXPECT_EQ(state.pageRect(), opened);
    EXPECT_EQ(state.zoom(), state.fitZoom());
}

TEST(PageViewZoom, AResizedAreaKeepsTheZoomChosen)
{
    PageViewState state = fitted(kA4);
    state.zoomTo(100);
    state.fitInto(QSize(20000, 16000));
    EXPECT_EQ(state.zoom(), 100);
    EXPECT_EQ(state.fitZoom(), 86);
    state.zoomToWholePage();
    state.fitInto(kClient);
    EXPECT_EQ(state.pageRect(), QRect(2454, 400, 5091, 7200));
}

// At either end the turns that would leave the document are off and do nothing.
TEST(PageViewPages, TurningPastEitherEndStaysThere)
{
    PageViewState state = fitted(kA4, 5);
    EXPECT_EQ(state.page(), 1);
    for (const Turn turn : {Turn::Previous, Turn::First}) {
        state.turn(turn);
        EXPECT_EQ(state.page(), 1);
    }
    EXPECT_FALSE(state.canTurn(Turn::Previous));
    EXPECT_TRUE(state.canTurn(Turn::Next) && state.canTurn(Turn::Last));
    state.turn(Turn::Last);
    for (const Turn turn : {Turn::Next, Turn::Last}) {
        state.turn(turn);
        EXPECT_EQ(state.page(), 5);
    }
    EXPECT_FALSE(state.canTurn(Turn::Next) || state.canTurn(Turn::Last));
    EXPECT_TRUE(state.canTurn(Turn::Previous) && state.canTurn(Turn::First));
}

TEST(PageViewPages, TurningWalksOnePageAtATime)
{
    PageViewState state = fitted(kA4, 3);
    state.turn(Turn::Next);
    EXPECT_EQ(state.page(), 2);
    EXPECT_TRUE(state.canTurn(Turn::Previous));
    EXPECT_TRUE(state.canTurn(Turn::Next));
    state.turn(Turn::Next);
    state.turn(Turn::Previous);
    EXPECT_EQ(state.page(), 2);
    state.turn(Turn::First);
    EXPECT_EQ(state.page(), 1);
}

TEST(PageViewPages, AOnePageDocumentOffersOnlyTheFirstPage)
{
    const PageViewState state = fitted(kA4, 1);
    EXPECT_TRUE(state.canTurn(Turn::First));
    EXPECT_FALSE(state.canTurn(Turn::Previous));
    EXPECT_FALSE(state.canTurn(Turn::Next));
    EXPECT_FALSE(state.canTurn(Turn::Last));
}

TEST(PageViewPages, CountsAreKeptWithinSixteenBitPageNumbers)
{
    EXPECT_EQ(PageViewState(kA4, 0).pageCount(), 1);
    PageViewState huge(kA4, 100000);
    EXPECT_EQ(huge.pageCount(), PageViewState::kMostPages);
    huge.turn(Turn::Last);
    EXPECT_EQ(huge.page(), 32767);
}

} // namespace
} // namespace print
