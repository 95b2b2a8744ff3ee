#include "env/codepage.h"
#include "env/globals.h"
#include "env/yini.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <gtest/gtest.h>

using env::yIni;

namespace {

// A program folder, a home with its own data and documents folders, and a
// private per-user settings store, so nothing touches the real user's files.
struct UserData : ::testing::Test {
    testsupport::TempFolder home;
    testsupport::ScriptedDialogs dialogs;
    yIni ini;
    QString program = home.path(QStringLiteral("prog"));

    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", home.path(QStringLiteral("data")).toUtf8());
        qputenv("HOME", home.path().toUtf8());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path(QStringLiteral("config")));
        QDir().mkpath(program);
        ini.setProgramFolder(program);
        env::gsExeNm = QStringLiteral("fumi");
    }
    void writeIni(const QByteArray& bytes) { home.write(QStringLiteral("prog/UserData.ini"), bytes); }
    QString appData() const { return home.path(QStringLiteral("data/Venmoor/fumi/")); }
    QString documents() const
    {
        return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
            + QStringLiteral("/Venmoor/fumi/");
    }
    QString registered()
    {
        QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VenmoorTools"));
        return s.value(QStringLiteral("Path/fumi")).toString();
    }
};

} // namespace

TEST_F(UserData, PlaceholdersChooseTheirFolders)
{
    struct Row {
        const char* text;
        QString expected;
    };
    const Row rows[] = {
        {"%APP%", program + QStringLiteral("/usData/")},
        {"%usr%", appData()},
        {"%applicaion data%", appData()},
        {"%doc", documents()},
        {"%My Document%", documents()},
        // Before, a line end after a placeholder made it another text, and
        // another folder was used without a word.
        {"%doc\r\n", documents()},
        {"%APP%\r\n", program + QStringLiteral("/usData/")},
        {"%doc\n", documents()},
        {"%anything", appData()},
    };
    for (const Row& row : rows) {
        writeIni(QByteArray(row.text));
        ini.W_UserData();
        EXPECT_EQ(env::gsUsrPh, row.expected) << row.text;
        EXPECT_TRUE(QFileInfo(env::gsUsrPh).isDir()) << row.text;
    }
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(UserData, ExistingExplicitFolderIsFoundAndGetsATrailingSlash)
{
    const QString plain = home.path(QStringLiteral("mydata"));
    const QString japanese = home.path(QStringLiteral("Data Folder/ユーザー"));
    // The second in the system code page, with capitals and a final line break.
    const std::pair<QString, QByteArray> rows[] = {
        {plain, plain.toUtf8()}, {japanese, env::toSystemCodePage(japanese + QStringLiteral("\r\n"))}};
    for (const auto& [folder, bytes] : rows) {
        SCOPED_TRACE(folder.toStdString());
        QDir().mkpath(folder);
        writeIni(bytes);
        ini.W_UserData();
        EXPECT_EQ(env::gsUsrPh, folder + u'/');
    }
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(UserData, MissingExplicitFolderFallsBackWithMessage)
{
    writeIni("/No/Such/Folder");
    ini.W_UserData();
    EXPECT_EQ(env::gsUsrPh, appData());
    EXPECT_EQ(dialogs.messages(),
              QStringList{QStringLiteral("ﾌｫﾙﾀﾞ /no/such/folder が見つかりません\nﾕｰｻﾞｰﾃﾞｰﾀｰﾌｫﾙﾀﾞは　")
                          + appData() + QStringLiteral(" を使用します")});
}

TEST_F(UserData, IniNamingAFileOrHoldingGarbageFallsBackWithAMessage)
{
    const QString file = home.write(QStringLiteral("afile"), "x");
    for (const QByteArray& bytes : {file.toUtf8(), QByteArray("\x82\xa0\xff\x00\x01garbage", 10)}) {
        SCOPED_TRACE(bytes.toStdString());
        dialogs.clear();
        writeIni(bytes);
        ini.W_UserData();
        EXPECT_EQ(env::gsUsrPh, appData());
        EXPECT_EQ(dialogs.messages().size(), 1);
    }
}

TEST_F(UserData, MissingIniNamesItsFullPath)
{
    ini.W_UserData();
    EXPECT_EQ(env::gsUsrPh, appData());
    EXPECT_EQ(dialogs.messages(),
              QStringList{program + QStringLiteral("/UserData.ini が見つかりません\nﾕｰｻﾞｰﾃﾞｰﾀｰﾌｫﾙﾀﾞは　")
                          + appData() + QStringLiteral(" を使用します")});
}

TEST_F(UserData, EmptyIniOrEmptyFirstLineSaysNothingIsDefined)
{
    for (const QByteArray& bytes : {QByteArray(), QByteArray("\r\n/somewhere")}) {
        dialogs.clear();
        writeIni(bytes);
        ini.W_UserData();
        EXPECT_EQ(env::gsUsrPh, appData());
        EXPECT_EQ(dialogs.messages(),
                  QStringList{QStringLiteral(" ﾕｰｻﾞｰﾃﾞｰﾀｰﾌｫﾙﾀﾞが定義されていません\n") + appData()
                              + QStringLiteral(" を使用します")});
    }
}

TEST_F(UserData, ExecutablePathIsRegisteredOnlyWhenItChanges)
{
    writeIni("%usr%");
    ini.W_UserData();
    EXPECT_EQ(registered(), program + QStringLiteral("/fumi"));

    // Same path in other letter case: left as it is.
    {
        QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VenmoorTools"));
        s.setValue(QStringLiteral("Path/fumi"), program.toUpper() + QStringLiteral("/FUMI"));
    }
    ini.W_UserData();
    EXPECT_EQ(registered(), program.toUpper() + QStringLiteral("/FUMI"));

    // Started from a new folder: rewritten.
    const QString moved = home.path(QStringLiteral("moved"));
    QDir().mkpath(moved);
    home.write(QStringLiteral("moved/UserData.ini"), "%usr%");
    ini.setProgramFolder(moved);
    ini.W_UserData();
    EXPECT_EQ(registered(), moved + QStringLiteral("/fumi"));
}

TEST_F(UserData, CreateFolderMakesEveryMissingLevel)
{
    const QString deep = home.path(QStringLiteral("a/b/c"));
    yIni::F_CreateFld(deep);
    EXPECT_TRUE(QFileInfo(deep).isDir());
    yIni::F_ChkSb(deep + u'/', {QStringLiteral("Wrk"), QStringLiteral("Doc")});
    EXPECT_TRUE(QFileInfo(deep + QStringLiteral("/Wrk")).isDir());
    EXPECT_TRUE(QFileInfo(deep + QStringLiteral("/Doc")).isDir());
    // One level only: a missing parent is not created.
    yIni::F_ChkSb(home.path(QStringLiteral("x/y/")), {QStringLiteral("Wrk")});
    EXPECT_FALSE(QFileInfo(home.path(QStringLiteral("x"))).exists());
}

TEST_F(UserData, SpecialFolders)
{
    EXPECT_EQ(ini.FsGtSpFld(26), home.path(QStringLiteral("data")));
    EXPECT_EQ(ini.FsGtSpFld(9), home.path(QStringLiteral("data/applications")));
    EXPECT_EQ(ini.FsGtSpFld(12345), QString());
    env::gsUsrPh = home.path(QStringLiteral("usr/"));
    EXPECT_EQ(ini.FsGtSpFld(6), home.path(QStringLiteral("usr/Favorites")));
    EXPECT_TRUE(QFileInfo(ini.FsGtSpFld(6)).isDir());
}
