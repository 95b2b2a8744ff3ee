#include "bars/colorpicker.h"
#include "bars/formatbar.h"
#include "bars/palette.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QToolButton>
#include <gtest/gtest.h>

namespace bars {
namespace {

// Picks entry `index` (0 is the title) the way a click in the open list does.
void pick(ColorPicker& picker, int index)
{
    picker.picker()->setCurrentIndex(index);
    emit picker.picker()->activated(index);
}

TEST(ColorPicker, ListsItsTitleThenTheTenColoursInJapanese)
{
    ColorPicker picker(ColorTarget::Text, QStringLiteral("imFcr"), QStringLiteral("cmFcr"));
    QComboBox* list = picker.picker();
    ASSERT_EQ(list->count(), 11);
    EXPECT_EQ(list->itemText(0), QStringLiteral("文字色"));
    EXPECT_EQ(list->itemText(1), QStringLiteral("黒"));
    EXPECT_EQ(list->itemText(6), QStringLiteral("赤"));
    EXPECT_EQ(list->itemText(10), QStringLiteral("白"));
    for (int i = 1; i < list->count(); ++i)
        EXPECT_FALSE(list->itemIcon(i).isNull()) << i;
    EXPECT_EQ(picker.picker()->objectName(), QStringLiteral("imFcr"));
    EXPECT_EQ(picker.applyButton()->objectName(), QStringLiteral("cmFcr"));
}

TEST(ColorPicker, NothingIsPickedWhileTheTitleShows)
{
    ColorPicker picker(ColorTarget::Background, QStringLiteral("imBcr"), QStringLiteral("cmBcr"));
    QSignalSpy picked(&picker, &ColorPicker::colorPicked);
    EXPECT_EQ(picker.picked(), nullptr);
    EXPECT_FALSE(picker.applyButton()->isEnabled());
    EXPECT_EQ(picker.picker()->currentText(), QStringLiteral("背景色"));
    pick(picker, 0);
    EXPECT_EQ(picked.count(), 0);
}

TEST(ColorPicker, PickingAColourAppliesItAndTheButtonGivesItAgain)
{
    ColorPicker picker(ColorTarget::Text, QStringLiteral("imFcr"), QStringLiteral("cmFcr"));
    QSignalSpy picked(&picker, &ColorPicker::colorPicked);
    pick(picker, 1); // Bk
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.takeFirst().at(0).toInt(), 0x000000);
    EXPECT_TRUE(picker.applyButton()->isEnabled());
    EXPECT_EQ(picker.applyButton()->toolTip(), QStringLiteral("文字色(") + QStringLiteral("Black") + QStringLiteral(")を設定します"));
    pick(picker, 6); // Rd
    EXPECT_EQ(picked.takeFirst().at(0).toInt(), 0x0000FF);
    EXPECT_EQ(picker.applyButton()->toolTip(), QStringLiteral("文字色(Red)を設定します"));
    picker.applyButton()->click();
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.takeFirst().at(0).toInt(), 0x0000FF);
}

TEST(ColorPicker, TheBackgroundTipNamesTheTextBackground)
{
    ColorPicker picker(ColorTarget::Background, QStringLiteral("imBcr"), QStringLiteral("cmBcr"));
    QSignalSpy picked(&picker, &ColorPicker::colorPicked);
    pick(picker, 10); // Wh
    EXPECT_EQ(picked.takeFirst().at(0).toInt(), 0xFFFFFF);
    EXPECT_EQ(picker.applyButton()->toolTip(), QStringLiteral("文字背景色(White)を設定します"));
}

TEST(Palette, HoldsTheTenColoursInPickerOrder)
{
    const auto entries = palette();
    ASSERT_EQ(entries.size(), 10u);
    QStringList keys;
    for (const PaletteEntry& entry : entries)
        keys << entry.key;
    EXPECT_EQ(keys.join(u' '), QStringLiteral("Bk Gy Br Nv Bl Rd Gr Yw Pr Wh"));
    EXPECT_EQ(entries[2].color, 0x000080); // brown: dark red in 0x00BBGGRR
    EXPECT_EQ(entries[4].color, 0xFF0000); // blue
    EXPECT_EQ(entries[8].color, 0x800080);
}

TEST(FormatBar, PassesOnThePickersAndThePainter)
{
    FormatBar bar;
    QSignalSpy text(&bar, &FormatBar::textColorPicked);
    QSignalSpy background(&bar, &FormatBar::backgroundColorPicked);
    QSignalSpy painter(&bar, &FormatBar::painterPressed);
    pick(*bar.textPicker(), 5);      // Bl
    pick(*bar.backgroundPicker(), 8); // Yw
    bar.painterButton()->click();
    ASSERT_EQ(text.count(), 1);
    EXPECT_EQ(text.first().at(0).toInt(), 0xFF0000);
    ASSERT_EQ(background.count(), 1);
    EXPECT_EQ(background.first().at(0).toInt(), 0x00FFFF);
    EXPECT_EQ(painter.count(), 1);
    EXPECT_EQ(bar.painterButton()->objectName(), QStringLiteral("cmTfm"));
}

TEST(FormatBar, ThePainterShowsTheKeptFormat)
{
    FormatBar bar;
    QFont kept(QStringLiteral("Noto Serif CJK JP"));
    kept.setBold(true);
    bar.showKeptFormat(kept, QColor(Qt::red), QColor(Qt::yellow));
    QToolButton* face = bar.painterButton();
    EXPECT_EQ(face->font().family(), QStringLiteral("Noto Serif CJK JP"));
    EXPECT_TRUE(face->font().bold());
    EXPECT_EQ(face->palette().color(QPalette::ButtonText), QColor(Qt::red));
    EXPECT_EQ(face->palette().color(QPalette::Button), QColor(Qt::yellow));
}

} // namespace
} // namespace bars
