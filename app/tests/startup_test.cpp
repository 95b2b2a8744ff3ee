#include "app/fmdoc.h"
#include "app/startup.h"
#include "browser/utre.h"
#include "env/codepage.h"
#include "env/globals.h"
#include "env/yini.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

// A program folder whose "UserData.ini" names a user data folder that does
// not exist yet, as on a first start.
struct Startup : ::testing::Test {
    testsupport::TempFolder dir;
    testsupport::ScriptedDialogs dialogs;
    QString program = dir.path(QStringLiteral("prog"));
    QString user = dir.path(QStringLiteral("home/data"));

    void SetUp() override
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path(QStringLiteral("config")));
        qputenv("XDG_DATA_HOME", dir.path(QStringLiteral("xdg")).toUtf8());
        QDir().mkpath(user);
        dir.write(QStringLiteral("prog/UserData.ini"), user.toUtf8());
    }
    app::fmDoc* start(const QStringList& arguments = {}, const QString& exe = QStringLiteral("fumi"))
    {
        return app::Main({program + u'/' + exe, arguments});
    }
    QByteArray settingsBytes() const { return dir.read(QStringLiteral("home/data/User.xml")); }
};

} // namespace

TEST(ExecutableName, DevelopmentSuffixIsDroppedInAnyCase)
{
    EXPECT_EQ(app::executableBaseName(QStringLiteral("/opt/fumi/fumi")), QStringLiteral("fumi"));
    EXPECT_EQ(app::executableBaseName(QStringLiteral("/opt/fumi/Fumi_DV")), QStringLiteral("Fumi"));
    EXPECT_EQ(app::executableBaseName(QStringLiteral("C:/x/fumi_Dv.exe")), QStringLiteral("fumi"));
    EXPECT_EQ(app::executableBaseName(QStringLiteral("/x/dv")), QStringLiteral("dv"));
}

TEST(CommandLine, QuotedPathOfAnExistingFileIsTakenAndTabCutsIt)
{
    testsupport::TempFolder dir;
    const QString file = dir.write(QStringLiteral("文書 1.htm"), "x");
    EXPECT_EQ(app::documentFromCommandLine({u'"' + file + u'"'}), file);
    EXPECT_EQ(app::documentFromCommandLine({file + QStringLiteral("\tignored")}), file);
    // Split by the shell at the space: joined again.
    EXPECT_EQ(app::documentFromCommandLine(file.split(u' ')), file);
    EXPECT_EQ(app::documentFromCommandLine({dir.path(QStringLiteral("missing.htm"))}), QString());
    EXPECT_EQ(app::documentFromCommandLine({dir.path()}), QString());
    EXPECT_EQ(app::documentFromCommandLine({}), QString());
}

TEST_F(Startup, FirstStartCreatesFoldersAndSettingsAndShowsDoc)
{
    QDir(user).removeRecursively();
    dir.write(QStringLiteral("prog/UserData.ini"), (user + QStringLiteral("/new")).toUtf8());
    QDir().mkpath(user);   // the parent exists, the named folder does not: a message, then the default
    app::fmDoc* w = start();
    EXPECT_EQ(env::gsExeNm, QStringLiteral("fumi"));
    const QString fallback = dir.path(QStringLiteral("xdg/Venmoor/fumi/"));
    EXPECT_EQ(env::gsUsrPh, fallback);
    EXPECT_EQ(env::gsWrkPh, fallback + QStringLiteral("Wrk/"));
    EXPECT_TRUE(QFileInfo(fallback + QStringLiteral("Wrk")).isDir());
    EXPECT_TRUE(QFileInfo(fallback + QStringLiteral("Doc")).isDir());
    EXPECT_TRUE(QFileInfo(fallback + QStringLiteral("User.xml")).isFile());
    EXPECT_EQ(w->tree()->GetPth(1), fallback + QStringLiteral("Doc/"));
    EXPECT_FALSE(w->functionKeysShown());
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(env::gbActing);
    EXPECT_TRUE(env::gbRun);
    EXPECT_EQ(dialogs.messages().size(), 1);
    w->close();
}

TEST_F(Startup, ScreenSettingsSurviveARestartByteForByte)
{
    app::fmDoc* w = start();
    // Well inside the offscreen screen, so the work-area clamp leaves it alone.
    w->move(50, 40);
    w->resize(400, 300);
    w->close();
    const QByteArray first = settingsBytes();
    const QString text = env::fromSystemCodePage(first);
    EXPECT_TRUE(text.contains(QStringLiteral("      <PATH>Doc/</PATH>\r\n"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("      <FUNC>非表示</FUNC>\r\n")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("</運用>")));

    w = start();
    EXPECT_EQ(w->size(), QSize(400, 300));
    EXPECT_EQ(w->pos(), QPoint(50, 40));
    w->close();
    EXPECT_EQ(env::fromSystemCodePage(settingsBytes()).toStdString(), text.toStdString());
}

TEST_F(Startup, SettingsAreWrittenOncePerRun)
{
    app::fmDoc* w = start();
    w->close();
    const QString file = user + QStringLiteral("/User.xml");
    QFile::remove(file);
    app::EndPrg();       // a second shutdown request in the same run writes nothing
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(Startup, StoredRelativeFolderIsBelowTheUserFolderAndAbsoluteIsKept)
{
    QDir().mkpath(user + QStringLiteral("/Doc/案件"));
    const QString outside = dir.path(QStringLiteral("elsewhere"));
    QDir().mkpath(outside);
    struct Row {
        QString stored;
        QString shown;
    };
    const Row rows[] = {
        {QStringLiteral("Doc/案件/"), user + QStringLiteral("/Doc/案件/")},
        {outside, outside + u'/'},
        {QStringLiteral("Doc/gone/"), user + QStringLiteral("/Doc/")},
    };
    for (const Row& row : rows) {
        dir.write(QStringLiteral("home/data/User.xml"),
                  env::toSystemCodePage(QStringLiteral("<?xml version='1.0' encoding='Shift-JIS' ?>\r\n"
                                                       "<運用>\r\n   <TX_SCREEN>\r\n      <PATH>")
                                        + row.stored + QStringLiteral("</PATH>\r\n   </TX_SCREEN>\r\n</運用>")));
        app::fmDoc* w = start();
        EXPECT_EQ(w->tree()->GetPth(1), row.shown) << qPrintable(row.stored);
        w->close();
    }
}

TEST_F(Startup, DevelopmentCopyUsesTheReleasedProgramsData)
{
    dir.write(QStringLiteral("prog/UserData.ini"), "%usr%");
    app::fmDoc* w = start({}, QStringLiteral("fumi_DV"));
    EXPECT_EQ(env::gsExeNm, QStringLiteral("fumi"));
    EXPECT_EQ(env::gsUsrPh, dir.path(QStringLiteral("xdg/Venmoor/fumi/")));
    w->close();
}

TEST_F(Startup, UnreadableSettingsAreReportedAndKept)
{
    QDir().mkpath(user + QStringLiteral("/User.xml/inner"));   // a folder where the file belongs
    app::fmDoc* w = start();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages().first().contains(QStringLiteral("が読み込めません")));
    w->close();
    EXPECT_TRUE(QFileInfo(user + QStringLiteral("/User.xml/inner")).isDir());
    EXPECT_EQ(dialogs.messages().size(), 1);   // nothing more at shutdown
}
