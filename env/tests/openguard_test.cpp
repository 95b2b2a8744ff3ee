#include "app/linkopener.h"
#include "testsupport/recordingdesktop.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QFile>
#include <gtest/gtest.h>

using app::LinkVerdict;

TEST(LinkOpener, WebAndMailAddressesOpenOtherSchemesAreRefused)
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
        EXPECT_EQ(app::judgeLink(QString::fromUtf8(r.target), QStringLiteral("/tmp")).verdict, r.verdict) << r.target;
}

TEST(LinkOpener, ProgramsAndScriptsNeedConsentDocumentsDoNot)
{
    testsupport::TempFolder dir;
    const QString doc = dir.write(QStringLiteral("報告.htm"), "x");
    const QString script = dir.write(QStringLiteral("run.sh"), "#!/bin/sh\n");
    const QString program = dir.write(QStringLiteral("tool"), "\x7f" "ELF");
    QFile(program).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(app::judgeLink(doc, {}).verdict, LinkVerdict::Open);
    EXPECT_EQ(app::judgeLink(QStringLiteral("file://") + doc, {}).verdict, LinkVerdict::Open);
    EXPECT_EQ(app::judgeLink(script, {}).verdict, LinkVerdict::AskFirst);
    EXPECT_EQ(app::judgeLink(program, {}).verdict, LinkVerdict::AskFirst);
    EXPECT_EQ(app::judgeLink(QStringLiteral("x.desktop"), dir.path()).verdict, LinkVerdict::AskFirst);
    // A relative target lies beside the document.
    const app::LinkTarget relative = app::judgeLink(QStringLiteral("報告.htm"), dir.path());
    EXPECT_EQ(relative.url.toLocalFile(), doc);
}

TEST(LinkOpener, AskingDefaultsToNoAndRefusalIsExplained)
{
    testsupport::TempFolder dir;
    testsupport::ScriptedDialogs dialogs;
    testsupport::RecordingDesktop desk;
    const QString script = dir.write(QStringLiteral("run.sh"), "#!/bin/sh\n");
    app::openLink(script, {});                      // nothing scripted: the default No
    EXPECT_TRUE(desk.opened.isEmpty());
    dialogs.answer(env::Answer::Yes);
    app::openLink(script, {});
    EXPECT_EQ(desk.opened, QStringList{QUrl::fromLocalFile(script).toString()});
    app::openLink(QStringLiteral("javascript:alert(1)"), {});
    EXPECT_EQ(desk.opened.size(), 1);
    ASSERT_EQ(dialogs.messages().size(), 3);
    EXPECT_EQ(dialogs.messages().last(), QStringLiteral("ﾘﾝｸ先 javascript:alert(1) は開けません｡"));
    app::openLink(QStringLiteral("https://example.jp/"), {});
    EXPECT_EQ(desk.opened.last(), QStringLiteral("https://example.jp/"));
}
