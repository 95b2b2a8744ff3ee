#include "tools/zktl.h"

#include "testsupport/scripteddialogs.h"
#include "tools/tests/standins.h"
#include "tools/waitingrun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QTimer>
#include <signal.h>
#include <sys/types.h>
#include <gtest/gtest.h>

using tools::zKtl;

namespace {

struct Launcher : ::testing::Test {
    toolstest::CompanionFolders folders;
    testsupport::ScriptedDialogs dialogs;

    // What ActPic hands back; the start values show what was left alone.
    QString result = QStringLiteral("untouched");
    qint16 code = 99;
    bool ok = false;

    void pictureWith(zKtl& launcher, qint32 width = 0, qint32 height = 0, qint16 mode = 4)
    {
        launcher.ActPic(mode, env::gsWrkPh, result, width, height, code, ok);
    }
    void expectUntouched() const
    {
        EXPECT_EQ(result, QStringLiteral("untouched"));
        EXPECT_EQ(code, 99);
        EXPECT_FALSE(ok);
    }
    int fileDialogs() const
    {
        int count = 0;
        for (const testsupport::Asked& asked : dialogs.asked())
            count += asked.kind == QLatin1String("open");
        return count;
    }
    // Waits (running events) until `path` exists, for programs not waited for.
    static QByteArray awaited(const QString& path)
    {
        QElapsedTimer timer;
        timer.start();
        while (!QFileInfo::exists(path) && timer.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
};

} // namespace

TEST_F(Launcher, APictureProgramBesideThisOneIsFoundRunAndRegistered)
{
    const QString exe = folders.install(FUMI_STANDIN_answering, QStringLiteral("apps/Tolvix/Tolvix"));
    zKtl launcher;
    EXPECT_EQ(launcher.GetAppNm(tools::Tolvix), QString());
    pictureWith(launcher, 1500, 900);
    EXPECT_EQ(fileDialogs(), 0);
    EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join(u'\n').toStdString();
    EXPECT_EQ(toolstest::CompanionFolders::registered(QStringLiteral("Tolvix")), exe);
    EXPECT_EQ(launcher.GetAppNm(tools::Tolvix), exe);
    EXPECT_EQ(result, env::gsWrkPh + QStringLiteral("made.png"));
    EXPECT_EQ(code, 7);
    EXPECT_TRUE(ok);
    // The size asked for reached the program: 1500 × 900 twips, 15 a pixel.
    EXPECT_EQ(QImageReader(result).size(), QSize(100, 60));
    EXPECT_EQ(QFileInfo(env::gsWrkPh + QStringLiteral("ZM_KA.pdat")).size(), 532);
}

TEST_F(Launcher, ARegisteredProgramIsUsedWhereverItIs)
{
    const QString exe = folders.install(FUMI_STANDIN_answering, QStringLiteral("far/away/Selbrin.exe"));
    toolstest::CompanionFolders::setRegistered(QStringLiteral("Selbrin"), exe);
    zKtl launcher;
    EXPECT_EQ(launcher.GetAppNm(tools::Selbrin), exe);
    launcher.ActChrt(env::gsWrkPh, result, ok);
    EXPECT_EQ(result, env::gsWrkPh + QStringLiteral("chart.bmp"));
    EXPECT_TRUE(ok);
    EXPECT_EQ(QFileInfo(env::gsWrkPh + QStringLiteral("ZM_KC.pdat")).size(), 522);
}

TEST_F(Launcher, ARegisteredPathOfAnotherNameIsIgnoredAndTheSearchRunsAgain)
{
    const QString other = folders.install(FUMI_STANDIN_answering, QStringLiteral("far/MyMarneth"));
    const QString exe = folders.install(FUMI_STANDIN_answering, QStringLiteral("apps/Marneth/Marneth"));
    toolstest::CompanionFolders::setRegistered(QStringLiteral("Marneth"), other);
    zKtl launcher;
    EXPECT_EQ(launcher.GetAppNm(tools::Marneth), QString());
    launcher.ActGrph(env::gsWrkPh, result, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(result, env::gsWrkPh + QStringLiteral("chart.bmp"));
    EXPECT_EQ(toolstest::CompanionFolders::registered(QStringLiteral("Marneth")), exe);
    EXPECT_EQ(fileDialogs(), 0);
}

TEST_F(Launcher, AMissingProgramIsAskedForAndSaidToBeMissingWhenNotGiven)
{
    zKtl launcher;
    pictureWith(launcher);
    ASSERT_EQ(fileDialogs(), 1);
    const env::FileRequest& asked = dialogs.asked().front().file;
    EXPECT_EQ(asked.title, QStringLiteral("画像 実行ﾌｧｲﾙの指定"));
    EXPECT_EQ(asked.fileName, QStringLiteral("Tolvix"));
    EXPECT_EQ(QDir(asked.folder), QDir(folders.path(QStringLiteral("apps"))));
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("画像の実行ﾌｧｲﾙ(Tolvix)が見つかりません｡")});
    expectUntouched();
    EXPECT_FALSE(QFileInfo::exists(env::gsWrkPh + QStringLiteral("ZM_KA.pdat")));
}

TEST_F(Launcher, OnlyAChosenFileOfTheProgramsNameIsTaken)
{
    const QString wrong = folders.install(FUMI_STANDIN_answering, QStringLiteral("picked/Other"));
    const QString right = folders.install(FUMI_STANDIN_answering, QStringLiteral("picked/tolvix.EXE"));
    zKtl launcher;
    dialogs.answerFiles({wrong});
    EXPECT_FALSE(launcher.bChkApp(tools::Tolvix));
    EXPECT_EQ(toolstest::CompanionFolders::registered(QStringLiteral("Tolvix")), QString());
    dialogs.answerFiles({right});
    EXPECT_TRUE(launcher.bChkApp(tools::Tolvix));
    EXPECT_EQ(toolstest::CompanionFolders::registered(QStringLiteral("Tolvix")), right);
    EXPECT_TRUE(launcher.bChkApp(tools::Tolvix));
    EXPECT_EQ(fileDialogs(), 2);
}

TEST_F(Launcher, AProgramThatCrashesOrCannotStartIsToldAndChangesNothing)
{
    folders.install(FUMI_STANDIN_crashing, QStringLiteral("apps/Tolvix/Tolvix"));
    {
        zKtl launcher;
        pictureWith(launcher);
        expectUntouched();
        EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("画像のﾌﾟﾛｸﾞﾗﾑが異常終了しました｡")});
    }
    dialogs.clear();
    const QString exe = folders.install(FUMI_STANDIN_answering, QStringLiteral("apps/Tolvix/Tolvix"));
    QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner);
    zKtl launcher;
    pictureWith(launcher);
    expectUntouched();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages().front().startsWith(QStringLiteral("画像のﾌﾟﾛｸﾞﾗﾑを起動できませんでした｡")));
}

TEST_F(Launcher, ACutOffAnswerIsToldAndChangesNothing)
{
    folders.install(FUMI_STANDIN_damaging, QStringLiteral("apps/Tolvix/Tolvix"));
    zKtl launcher;
    pictureWith(launcher);
    expectUntouched();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages().front().startsWith(QStringLiteral("画像のﾌﾟﾛｸﾞﾗﾑの応答を読めませんでした｡")));
}

TEST_F(Launcher, AWorkFolderTheRecordCannotHoldStartsNothing)
{
    folders.install(FUMI_STANDIN_answering, QStringLiteral("apps/Tolvix/Tolvix"));
    zKtl launcher;
    launcher.ActPic(0, QString(300, u'x'), result, 0, 0, code, ok);
    expectUntouched();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages().front().contains(QStringLiteral("ﾊﾟﾗﾒﾀﾌｧｲﾙを作成できませんでした")));
}

// While the picture program runs, the window's events go on, and a second
// command that would wait is refused instead of sharing the parameter file.
TEST_F(Launcher, WhileAProgramRunsEventsGoOnAndASecondWaitIsRefused)
{
    const QString exe = folders.install(FUMI_STANDIN_silent, QStringLiteral("apps/Tolvix/Tolvix"));
    folders.install(FUMI_STANDIN_answering, QStringLiteral("apps/Marneth/Marneth"));
    zKtl launcher;
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(10);
    QString secondResult = QStringLiteral("second");
    bool secondOk = false;
    bool refusedWhileWaiting = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        QFile pidFile(exe + QStringLiteral(".pid"));
        if (!pidFile.open(QIODevice::ReadOnly) || pidFile.size() == 0)
            return;
        probe.stop();
        refusedWhileWaiting = tools::WaitingRun::isWaiting() && ticks > 0;
        launcher.ActGrph(env::gsWrkPh, secondResult, secondOk);
        ::kill(pid_t(pidFile.readAll().trimmed().toLongLong()), SIGKILL);
    });
    probe.start(20);
    pictureWith(launcher);
    EXPECT_TRUE(refusedWhileWaiting);
    EXPECT_EQ(secondResult, QStringLiteral("second"));
    EXPECT_FALSE(secondOk);
    EXPECT_EQ(dialogs.messages(), (QStringList{QStringLiteral("他のﾌﾟﾛｸﾞﾗﾑの終了を待っています｡"),
                                               QStringLiteral("画像のﾌﾟﾛｸﾞﾗﾑが異常終了しました｡")}));
    expectUntouched();
    EXPECT_FALSE(tools::WaitingRun::isWaiting());
}

TEST_F(Launcher, ProgramsNotWaitedForGetTheirArguments)
{
    const QString ftp = folders.install(FUMI_STANDIN_answering, QStringLiteral("apps/Korvane/Korvane"));
    const QString database = folders.install(FUMI_STANDIN_answering, QStringLiteral("apps/Wystane/Wystane"));
    const QString labels = folders.install(FUMI_STANDIN_answering, QStringLiteral("apps/Pendrel/Pendrel"));
    zKtl launcher;
    launcher.ActFtp(QStringLiteral("Upload"), {});
    EXPECT_EQ(awaited(ftp + QStringLiteral(".args")), QByteArray("Upload\n"));
    launcher.ActWystane(QStringLiteral("/d/my doc.htm"), QStringLiteral("3"));
    EXPECT_EQ(awaited(database + QStringLiteral(".args")), QByteArray("/d/my doc.htm\n3\n"));
    launcher.ActPendrel(QStringLiteral("名前,住所\r\n"), QStringLiteral("A4"));
    const QString csv = env::gsWrkPh + QStringLiteral("ZM_KE.csv");
    EXPECT_EQ(awaited(labels + QStringLiteral(".args")), QStringLiteral("A4\n%1\n").arg(csv).toLocal8Bit());
    QFile written(csv);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("\x96\xbc\x91\x4f,\x8f\x5a\x8f\x8a\r\n"));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(Launcher, FfftpIsAskedForOnceAndThenRemembered)
{
    const QString ffftp = folders.install(FUMI_STANDIN_answering, QStringLiteral("ftp/FFFTP.exe"));
    zKtl launcher;
    launcher.ActFFFTP(QStringLiteral("host"));
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("FFFTPの実行ﾌｧｲﾙが見つかりません｡")});
    dialogs.clear();
    dialogs.answerFiles({ffftp});
    launcher.ActFFFTP(QStringLiteral("my host"));
    EXPECT_EQ(toolstest::CompanionFolders::registered(QStringLiteral("FFFTP")), ffftp);
    EXPECT_EQ(awaited(ffftp + QStringLiteral(".args")), QByteArray("-s\nmy host\n-m\n"));
    QFile::remove(ffftp + QStringLiteral(".args"));
    launcher.ActFFFTP(QStringLiteral("next"));
    EXPECT_EQ(fileDialogs(), 1);
    EXPECT_EQ(awaited(ffftp + QStringLiteral(".args")), QByteArray("-s\nnext\n-m\n"));
}
