#include "fakehost.h"

#include "fkeys/barlayout.h"
#include "fkeys/keystrip.h"
#include "fkeys/statuspanel.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using fkeys::KeyGroup;
using fkeys::KeyId;
using fkeystest::FakeHost;

namespace {

const KeyId F2{KeyGroup::F, 2};
const KeyId F8{KeyGroup::F, 8};
const KeyId F10{KeyGroup::F, 10};
const KeyId C1{KeyGroup::C, 1};
const KeyId C3{KeyGroup::C, 3};
const KeyId C12{KeyGroup::C, 12};

class KeyBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.bar->cOn(&host, true);
        host.bar->cKey(QStringLiteral("F2"), 5, 0, QStringLiteral("表題1"),
                       QStringLiteral("指定範囲の書式を表題1のｽﾀｲﾙにします"));
        host.bar->cKey(QStringLiteral("F4"), 5, 2, QStringLiteral("表題3"));
        host.bar->cKey(QStringLiteral("F8"), 2, 1, QStringLiteral("上書"),
                       QStringLiteral("現在の文書を更新します"));
        host.bar->cKey(QStringLiteral("F10"), 2, 0, QStringLiteral("新規"));
        host.bar->cKey(QStringLiteral("C1"), 3, 0, QStringLiteral("Undo"));
        host.bar->cKey(QStringLiteral("C12"), 5, 7, QStringLiteral("ﾌｫﾝﾄ"));
    }

    void showActive()
    {
        host.show();
        QApplication::setActiveWindow(&host);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        host.editor->setFocus();
    }

    QToolButton* button(int number) const
    {
        return host.bar->findChild<QToolButton*>(QStringLiteral("key%1").arg(number));
    }

    fkeys::KeyStrip* strip() const { return host.bar->strip(); }

    FakeHost host;
};

TEST_F(KeyBar, KeysShowTheirCaptionsAndToolTips)
{
    EXPECT_EQ(strip()->caption(F2), QStringLiteral("F2 表題1"));
    EXPECT_EQ(button(2)->text(), QStringLiteral("F2 表題1"));
    EXPECT_EQ(button(2)->toolTip(), QStringLiteral("指定範囲の書式を表題1のｽﾀｲﾙにします"));
    // Without a tool tip the menu caption before its "(" stands in.
    EXPECT_EQ(strip()->keyToolTip(F10), QStringLiteral("新規作成"));
    EXPECT_EQ(strip()->keyToolTip({KeyGroup::F, 4}), QStringLiteral("表題3 の書式"));
    EXPECT_EQ(strip()->caption(C12), QStringLiteral("C12 ﾌｫﾝﾄ"));
    EXPECT_EQ(strip()->layoutString(), QStringLiteral("4|4|4"));
}

TEST_F(KeyBar, KeysOfItemsThatDoNotExistAreNotBound)
{
    host.bar->cKey(QStringLiteral("F5"), 2, 3, QStringLiteral("区切"));   // a separator
    host.bar->cKey(QStringLiteral("F6"), 2, 40, QStringLiteral("無し"));  // no such index
    host.bar->cKey(QStringLiteral("F7"), 7, 0, QStringLiteral("無し"));   // no such array
    host.bar->cKey(QStringLiteral("F9"), 0, 1, QStringLiteral("無し"));   // placeholder group
    for (const char16_t* key : {u"F5", u"F6", u"F7", u"F9"})
        EXPECT_FALSE(host.bar->bindings().codeOf(QString::fromUtf16(key)))
            << QString::fromUtf16(key).toStdString();
    EXPECT_EQ(strip()->caption({KeyGroup::F, 5}), QString());
}

TEST_F(KeyBar, AnEmptyCaptionClearsCaptionAndToolTip)
{
    host.bar->cKey(QStringLiteral("F2"), 5, 0, QString());
    EXPECT_EQ(strip()->caption(F2), QString());
    EXPECT_EQ(strip()->keyToolTip(F2), QString());
    EXPECT_EQ(button(2)->text(), QStringLiteral("F2"));
    EXPECT_TRUE(host.bar->bindings().codeOf(QStringLiteral("F2")));
}

TEST_F(KeyBar, ClickingAKeyRunsItsMenuItemThroughTheHost)
{
    QTest::mouseClick(button(4), Qt::LeftButton);
    QTest::mouseClick(button(8), Qt::LeftButton);
    QTest::mouseClick(button(1), Qt::LeftButton);   // unbound: nothing
    ASSERT_EQ(host.calls.size(), 2u);
    EXPECT_EQ(host.calls[0], std::make_pair(5, 2));
    EXPECT_EQ(host.calls[1], std::make_pair(2, 1));
}

TEST_F(KeyBar, TheCtrlGroupRunsItsOwnItemsAndFallsBackToF)
{
    host.bar->findChild<QToolButton*>(QStringLiteral("ctrlToggle"))->click();
    EXPECT_EQ(strip()->group(), KeyGroup::C);
    EXPECT_EQ(button(1)->text(), QStringLiteral("C1 Undo"));
    QTest::mouseClick(button(1), Qt::LeftButton);
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0], std::make_pair(3, 0));
    EXPECT_EQ(strip()->group(), KeyGroup::F);
    EXPECT_EQ(button(1)->text(), QStringLiteral("F1"));
}

TEST_F(KeyBar, PhysicalKeysRunTheStripsItemsBeforeTheMenuShortcuts)
{
    showActive();
    QTest::keyClick(host.editor, Qt::Key_F4);
    QTest::keyClick(host.editor, Qt::Key_F1, Qt::ControlModifier);
    // F8 is "ﾌｫﾝﾄ" in the menu but "上書" on the strip: the strip wins.
    QTest::keyClick(host.editor, Qt::Key_F8);
    ASSERT_EQ(host.calls.size(), 3u);
    EXPECT_EQ(host.calls[0], std::make_pair(5, 2));
    EXPECT_EQ(host.calls[1], std::make_pair(3, 0));
    EXPECT_EQ(host.calls[2], std::make_pair(2, 1));
    EXPECT_EQ(host.fontChosen, 0);
    EXPECT_EQ(strip()->group(), KeyGroup::F);
}

TEST_F(KeyBar, WhileTheStripIsHiddenTheMenuShortcutsApply)
{
    showActive();
    host.bar->hide();
    QTest::keyClick(host.editor, Qt::Key_F8);
    QTest::keyClick(host.editor, Qt::Key_F4);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(host.fontChosen, 1);
}

TEST_F(KeyBar, UnboundShiftedAndDisabledKeysRunNothing)
{
    showActive();
    host.bar->SetEnbKy(QStringLiteral("F8"), false);
    QTest::keyClick(host.editor, Qt::Key_F3);
    QTest::keyClick(host.editor, Qt::Key_F4, Qt::ShiftModifier);
    QTest::keyClick(host.editor, Qt::Key_F4, Qt::ControlModifier | Qt::AltModifier);
    // A disabled key does not fall through to the menu's own F8 either.
    QTest::keyClick(host.editor, Qt::Key_F8);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(host.fontChosen, 0);
}

TEST_F(KeyBar, HoldingCtrlShowsTheCtrlGroup)
{
    showActive();
    QTest::keyPress(host.editor, Qt::Key_Control);
    EXPECT_EQ(strip()->group(), KeyGroup::C);
    EXPECT_EQ(button(12)->text(), QStringLiteral("C12 ﾌｫﾝﾄ"));
    QTest::keyRelease(host.editor, Qt::Key_Control);
    EXPECT_EQ(strip()->group(), KeyGroup::F);
}

TEST_F(KeyBar, KeysFollowTheirMenuItemsEnabledState)
{
    host.item(QStringLiteral("mnFile"), 1)->setEnabled(false);
    host.item(QStringLiteral("mnEdit"), 0)->setEnabled(false);
    host.bar->SetEnbByMenu();
    EXPECT_FALSE(strip()->isKeyEnabled(F8));
    EXPECT_FALSE(button(8)->isEnabled());
    EXPECT_FALSE(strip()->isKeyEnabled(C1));
    EXPECT_TRUE(strip()->isKeyEnabled(F2));
    QTest::mouseClick(button(8), Qt::LeftButton);
    EXPECT_TRUE(host.calls.empty());

    host.item(QStringLiteral("mnFile"), 1)->setEnabled(true);
    host.bar->SetEnbByMenu();
    EXPECT_TRUE(button(8)->isEnabled());
}

TEST_F(KeyBar, SetEnbKyTakesNamesInAnyCaseWithATrailingComma)
{
    host.bar->SetEnbKy(QStringLiteral("f2,c3,"), false);
    EXPECT_FALSE(strip()->isKeyEnabled(F2));
    EXPECT_FALSE(strip()->isKeyEnabled(C3));
    EXPECT_TRUE(strip()->isKeyEnabled({KeyGroup::F, 3}));
    host.bar->SetEnbKy(QStringLiteral("F2,x9,,F99,C3"), true);
    EXPECT_TRUE(strip()->isKeyEnabled(F2));
    EXPECT_TRUE(strip()->isKeyEnabled(C3));
}

TEST_F(KeyBar, CCapReachesTheBoundItemForShortAndLongKeyNames)
{
    host.bar->cCap(QStringLiteral("F2"), QStringLiteral("見出"));
    host.bar->cCap(QStringLiteral("F10"), QStringLiteral("新文書"));
    host.bar->cCap(QStringLiteral("C12"), QStringLiteral("書体"));
    EXPECT_EQ(host.item(QStringLiteral("mnSelc"), 0)->text(), QStringLiteral("見出"));
    EXPECT_EQ(host.item(QStringLiteral("mnFile"), 0)->text(), QStringLiteral("新文書"));
    EXPECT_EQ(host.item(QStringLiteral("mnSelc"), 7)->text(), QStringLiteral("書体"));
    EXPECT_EQ(strip()->caption(F10), QStringLiteral("F10 新文書"));
    EXPECT_EQ(strip()->caption(C12), QStringLiteral("C12 書体"));
}

TEST_F(KeyBar, WithoutAStructureSetEnbChangesItemsAndTheirOwnKeys)
{
    host.bar->cKyS();
    host.bar->SetEnb(2, QStringLiteral("0.1"), false);
    EXPECT_FALSE(host.item(QStringLiteral("mnFile"), 0)->isEnabled());
    EXPECT_FALSE(host.item(QStringLiteral("mnFile"), 1)->isEnabled());
    EXPECT_FALSE(strip()->isKeyEnabled(F10));
    EXPECT_FALSE(strip()->isKeyEnabled(F8));
    EXPECT_TRUE(strip()->isKeyEnabled(F2));
    // Disabling a top menu reaches no key when no structure says what is below it.
    host.bar->SetEnb(1, QStringLiteral("2"), false);
    EXPECT_TRUE(strip()->isKeyEnabled(F2));
}

TEST_F(KeyBar, SetEnbLeavesHiddenItemsAloneAndCanHideThem)
{
    QAction* save = host.item(QStringLiteral("mnFile"), 1);
    host.bar->SetEnb(2, QStringLiteral("1"), false, true);
    EXPECT_FALSE(save->isVisible());
    EXPECT_FALSE(strip()->isKeyEnabled(F8));
    // While hidden the item's own enabled state is not touched; its key is.
    host.bar->SetEnb(2, QStringLiteral("1"), false);
    host.bar->SetEnb(2, QStringLiteral("1"), true, true);
    EXPECT_TRUE(save->isVisible());
    EXPECT_TRUE(save->isEnabled());
    EXPECT_TRUE(strip()->isKeyEnabled(F8));
}

TEST(KeyBarStructure, DisablingAParentDisablesTheKeysOfItsChildren)
{
    // "fmList" carries "00,10(20,21,22,23),12(70,71,72),80": 10 is mnJb(0) over mnFile 0-3.
    FakeHost host(QStringLiteral("fmList"));
    host.bar->cOn(&host, true);
    host.bar->cKey(QStringLiteral("F10"), 2, 0, QStringLiteral("新規"));
    host.bar->cKey(QStringLiteral("F8"), 2, 1, QStringLiteral("上書"));
    host.bar->cKey(QStringLiteral("C1"), 3, 0, QStringLiteral("Undo"));
    host.bar->cKyS();
    host.bar->SetEnb(1, QStringLiteral("0"), false);
    EXPECT_FALSE(host.item(QStringLiteral("mnJb"), 0)->isEnabled());
    EXPECT_FALSE(host.bar->strip()->isKeyEnabled(F10));
    EXPECT_FALSE(host.bar->strip()->isKeyEnabled(F8));
    EXPECT_TRUE(host.bar->strip()->isKeyEnabled(C1));
    // The children themselves keep their state.
    EXPECT_TRUE(host.item(QStringLiteral("mnFile"), 0)->isEnabled());
    host.bar->SetEnb(1, QStringLiteral("0"), true);
    EXPECT_TRUE(host.bar->strip()->isKeyEnabled(F8));
}

TEST_F(KeyBar, COffForgetsTheHostAndItsBindings)
{
    host.bar->cOff();
    EXPECT_TRUE(host.bar->bindings().all().isEmpty());
    QTest::mouseClick(button(2), Qt::LeftButton);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(KeyBar, PanelIconsPickTheirPictureAndColour)
{
    auto* panel = host.bar->findChild<fkeys::StatusPanel*>();
    auto* text = host.bar->findChild<QLabel*>(QStringLiteral("panelText"));
    auto* picture = host.bar->findChild<QLabel*>(QStringLiteral("panelIcon"));
    struct Row { int fOpt; int icon; QColor colour; };
    for (const Row& row : {Row{1, 3, Qt::black}, Row{2, 2, QColor(0, 0, 255)},
                           Row{4, 1, QColor(255, 0, 0)}, Row{0, 0, QColor(0, 128, 128)},
                           Row{8, 0, QColor(0, 128, 128)}, Row{4, 1, QColor(255, 0, 0)}}) {
        host.bar->PanelTx(QStringLiteral("保存しました"), row.fOpt);
        EXPECT_EQ(panel->icon(), row.icon) << row.fOpt;
        EXPECT_EQ(text->palette().color(QPalette::WindowText), row.colour) << row.fOpt;
        EXPECT_EQ(text->text(), QStringLiteral("保存しました     "));
    }
    const qint64 before = picture->pixmap().cacheKey();
    host.bar->PanelTx(QStringLiteral("もう一度"), 4);
    EXPECT_EQ(picture->pixmap().cacheKey(), before);
    EXPECT_EQ(text->text(), QStringLiteral("もう一度     "));
}

TEST(KeyBarPanel, ProgressTakesThePanelsPlaceAndGivesItBack)
{
    FakeHost host;
    host.bar->cOn(&host, false);   // a plain strip shows its panel on a wide bar
    host.show();
    host.bar->resize(800, 40);     // 15,000 x 750 twips at 96 dpi
    host.bar->StSize();
    auto* panel = host.bar->findChild<fkeys::StatusPanel*>();
    auto* bar = host.bar->findChild<QProgressBar*>(QStringLiteral("progress"));
    ASSERT_TRUE(panel->isVisible());
    const QRect place = panel->geometry();
    host.bar->pbMax(10);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->geometry(), place);
    EXPECT_EQ(bar->maximum(), 10);
    host.bar->pbVAL(7);
    EXPECT_EQ(bar->value(), 7);
    host.bar->pbVAL(99);   // beyond the maximum: held at it
    EXPECT_EQ(bar->value(), 10);
    host.bar->pbMax(0);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(bar->isVisible());
}

TEST(KeyBarPanel, FullGroupStripsNeverShowThePanel)
{
    FakeHost host;
    host.bar->cOn(&host, true);
    host.show();
    host.bar->resize(800, 40);
    host.bar->StSize();
    EXPECT_FALSE(host.bar->findChild<fkeys::StatusPanel*>()->isVisible());
    EXPECT_EQ(host.bar->strip()->geometry(), host.bar->rect());
}

struct LayoutRow {
    int width, height;
    bool fullGroup;
    bool panel;
    QRect strip;
};

class BarLayoutRows : public ::testing::TestWithParam<LayoutRow> {};

TEST_P(BarLayoutRows, PlacesStripAndPanel)
{
    const LayoutRow row = GetParam();
    const fkeys::BarLayout layout = fkeys::layoutBar(row.width, row.height, row.fullGroup);
    EXPECT_EQ(layout.panelShown, row.panel);
    EXPECT_EQ(layout.strip, row.strip);
    if (row.panel) {
        EXPECT_EQ(layout.panel.united(layout.strip), QRect(0, 0, row.width, row.height));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BarLayoutRows,
    ::testing::Values(LayoutRow{12000, 300, true, false, QRect(0, 0, 12000, 300)},
                      LayoutRow{9000, 400, false, false, QRect(0, 0, 9000, 400)},
                      LayoutRow{10000, 500, false, false, QRect(0, 0, 10000, 500)},
                      // Low and wide: the strip takes 72 % of the width (truncated).
                      LayoutRow{10001, 300, false, true, QRect(0, 0, 7200, 300)},
                      // Tall: a 270-twip strip over the panel.
                      LayoutRow{8000, 501, false, true, QRect(0, 0, 8000, 270)},
                      LayoutRow{12000, 800, false, true, QRect(0, 0, 12000, 270)}));

TEST(KeyStripNames, OnlyCanonicalKeyNamesNameKeys)
{
    EXPECT_TRUE(fkeys::KeyStrip::keyOf(QStringLiteral("F1")));
    EXPECT_TRUE(fkeys::KeyStrip::keyOf(QStringLiteral("C12")));
    for (const char16_t* bad : {u"", u"F", u"F0", u"F13", u"F02", u"f2", u"X1", u"C1x", u"F-1"})
        EXPECT_FALSE(fkeys::KeyStrip::keyOf(QString::fromUtf16(bad))) << QString::fromUtf16(bad).toStdString();
    EXPECT_EQ(fkeys::KeyStrip::nameOf({KeyGroup::C, 10}), QStringLiteral("C10"));
}

} // namespace
