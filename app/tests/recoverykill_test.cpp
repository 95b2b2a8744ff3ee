// The real program killed in the middle of editing: the next start offers
// the document back, and what was typed reaches the document's own file.

#include "testsupport/tempfolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QByteArray kLetter = "<html><head><meta charset=\"utf-8\"><title>letter</title></head>"
                           "<body><div>Dear friend,</div></body></html>";

struct KilledProgram : ::testing::Test {
    testsupport::TempFolder dir;
    QString user = dir.path(QStringLiteral("xdg/Venmoor/fumi"));
    QString document = dir.write(QStringLiteral("xdg/Venmoor/fumi/Doc/letter.htm"), kLetter);
    QString robotLog = dir.path(QStringLiteral("robot.log"));

    QProcessEnvironment environment(const QString& answer, bool close) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), dir.path(QStringLiteral("home")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.path(QStringLiteral("xdg")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path(QStringLiteral("config")));
        environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(FUMI_TEST_ROBOT));
        environment.insert(QStringLiteral("FUMI_ROBOT_LOG"), robotLog);
        environment.insert(QStringLiteral("FUMI_ROBOT_ANSWER"), answer);
        environment.insert(QStringLiteral("FUMI_ROBOT_CLOSE"), close ? QStringLiteral("1") : QString());
        return environment;
    }

    QStringList recoveryCopies() const
    {
        return QDir(user + QStringLiteral("/Wrk")).entryList({QStringLiteral("Recovery-*.fumirec")}, QDir::Files);
    }

    // Waits for `done` for up to `seconds`, letting the program run meanwhile.
    static bool waitFor(const std::function<bool()>& done, int seconds)
    {
        const QDeadlineTimer deadline(seconds * 1000);
        while (!done()) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(100);
        }
        return true;
    }
};

TEST_F(KilledProgram, TheNextStartBringsTheTypedTextBack)
{
    QDir().mkpath(user + QStringLiteral("/Wrk"));
    QProcess editing;
    QProcessEnvironment first = environment(QStringLiteral("yes"), false);
    first.insert(QStringLiteral("FUMI_ROBOT_TYPE"), QStringLiteral("kept 復元"));
    editing.setProcessEnvironment(first);
    editing.start(QStringLiteral(FUMI_EXECUTABLE), {document});
    ASSERT_TRUE(editing.waitForStarted(10000));
    // Typed, then kept within half a minute of the change.
    ASSERT_TRUE(waitFor([&] { return !recoveryCopies().isEmpty(); }, 40)) << dir.read(QStringLiteral("robot.log")).toStdString();
    editing.kill();
    ASSERT_TRUE(editing.waitForFinished(10000));
    EXPECT_EQ(dir.read(QStringLiteral("xdg/Venmoor/fumi/Doc/letter.htm")), kLetter);

    QProcess restarted;
    restarted.setProcessEnvironment(environment(QStringLiteral("yes"), true));
    restarted.start(QStringLiteral(FUMI_EXECUTABLE), QStringList());
    ASSERT_TRUE(restarted.waitForStarted(10000));
    ASSERT_TRUE(restarted.waitForFinished(60000)) << dir.read(QStringLiteral("robot.log")).toStdString();
    EXPECT_EQ(restarted.exitStatus(), QProcess::NormalExit);

    const QString asked = QString::fromUtf8(dir.read(QStringLiteral("robot.log")));
    EXPECT_TRUE(asked.contains(QStringLiteral("前回保存されなかった文書があります｡復元しますか\n") + document))
        << asked.toStdString();
    const QString saved = QString::fromUtf8(dir.read(QStringLiteral("xdg/Venmoor/fumi/Doc/letter.htm")));
    EXPECT_TRUE(saved.contains(QStringLiteral("kept 復元"))) << saved.toStdString();
    EXPECT_TRUE(saved.contains(QStringLiteral("Dear friend,"))) << saved.toStdString();
    EXPECT_TRUE(recoveryCopies().isEmpty());
}

} // namespace
