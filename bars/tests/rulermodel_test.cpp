#include "bars/rulermodel.h"

#include <gtest/gtest.h>

namespace bars {
namespace {

// A text 16 cm wide starting at pixel 40, one pixel per 15 twips (96 dpi).
constexpr double kPerTwip = 1.0 / 15;
constexpr double kLeft = 40;
constexpr double kWidthTwips = 16 * RulerModel::kTwipsPerCentimetre;

RulerModel ruler(const ParagraphMarks& marks = {})
{
    RulerModel model;
    model.setSpan({kLeft, kLeft + kWidthTwips * kPerTwip, kPerTwip});
    model.setMarks(marks);
    return model;
}

double pixelAtCentimetres(double centimetres)
{
    return kLeft + centimetres * RulerModel::kTwipsPerCentimetre * kPerTwip;
}

TEST(RulerModel, MarksStandWhereTheirIndentsAre)
{
    const RulerModel model = ruler({567, -283, 1134, {1440}});
    EXPECT_DOUBLE_EQ(model.pixelOfMark({MarkKind::Left}), kLeft + 567 * kPerTwip);
    EXPECT_DOUBLE_EQ(model.pixelOfMark({MarkKind::FirstLine}), kLeft + 284 * kPerTwip);
    EXPECT_DOUBLE_EQ(model.pixelOfMark({MarkKind::Right}), kLeft + (kWidthTwips - 1134) * kPerTwip);
    EXPECT_DOUBLE_EQ(model.pixelOfMark({MarkKind::Tab, 0}), kLeft + 96);
}

TEST(RulerModel, TheTopHalfTakesTheFirstLineTheBottomHalfTheRest)
{
    const RulerModel model = ruler({0, 0, 0, {1440}});
    EXPECT_EQ(model.markAt(kLeft + 2, true), (Mark{MarkKind::FirstLine}));
    EXPECT_EQ(model.markAt(kLeft - 3, false), (Mark{MarkKind::Left}));
    EXPECT_EQ(model.markAt(kLeft + 96, false), (Mark{MarkKind::Tab, 0}));
    EXPECT_EQ(model.markAt(kLeft + kWidthTwips * kPerTwip, false), (Mark{MarkKind::Right}));
    EXPECT_FALSE(model.markAt(kLeft + 50, false));
    EXPECT_FALSE(model.markAt(kLeft + 50, true));
}

TEST(RulerModel, NothingIsTakenBeforeTheParagraphIsMeasured)
{
    RulerModel model;
    model.setMarks({0, 0, 0, {}});
    EXPECT_FALSE(model.markAt(0, false));
    EXPECT_FALSE(model.addTab(30));
}

TEST(RulerModel, DragsSnapToQuarterCentimetres)
{
    RulerModel model = ruler();
    model.drag({MarkKind::Left}, pixelAtCentimetres(2.1));
    EXPECT_DOUBLE_EQ(model.marks().left, 1134); // 2 cm
    model.drag({MarkKind::Left}, pixelAtCentimetres(2.2));
    EXPECT_DOUBLE_EQ(model.marks().left, 1276); // 2.25 cm, rounded to the twip
}

TEST(RulerModel, MovingTheLeftIndentLeavesTheFirstLineWhereItWas)
{
    RulerModel model = ruler({567, 0, 0, {}});
    model.drag({MarkKind::Left}, pixelAtCentimetres(2));
    EXPECT_DOUBLE_EQ(model.marks().left, 1134);
    EXPECT_DOUBLE_EQ(model.marks().left + model.marks().firstLine, 567); // a hanging first line
    model.drag({MarkKind::FirstLine}, pixelAtCentimetres(3));
    EXPECT_DOUBLE_EQ(model.marks().firstLine, 1701 - 1134);
}

TEST(RulerModel, IndentsStayInsideTheTextAndNeverCross)
{
    RulerModel model = ruler({0, 0, 2835, {}}); // right indent 5 cm
    model.drag({MarkKind::Left}, pixelAtCentimetres(-3));
    EXPECT_DOUBLE_EQ(model.marks().left, 0);
    model.drag({MarkKind::Left}, pixelAtCentimetres(14));
    EXPECT_DOUBLE_EQ(model.marks().left, kWidthTwips - 2835); // stops at the right indent
    model.drag({MarkKind::Right}, pixelAtCentimetres(20));
    EXPECT_DOUBLE_EQ(model.marks().right, 0);
    model.drag({MarkKind::Right}, pixelAtCentimetres(2));
    EXPECT_DOUBLE_EQ(model.marks().right, kWidthTwips - model.marks().left);
}

TEST(RulerModel, TabsAreAddedInOrderOnceAndOnlyInsideTheText)
{
    RulerModel model = ruler({0, 0, 0, {2835}});
    const std::optional<Mark> added = model.addTab(pixelAtCentimetres(2));
    ASSERT_TRUE(added);
    EXPECT_EQ(*added, (Mark{MarkKind::Tab, 0}));
    EXPECT_EQ(model.marks().tabs, (QList<double>{1134, 2835}));
    EXPECT_FALSE(model.addTab(pixelAtCentimetres(2.05))); // the same quarter
    EXPECT_FALSE(model.addTab(pixelAtCentimetres(-1)));
    EXPECT_FALSE(model.addTab(pixelAtCentimetres(17)));
    EXPECT_FALSE(model.addTab(pixelAtCentimetres(0)));
}

TEST(RulerModel, ADraggedTabKeepsTheOrderAndIsFollowed)
{
    RulerModel model = ruler({0, 0, 0, {567, 2835}});
    const Mark moved = model.drag({MarkKind::Tab, 0}, pixelAtCentimetres(8));
    EXPECT_EQ(model.marks().tabs, (QList<double>{2835, 4535}));
    EXPECT_EQ(moved, (Mark{MarkKind::Tab, 1}));
    model.removeTab(moved.tab);
    EXPECT_EQ(model.marks().tabs, (QList<double>{2835}));
    model.removeTab(5); // no such tab
    EXPECT_EQ(model.marks().tabs.size(), 1);
}

} // namespace
} // namespace bars
