#include "app/fmdoc.h"
#include "app/startup.h"
#include "browser/utre.h"
#include "engine/textengine.h"
#include "env/codepage.h"
#include "env/globals.h"
#include "env/yini.h"
#include "testsupport/faults.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <algorithm>
#include <gtest/gtest.h>
#include <unistd.h>

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

// A preview save that was killed half-way is finished at the next start.
TEST_F(Startup, AnInterruptedSaveInTheWorkFolderIsFinished)
{
    dir.write(QStringLiteral("home/data/Wrk/$Wrk.htm"), "old");
    dir.write(QStringLiteral("home/data/Wrk/.fumi-save-k1ll3d/journal"), "pictures=$Wrk_files\ndocument=$Wrk.htm\n");
    dir.write(QStringLiteral("home/data/Wrk/.fumi-save-k1ll3d/$Wrk.htm"), "new");
    dir.write(QStringLiteral("home/data/Wrk/.fumi-save-k1ll3d/$Wrk_files/image1.png"), "picture");
    app::fmDoc* w = start();
    EXPECT_EQ(dir.read(QStringLiteral("home/data/Wrk/$Wrk.htm")), QByteArray("new"));
    EXPECT_EQ(dir.read(QStringLiteral("home/data/Wrk/$Wrk_files/image1.png")), QByteArray("picture"));
    EXPECT_FALSE(QFileInfo::exists(dir.path(QStringLiteral("home/data/Wrk/.fumi-save-k1ll3d"))));
    w->close();
}

// Before, a file that held no settings was replaced by the defaults at
// shutdown without a word.
TEST_F(Startup, UnusableSettingsAreKeptAsACopyAndTheUserIsToldAtStart)
{
    const QByteArray binary("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    dir.write(QStringLiteral("home/data/User.xml"), binary);
    app::fmDoc* w = start();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages().first().contains(user + QStringLiteral("/User.xml.bak")))
        << qPrintable(dialogs.messages().first());
    w->close();
    EXPECT_EQ(dir.read(QStringLiteral("home/data/User.xml.bak")), binary);
    EXPECT_TRUE(env::fromSystemCodePage(settingsBytes()).contains(QStringLiteral("<TX_SCREEN>")));
    EXPECT_EQ(dialogs.messages().size(), 1);
}

// Before, a user data folder that took no files was reported only when the
// settings could not be written at shutdown, or as a settings file that
// could not be read.
TEST_F(Startup, UserFolderThatCannotBeWrittenIsReportedAtStart)
{
    QStringList folders = {QStringLiteral("/proc")};   // not even the superuser writes there
    if (geteuid() != 0) {
        dir.write(QStringLiteral("home/data/User.xml"), QByteArray());
        QFile::setPermissions(user, QFile::ReadOwner | QFile::ExeOwner);
        folders.append(user);
    }
    for (const QString& folder : folders) {
        dir.write(QStringLiteral("prog/UserData.ini"), folder.toUtf8());
        app::fmDoc* w = start();
        ASSERT_EQ(dialogs.messages().size(), 1) << qPrintable(folder);
        EXPECT_EQ(dialogs.messages().first(), QStringLiteral("ﾕｰｻﾞｰﾃﾞｰﾀｰﾌｫﾙﾀﾞ ") + folder
                                                  + QStringLiteral("/ に書き込めません｡\n今回の設定は保存されません｡"));
        w->close();
        dialogs.clear();
    }
    QFile::setPermissions(user, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

namespace {

bool holdsScratch(const QString& folder)
{
    const QStringList entries = testsupport::entriesOf(folder);
    return std::any_of(entries.begin(), entries.end(),
                       [](const QString& name) { return name.startsWith(QStringLiteral(".fumi-")); });
}

// Kills `save` in a child at later and later moments until one leaves its
// scratch in `folder`; false when none did.
bool killLeavingScratch(const std::function<bool()>& save, const QString& folder)
{
    const std::optional<std::chrono::microseconds> duration = testsupport::saveDurationInChild(save);
    for (int moment = 0; duration && moment < 200 && !holdsScratch(folder); ++moment)
        testsupport::saveInChild(save, *duration * moment / 100);
    return holdsScratch(folder);
}

QString longText()
{
    QString text;
    for (int line = 0; line < 20000; ++line)
        text += QStringLiteral("%1行目の本文です。\n").arg(line);
    return text;
}

} // namespace

// Before, a save killed half-way left its scratch file beside the document
// for good, under a name nobody could tell from the user's files.
TEST_F(Startup, TheScratchOfSavesKilledHalfWayIsGoneAfterTheNextStart)
{
    app::fmDoc* first = start();
    first->close();
    const QString work = user + QStringLiteral("/Wrk");
    engine::TextEngine document;
    document.setPlainText(longText());
    const QString copy = dir.write(QStringLiteral("home/data/Wrk/temp.txt"), "old");
    ASSERT_TRUE(killLeavingScratch([&] { return document.saveFile(copy, engine::FormatCode::PlainText); }, work));
    env::yIni settings;
    ASSERT_TRUE(settings.GetTxt(user + QStringLiteral("/User.xml")));
    settings.GetGtx(QStringLiteral("LONG"));
    settings.SetVal(QStringLiteral("TEXT"), longText());
    settings.SetGtx();
    ASSERT_TRUE(killLeavingScratch([&] { return settings.SetTxt(); }, user));

    app::fmDoc* w = start();
    EXPECT_FALSE(holdsScratch(work)) << qPrintable(testsupport::entriesOf(work).join(u' '));
    EXPECT_FALSE(holdsScratch(user)) << qPrintable(testsupport::entriesOf(user).join(u' '));
    EXPECT_TRUE(QFileInfo::exists(copy));
    w->close();
}

TEST_F(Startup, SettingsThatCannotBeWrittenOnAFullDiskAreToldAndTheOldFileStays)
{
    testsupport::FullDisk disk(dir.path(QStringLiteral("disk")));
    dir.write(QStringLiteral("prog/UserData.ini"), disk.documents().toUtf8());
    start()->close();
    const QString file = disk.documents() + QStringLiteral("/User.xml");
    const QByteArray before = testsupport::fileBytes(file);
    ASSERT_FALSE(before.isEmpty());

    app::fmDoc* w = start();
    w->move(w->pos() + QPoint(30, 20)); // the settings written at shutdown differ
    disk.fillLeaving(0);
    w->close();
    EXPECT_EQ(dialogs.messages(),
              QStringList{QStringLiteral("ﾕｰｻﾞｰ環境ﾌｧｲﾙ(") + file + QStringLiteral(") を保存できません")})
        << qPrintable(disk.kind());
    EXPECT_EQ(testsupport::fileBytes(file), before);
    EXPECT_FALSE(holdsScratch(disk.documents()));
}
