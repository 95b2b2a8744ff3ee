#include "app/menurouter.h"
#include "app/menutable.h"

#include <gtest/gtest.h>

namespace {

struct RecordingHost : app::MenuRouterHost {
    QStringList calls;
    void rtAct(int job, const QVariant& argument) override
    {
        calls << QStringLiteral("job %1 %2").arg(job).arg(argument.isValid() ? argument.toString() : QStringLiteral("-"));
    }
    void exploreHighlightedFolder() override { calls << QStringLiteral("explore"); }
    void SaveScreen() override { calls << QStringLiteral("end"); }
    void toggleDisplayItem(int index) override { calls << QStringLiteral("toggle %1").arg(index); }
    void refreshTree() override { calls << QStringLiteral("refresh"); }
};

QStringList route(int group, int index, const QString& sub = {})
{
    RecordingHost host;
    app::fnMenu(host, group, index, sub);
    return host.calls;
}

QString s(const char* t) { return QString::fromUtf8(t); }

} // namespace

TEST(MenuRouter, ChoicesBecomeJobsWithTheirArguments)
{
    struct Row {
        int group, index;
        const char* sub;
        QStringList expected;
    };
    const Row rows[] = {
        {5, 2, "", {s("job 60 2")}},                       // 表題3 の書式
        {5, 7, "", {s("job 61 -")}},                       // ﾌｫﾝﾄ(&W)
        {0, 3, "表挿入", {s("job 80 右")}},                  // 右側に列
        {0, 1, "表削除", {s("job 82 列")}},
        {0, 2, "表選択", {s("job 83 ｾﾙ")}},
        {6, 3, "", {s("job 33 -")}},                       // 画像(&P)
        {12, 2, "", {s("job 88 -")}},                      // 再表示
        {3, 9, "", {s("job 21 -")}},
        {15, 3, "", {s("job 68 -")}},
        {2, 6, "", {s("job 7 -")}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(route(r.group, r.index, s(r.sub)), r.expected) << r.group << "/" << r.index;
}

TEST(MenuRouter, JobsThatWriteFilesRefreshTheTree)
{
    EXPECT_EQ(route(2, 0), (QStringList{s("job 2 -"), s("refresh")}));
    EXPECT_EQ(route(2, 1), (QStringList{s("job 4 -"), s("refresh")}));
    EXPECT_EQ(route(2, 2), (QStringList{s("job 5 -"), s("refresh")}));
    EXPECT_EQ(route(2, 4), (QStringList{s("job 8 -"), s("refresh")}));
    EXPECT_EQ(route(2, 7), QStringList{s("job 6 -")});
}

TEST(MenuRouter, WindowItemsAreHandledWithoutAJob)
{
    EXPECT_EQ(route(2, 9), QStringList{s("explore")});
    EXPECT_EQ(route(2, 12), QStringList{s("end")});
    EXPECT_EQ(route(12, 0), QStringList{s("toggle 0")});
    EXPECT_EQ(route(12, 1), QStringList{s("toggle 1")});
    EXPECT_TRUE(route(2, 8).isEmpty());     // a separator
    EXPECT_TRUE(route(99, 0).isEmpty());    // no such group
}

TEST(MenuRouter, UnknownTextsBecomeJobZero)
{
    EXPECT_EQ(route(3, 5), QStringList{s("job 0 -")});   // the paste sub-menu parent
    EXPECT_EQ(route(0, 0, s("何か")), QStringList{s("job 0 ")});   // its word list is empty
}

TEST(MenuTable, IndexesAreFixedAndTheChartItemIsHidden)
{
    EXPECT_EQ(app::menuCaption(s("mnSelc"), 12), s("書式のｺﾋﾟｰ"));
    EXPECT_EQ(app::menuCaption(s("mnSelc"), 8), QString());
    EXPECT_EQ(app::menuCaption(s("mnEdit"), 6), QString());
    EXPECT_EQ(app::menuCaption(s("mnTbl"), 4), s("ﾌﾟﾛﾊﾟﾃｨ"));
    const app::MenuSpec* insert = app::findMenu(s("mnLocal"));
    ASSERT_NE(insert, nullptr);
    EXPECT_TRUE(insert->items[7].hidden);
    EXPECT_EQ(insert->items[7].submenu, s("mnChart"));
    // Every sub-menu an item opens exists.
    for (const app::MenuSpec& m : app::mainMenus()) {
        for (const app::MenuItemSpec& i : m.items) {
            if (!i.submenu.isEmpty()) {
                EXPECT_NE(app::findMenu(i.submenu), nullptr) << qPrintable(i.submenu);
            }
        }
    }
}
