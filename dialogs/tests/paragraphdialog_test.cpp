// The paragraph and list dialogs, driven through their controls.
#include "dialogs/listdialog.h"
#include "dialogs/paragraphdialog.h"
#include "dialogs/tests/buttons.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace {

using dialogs::ListDialog;
using dialogs::ListLook;
using dialogs::ParagraphDialog;
using dialogs::ParagraphLook;

constexpr double kCharacterAt10_5 = 210; // 10.5 points in twips

TEST(ParagraphDialogTest, IndentsInCharactersAndCentimetresGiveTwips)
{
    ParagraphLook start;
    start.leftIndent = 567;
    ParagraphDialog dialog(start, kCharacterAt10_5);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("段落"));
    EXPECT_DOUBLE_EQ(dialog.leftIndentBox()->value(), 2.7) << "shown in characters first";
    dialog.unitBox()->setCurrentIndex(ParagraphDialog::Centimetres);
    EXPECT_DOUBLE_EQ(dialog.leftIndentBox()->value(), 1.0) << "switching the unit keeps the length";
    dialog.rightIndentBox()->setValue(2);
    EXPECT_EQ(dialog.look().leftIndent, 567);
    EXPECT_EQ(dialog.look().rightIndent, 1134);

    dialog.unitBox()->setCurrentIndex(ParagraphDialog::Characters);
    dialog.firstLineIndentBox()->setValue(1);
    dialog.leftIndentBox()->setValue(-3);
    EXPECT_EQ(dialog.look().firstLineIndent, 210);
    EXPECT_EQ(dialog.look().leftIndent, 0) << "no negative left indent";
    EXPECT_EQ(dialog.look().rightIndent, 1134);
    dialog.firstLineIndentBox()->setValue(-1);
    EXPECT_EQ(dialog.look().firstLineIndent, -210) << "a hanging first line";
}

TEST(ParagraphDialogTest, AlignmentSpacingAndLineHeightRoundTripWithoutRounding)
{
    ParagraphLook start;
    start.alignment = engine::ParagraphAlignment::Right;
    start.leftIndent = 100; // 0.476 characters: shown rounded
    start.spaceBefore = 5;  // 0.25 points
    start.spaceAfter = 240;
    start.lineSpacing = 0;
    ParagraphDialog dialog(start, kCharacterAt10_5);
    EXPECT_EQ(dialog.alignmentBox()->currentText(), QStringLiteral("右揃え"));
    EXPECT_EQ(dialog.lineSpacingBox()->text(), QStringLiteral("自動"));
    EXPECT_EQ(dialog.look(), start) << "lengths left alone come back exactly";

    dialog.alignmentBox()->setCurrentIndex(3);
    dialog.spaceBeforeBox()->setValue(6);
    dialog.lineSpacingBox()->setValue(18);
    const ParagraphLook chosen = dialog.look();
    EXPECT_EQ(chosen.alignment, engine::ParagraphAlignment::Justify);
    EXPECT_EQ(chosen.spaceBefore, 120);
    EXPECT_EQ(chosen.spaceAfter, 240);
    EXPECT_EQ(chosen.lineSpacing, 360);
}

TEST(ParagraphDialogTest, OkAcceptsAndCancelRejects)
{
    ParagraphDialog confirmed({}, kCharacterAt10_5);
    dialogstest::buttonCaptioned(confirmed, QStringLiteral("OK"))->click();
    EXPECT_EQ(confirmed.result(), QDialog::Accepted);
    ParagraphDialog cancelled({}, kCharacterAt10_5);
    dialogstest::buttonCaptioned(cancelled, QStringLiteral("ｷｬﾝｾﾙ"))->click();
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
}

TEST(ListDialogTest, OffersTheEnginesKindsInOrderAndRoundTripsKindsAndLevels)
{
    ListDialog dialog({1, 1});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ﾘｽﾄ"));
    QStringList kinds;
    for (int row = 0; row < dialog.kindBox()->count(); ++row)
        kinds << dialog.kindBox()->itemText(row);
    EXPECT_EQ(kinds, (QStringList{QStringLiteral("なし"), QStringLiteral("箇条書き"), QStringLiteral("1 2 3"),
                                  QStringLiteral("a b c"), QStringLiteral("A B C"), QStringLiteral("i ii iii"),
                                  QStringLiteral("I II III")}));
    EXPECT_FALSE(dialog.levelBox()->isEnabled()) << "no list, no level";
    EXPECT_EQ(dialog.levelBox()->maximum(), 9);
    for (int kind = 1; kind <= 7; ++kind)
        for (const int level : {1, 4, 9}) {
            ListDialog shown({kind, level});
            EXPECT_EQ(shown.look(), (ListLook{kind, level})) << kind << ' ' << level;
        }
    dialog.kindBox()->setCurrentIndex(4);
    EXPECT_TRUE(dialog.levelBox()->isEnabled());
    dialog.levelBox()->setValue(2);
    EXPECT_EQ(dialog.look(), (ListLook{5, 2}));
}

TEST(ListDialogTest, AKindTheListDoesNotOfferIsKeptUntilChanged)
{
    ListDialog dialog({42, 1});
    EXPECT_EQ(dialog.kindBox()->currentText(), QStringLiteral("箇条書き"));
    EXPECT_EQ(dialog.look().kind, 42);
    dialog.kindBox()->setCurrentIndex(2);
    EXPECT_EQ(dialog.look().kind, 3);
}

} // namespace
