#include "env/globals.h"
#include "env/shell.h"
#include "env/yini.h"
#include "testsupport/recordingdesktop.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

struct HandOver : ::testing::Test {
    testsupport::TempFolder dir;
    testsupport::ScriptedDialogs dialogs;
    testsupport::RecordingDesktop desk;
    env::yIni ini;
    void SetUp() override
    {
        env::gsExeNm = QStringLiteral("fumi");
        env::gsUsrPh = dir.path(QStringLiteral("usr/"));
        QDir().mkpath(env::gsUsrPh + QStringLiteral("Wrk"));
        qputenv("XDG_DATA_HOME", dir.path(QStringLiteral("data")).toUtf8());
        ini.setProgramFolder(dir.path(QStringLiteral("prog")));
        ASSERT_TRUE(ini.GetTxt(env::gsUsrPh + QStringLiteral("User.xml")));
    }
};

} // namespace

TEST(WorkAreaFit, WindowsAreMovedAndNarrowedIntoTheWorkArea)
{
    struct Row {
        const char* what;
        env::WorkArea area;
        std::array<int, 4> window, fitted;
    };
    const Row rows[] = {
        {"fits: unchanged", {0, 0, 19200, 14400}, {0, 0, 19200, 9000}, {0, 0, 19200, 9000}},
        {"too wide and too tall", {0, 0, 19200, 14400}, {3000, 2000, 30000, 20000}, {0, 0, 19200, 14400}},
        {"negative origin", {600, 300, 18000, 14000}, {-500, -10, 6000, 4000}, {600, 300, 6000, 4000}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        env::workArea = row.area;
        auto [l, t, w, h] = row.window;
        env::FitWorkArea(l, t, w, h);
        EXPECT_EQ((std::array{l, t, w, h}), row.fitted);
    }
}

TEST(WorkArea, MeasuredInTwipsOfTheScreen)
{
    env::GetWorkArea();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect r = screen->availableGeometry();
    EXPECT_EQ(env::workArea.width, qRound(r.width() * 1440.0 / screen->logicalDotsPerInchX()));
    EXPECT_EQ(env::workArea.height, qRound(r.height() * 1440.0 / screen->logicalDotsPerInchY()));
    EXPECT_EQ(env::workArea.left, qRound(r.left() * 1440.0 / screen->logicalDotsPerInchX()));
}

TEST_F(HandOver, BrowseFolderDropsAMissingStartAndUsesTheDefaultTitle)
{
    dialogs.answerText(QStringLiteral("/chosen"));
    EXPECT_EQ(env::BrowseFld(dir.path(QStringLiteral("gone"))), QStringLiteral("/chosen"));
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked().front().text, QStringLiteral("ﾌｫﾙﾀﾞの指定"));
    EXPECT_EQ(env::BrowseFld(dir.path()), QString());   // cancelled
}

TEST_F(HandOver, ExploreAcceptsFoldersOnlyOpenAcceptsAnything)
{
    const QString file = dir.write(QStringLiteral("a.htm"), "x");
    ini.W_ExpFd(file, false);
    ini.W_ExpFd(QString(), true);
    EXPECT_TRUE(desk.shown.isEmpty());
    EXPECT_TRUE(desk.opened.isEmpty());
    ini.W_ExpFd(dir.path(), false);
    ini.W_ExpFd(file, true);
    EXPECT_EQ(desk.shown, QStringList{dir.path()});
    EXPECT_EQ(desk.opened, QStringList{QUrl::fromLocalFile(file).toString()});
}

// A hand-over that failed once ended without a word.
TEST_F(HandOver, FailedHandOversAreToldInJapanese)
{
    const QString file = dir.write(QStringLiteral("a.htm"), "x");
    desk.works = false;
    EXPECT_FALSE(ini.W_ExpFd(file, true));
    EXPECT_FALSE(ini.W_ExpFd(dir.path(), false));
    EXPECT_FALSE(ini.W_ExpFd(dir.path(QStringLiteral("gone")), false));
    EXPECT_EQ(dialogs.messages(),
              (QStringList{file + QStringLiteral(" を開くﾌﾟﾛｸﾞﾗﾑを起動できません｡"),
                           QStringLiteral("ﾌｫﾙﾀﾞ ") + dir.path() + QStringLiteral(" を表示できません｡"),
                           QStringLiteral("ﾌｫﾙﾀﾞ ") + dir.path(QStringLiteral("gone")) + QStringLiteral(" が見つかりません｡")}));
}

TEST_F(HandOver, HelpPageNamesAreLoweredAndGetAnExtension)
{
    ini.W_Help(QStringLiteral("Index"));
    ini.W_Help(QStringLiteral("Table.HTML"));
    ASSERT_EQ(desk.opened.size(), 2);
    EXPECT_TRUE(desk.opened[0].endsWith(QStringLiteral("/index.htm")));
    EXPECT_TRUE(desk.opened[1].endsWith(QStringLiteral("/table.html")));
    const QByteArray entry = dir.read(QStringLiteral("usr/fumi_help.desktop"));
    EXPECT_TRUE(entry.contains("Type=Link"));
    EXPECT_TRUE(entry.contains("table.html"));
}

TEST_F(HandOver, HelpAddressComesFromTheSettingsWithoutDisturbingTheSelectedGroup)
{
    ini.GetGtx(QStringLiteral("TX_USR"));
    ini.SetVal(QStringLiteral("HELP_URL"), "file:///opt/help");
    ini.SetGtx();
    ini.GetGtx(QStringLiteral("TX_SCREEN"));
    ini.SetVal(QStringLiteral("LEFT"), 5);
    ini.W_Help(QStringLiteral("a"));
    EXPECT_EQ(desk.opened, QStringList{QStringLiteral("file:///opt/help/a.htm")});
    EXPECT_EQ(ini.groupText(), QStringLiteral("      <LEFT>5</LEFT>\r\n"));
}

TEST_F(HandOver, BrowserPreviewWritesTheLinkEntryAndOpensTheTarget)
{
    const QString page = env::gsUsrPh + QStringLiteral("Wrk/$Wrk.htm");
    ini.W_HtmView(page);
    EXPECT_EQ(desk.opened, QStringList{QUrl::fromLocalFile(page).toString()});
    EXPECT_TRUE(dir.read(QStringLiteral("usr/Wrk/htm_view.desktop")).contains("URL=file://"));
}

TEST_F(HandOver, SendToWritesAnOpenWithEntryAndConfirmsEachTime)
{
    ini.W_SendTo();
    ini.W_SendTo();
    const QString entry = dir.path(QStringLiteral("data/applications/fumi.desktop"));
    ASSERT_TRUE(QFile::exists(entry));
    const QByteArray body = dir.read(QStringLiteral("data/applications/fumi.desktop"));
    EXPECT_TRUE(body.contains("Type=Application"));
    EXPECT_TRUE(body.contains("text/html"));
    EXPECT_TRUE(body.contains("%F"));
    const QString expected = ini.exePath() + QStringLiteral(" のｼｮｰﾄｶｯﾄを ")
        + dir.path(QStringLiteral("data/applications")) + QStringLiteral(" に作成しました");
    EXPECT_EQ(dialogs.messages(), (QStringList{expected, expected}));
    EXPECT_EQ(QDir(dir.path(QStringLiteral("data/applications"))).entryList(QDir::Files).size(), 1);
}
