// The object menu: which items it shows where the caret is, and what its
// copy items run.

#include "dialogs/popupmenus.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QWidget>
#include <gtest/gtest.h>

using dialogs::NeighbourField;
using dialogs::ObjectMenuContext;
using dialogs::PopupMenu;

namespace {

struct LookRow {
    const char* name;
    ObjectMenuContext context;
    // One character per item from 0: '1' shown, '0' hidden.
    const char* shown;
    const char16_t* copyBefore;
    const char16_t* copyAfter;
};

void PrintTo(const LookRow& row, std::ostream* os)
{
    *os << row.name;
}

class ObjectMenuLook : public ::testing::TestWithParam<LookRow> {};

TEST_P(ObjectMenuLook, FollowsTheFieldUnderTheCaretAndTheNeighbours)
{
    const LookRow& row = GetParam();
    const dialogs::ObjectMenuLook look = dialogs::objectMenuLook(row.context);
    QString shown;
    for (bool item : look.shown)
        shown += item ? u'1' : u'0';
    EXPECT_EQ(shown, QString::fromLatin1(row.shown));
    EXPECT_EQ(look.copyBefore, QString::fromUtf16(row.copyBefore));
    EXPECT_EQ(look.copyAfter, QString::fromUtf16(row.copyAfter));
}

//                    items 0-9   10-19       20-21
INSTANTIATE_TEST_SUITE_P(
    PopupMenus, ObjectMenuLook,
    ::testing::Values(LookRow{"outside fields", {}, "1111111100" "0000000100" "01", u"直前のﾘﾝｸを複写",
                              u"直後のﾘﾝｸを複写"},
                      LookRow{"in a link after a link", {QStringLiteral("LK"), NeighbourField{3, false}, {}},
                              "1111111011" "0000000110" "11", u"直前のﾘﾝｸを複写", u"直後のﾘﾝｸを複写"},
                      LookRow{"in a tag before a tag", {QStringLiteral("TG"), {}, NeighbourField{4, true}},
                              "1111110100" "0000000101" "11", u"直前のﾘﾝｸを複写", u"直後のﾀｸﾞを複写"},
                      LookRow{"in a tool tip between a tag and a link",
                              {QStringLiteral("TP"), NeighbourField{3, true}, NeighbourField{4, false}},
                              "1111111100" "0000000111" "11", u"直前のﾀｸﾞを複写", u"直後のﾘﾝｸを複写"}));

TEST(ObjectMenu, CopyItemsRunTheCommandOfTheirNeighboursKindAndDeleteDeletesTheSelection)
{
    QWidget owner;
    dialogs::PopupMenus menus(&owner);
    QSignalSpy chosen(&menus, &dialogs::PopupMenus::commandChosen);
    menus.prepareObjectMenu({QString(), NeighbourField{7, true}, NeighbourField{9, false}});
    const QList<QAction*> items = menus.menu(PopupMenu::Object)->actions();
    ASSERT_EQ(items.size(), dialogs::kObjectItemCount);
    EXPECT_EQ(items[dialogs::kObjectCopyBeforeItem]->text(), QStringLiteral("直前のﾀｸﾞを複写"));
    EXPECT_TRUE(items[dialogs::kObjectCopyAfterItem]->isVisible());

    items[dialogs::kObjectCopyBeforeItem]->trigger();
    items[dialogs::kObjectCopyAfterItem]->trigger();
    menus.action(PopupMenu::Object, QStringLiteral("削除"))->trigger();
    ASSERT_EQ(chosen.count(), 3);
    EXPECT_EQ(chosen[0], (QVariantList{51, QVariant(QVariantList{0, false, 7})}));
    EXPECT_EQ(chosen[1], (QVariantList{50, QVariant(QVariantList{0, false, 9})}));
    EXPECT_EQ(chosen[2].at(0).toInt(), 20);

    menus.prepareObjectMenu({});
    EXPECT_FALSE(items[dialogs::kObjectCopyBeforeItem]->isVisible());
    EXPECT_FALSE(items[dialogs::kObjectCopyBeforeItem]->isEnabled()) << "a copy item without a neighbour names no command";
}

// Item 3 (編集), 15 and 16 (the enlarged-picture links) and 21 (ﾌﾟﾛﾊﾟﾃｨ)
// belong to pictures: a text frame shows no links and offers neither of the others.
TEST(ObjectMenu, PictureItemsRunTheEditorsPictureJobsAndOnlyForAPicture)
{
    QWidget owner;
    dialogs::PopupMenus menus(&owner);
    QSignalSpy chosen(&menus, &dialogs::PopupMenus::commandChosen);
    ObjectMenuContext picture;
    picture.picture = true;
    picture.pictureHasFile = true;
    menus.prepareObjectMenu(picture);
    const QList<QAction*> items = menus.menu(PopupMenu::Object)->actions();
    for (int index : {3, 14, 15, 16, 21})
        EXPECT_TRUE(items[index]->isVisible()) << index;
    for (int index : {3, 15, 16, 21}) {
        EXPECT_TRUE(items[index]->isEnabled()) << index;
        items[index]->trigger();
    }
    ASSERT_EQ(chosen.count(), 4);
    EXPECT_EQ(chosen[0].at(0).toInt(), dialogs::kEditPictureJob);
    EXPECT_EQ(chosen[1], (QVariantList{dialogs::kEnlargedPictureLinkJob, 0}));
    EXPECT_EQ(chosen[2], (QVariantList{dialogs::kEnlargedPictureLinkJob, 1}));
    EXPECT_EQ(chosen[3].at(0).toInt(), dialogs::kPicturePropertiesJob);

    picture.pictureHasFile = false;
    menus.prepareObjectMenu(picture);
    EXPECT_FALSE(items[15]->isEnabled()) << "no file of its own to link to";
    EXPECT_TRUE(items[16]->isEnabled());

    menus.prepareObjectMenu({});
    for (int index : {14, 15, 16})
        EXPECT_FALSE(items[index]->isVisible()) << index;
    EXPECT_FALSE(items[3]->isEnabled());
    EXPECT_FALSE(items[21]->isEnabled());
}

} // namespace
