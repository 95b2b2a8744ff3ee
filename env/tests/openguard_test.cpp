#include "env/openguard.h"
#include "testsupport/recordingdesktop.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

using env::LinkVerdict;

namespace {

LinkVerdict verdictOf(const QString& target, const QString& folder = QStringLiteral("/tmp"))
{
    return env::OpenGuard(folder).judge(target).verdict;
}

} // namespace

TEST(OpenGuard, WebAndMailAddressesOpenOtherSchemesAreRefused)
{
    struct Row {
        const char* target;
        LinkVerdict verdict;
    };
    const Row rows[] = {
        {"https://example.jp/a?b=c", LinkVerdict::Open},
        {"HTTP://example.jp/", LinkVerdict::Open},
        {"mailto:info@example.jp", LinkVerdict::Open},
        {"javascript:alert(1)", LinkVerdict::Refuse},
        {"ftp://example.jp/file", LinkVerdict::Refuse},
        {"smb://server/share", LinkVerdict::Refuse},
        {"file://otherhost/share/a.htm", LinkVerdict::Refuse},
        {"", LinkVerdict::Refuse},
    };
    for (const Row& r : rows)
        EXPECT_EQ(verdictOf(QString::fromUtf8(r.target)), r.verdict) << r.target;
}

// Before, file addresses and names were judged as written, not as the
// desktop would open them: a trailing slash, a "..", a trailing dot, a
// shell link, a NUL in the path and "file:run.sh" (then opened as
// http://run.sh) all opened programs without a question.
TEST(OpenGuard, TheFileTheDesktopWouldOpenIsJudged)
{
    testsupport::TempFolder dir;
    const QString program = dir.write(QStringLiteral("bin/tool"), "\x7f" "ELF");
    QFile(program).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    dir.write(QStringLiteral("evil.desktop."), "[Desktop Entry]\nType=Application\nExec=sh -c id\n");
    dir.write(QStringLiteral("Doc.lnk"), "L\0\0\0");
    dir.write(QStringLiteral("plain"), "#!/bin/sh\necho hi\n");
    dir.write(QStringLiteral("run.sh"), "#!/bin/sh\n");
    dir.write(QStringLiteral("報告.htm"), "<html></html>");
    QFile::link(program, dir.path(QStringLiteral("looks-like.htm")));
    ASSERT_EQ(::mkfifo(dir.path(QStringLiteral("pipe.htm")).toLocal8Bit().constData(), 0600), 0);
    const QString d = dir.path();
    struct Row {
        QString target;
        LinkVerdict verdict;
    };
    const Row rows[] = {
        {QStringLiteral("file://") + program + u'/', LinkVerdict::AskFirst},
        {QStringLiteral("file:///nonexistent/..") + program, LinkVerdict::AskFirst},
        {d + QStringLiteral("/evil.desktop."), LinkVerdict::AskFirst},
        {QStringLiteral("Doc.lnk"), LinkVerdict::AskFirst},
        {QStringLiteral("plain"), LinkVerdict::AskFirst},
        {QStringLiteral("looks-like.htm"), LinkVerdict::AskFirst},
        {QStringLiteral("file://") + d + QStringLiteral("/run.sh%00.htm"), LinkVerdict::Refuse},
        {QStringLiteral("run.sh%00.htm"), LinkVerdict::Refuse},
        {QStringLiteral("file:run.sh"), LinkVerdict::Refuse},
        {QStringLiteral("pipe.htm"), LinkVerdict::Refuse},
        {QStringLiteral("/dev/zero"), LinkVerdict::Refuse},
        {QStringLiteral("missing.htm"), LinkVerdict::Refuse},
        {QStringLiteral("報告.htm"), LinkVerdict::Open},
        {QStringLiteral("file://") + d + QStringLiteral("/報告.htm"), LinkVerdict::Open},
        {d + QStringLiteral("/bin"), LinkVerdict::Open},
    };
    for (const Row& r : rows)
        EXPECT_EQ(verdictOf(r.target, d), r.verdict) << r.target.toStdString();
    // What is opened is the file that was judged.
    EXPECT_EQ(env::OpenGuard(d).judge(QStringLiteral("sub/../報告.htm")).url,
              QUrl::fromLocalFile(d + QStringLiteral("/報告.htm")));
}

// Before, a mail link could make the mail program attach any file.
TEST(OpenGuard, MailAddressesKeepOnlyRecipientsSubjectAndBody)
{
    const QUrl url = env::OpenGuard().judge(QStringLiteral(
        "mailto:a@example.jp?subject=%E4%BB%B6&attach=/etc/passwd&cc=b@example.jp&Attachment=~/.ssh/id_rsa&body=x")).url;
    EXPECT_EQ(url.toString(QUrl::FullyEncoded),
              QStringLiteral("mailto:a@example.jp?subject=%E4%BB%B6&cc=b@example.jp&body=x"));
}

TEST(OpenGuard, AskingDefaultsToNoAndRefusalIsExplained)
{
    testsupport::TempFolder dir;
    testsupport::ScriptedDialogs dialogs;
    testsupport::RecordingDesktop desk;
    const QString script = dir.write(QStringLiteral("run.sh"), "#!/bin/sh\n");
    const env::OpenGuard guard;
    EXPECT_FALSE(guard.openLink(script)); // nothing scripted: the default No
    EXPECT_TRUE(desk.opened.isEmpty());
    dialogs.answer(env::Answer::Yes);
    EXPECT_TRUE(guard.openFile(script));
    EXPECT_EQ(desk.opened, QStringList{QUrl::fromLocalFile(script).toString()});
    EXPECT_FALSE(guard.openLink(QStringLiteral("javascript:alert(1)")));
    EXPECT_EQ(desk.opened.size(), 1);
    ASSERT_EQ(dialogs.messages().size(), 3);
    EXPECT_EQ(dialogs.messages()[1], QStringLiteral("ﾌｧｲﾙ: run.sh はﾌﾟﾛｸﾞﾗﾑです｡\n実行してもよろしいですか?"));
    EXPECT_EQ(dialogs.messages().last(), QStringLiteral("ﾘﾝｸ先 javascript:alert(1) は開けません｡"));
    EXPECT_TRUE(guard.openLink(QStringLiteral("https://example.jp/")));
    EXPECT_EQ(desk.opened.last(), QStringLiteral("https://example.jp/"));
}
