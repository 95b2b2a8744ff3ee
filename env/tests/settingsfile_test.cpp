#include "env/codepage.h"
#include "env/settingsgroups.h"
#include "env/yini.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <gtest/gtest.h>

using env::yIni;

namespace {

const QString kHead = QStringLiteral("<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>");

QByteArray sjis(const QString& s) { return env::toSystemCodePage(s); }

// A whole settings file holding `groups`, in the system code page.
QByteArray settingsFile(const QString& groups)
{
    return sjis(kHead + QStringLiteral("\r\n") + groups + QStringLiteral("</運用>"));
}

const QByteArray kSkeleton = settingsFile({});

struct SettingsFile : ::testing::Test {
    testsupport::TempFolder dir;
    testsupport::ScriptedDialogs dialogs;
    yIni ini;
    QString file = dir.path(QStringLiteral("User.xml"));

    void load(const QByteArray& bytes)
    {
        dir.write(QStringLiteral("User.xml"), bytes);
        ASSERT_TRUE(ini.GetTxt(file));
    }
    QByteArray saved()
    {
        EXPECT_TRUE(ini.SetTxt());
        return dir.read(QStringLiteral("User.xml"));
    }
};

} // namespace

TEST_F(SettingsFile, FirstRunCreatesEmptyFileAndWritesSkeletonWithGroupsAtShutdown)
{
    ASSERT_TRUE(ini.GetTxt(file));
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(dir.read(QStringLiteral("User.xml")), QByteArray());

    ini.GetGtx(QStringLiteral("TX_SCREEN"));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("LEFT"), 0), 0);
    EXPECT_EQ(ini.vGtVal(QStringLiteral("FUNC"), "非表示"), QStringLiteral("非表示"));
    ini.SetVal(QStringLiteral("LEFT"), 1200.5);
    ini.SetVal(QStringLiteral("FUNC"), "表示");
    ini.SetGtx();
    EXPECT_EQ(saved(), settingsFile(QStringLiteral("   <TX_SCREEN>\r\n"
                                                   "      <LEFT>1200.5</LEFT>\r\n"
                                                   "      <FUNC>表示</FUNC>\r\n"
                                                   "   </TX_SCREEN>\r\n")));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(SettingsFile, EmptyFileOrBlankLinesOnlyAreReplacedBySkeleton)
{
    for (const QByteArray& bytes : {QByteArray(), QByteArray("\r\n"), QByteArray(" \r\n\r\n")}) {
        load(bytes);
        EXPECT_EQ(saved(), kSkeleton);
        EXPECT_TRUE(ini.keptCopy().isEmpty());
    }
}

// Before, a file whose first line was blank was taken as empty: its groups
// were replaced by the skeleton at shutdown without a word.
TEST_F(SettingsFile, BlankLinesBeforeTheDeclarationKeepTheGroups)
{
    const QByteArray groups = settingsFile(QStringLiteral("   <A>\r\n      <K>値</K>\r\n   </A>\r\n"));
    load("\r\n  \r\n" + groups);
    ini.GetGtx(QStringLiteral("A"));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("K"), "none"), QStringLiteral("値"));
    EXPECT_EQ(saved(), groups);
}

// Before, a UTF-8 file was read as the code page, and its garbled values
// were written back in the code page.
TEST_F(SettingsFile, Utf8FileIsReadAndWrittenBackAsUtf8WithOrWithoutMark)
{
    const QString groups = QStringLiteral("   <A>\r\n      <K>日本語 Müller</K>\r\n   </A>\r\n");
    const QString text = kHead + QStringLiteral("\r\n") + groups + QStringLiteral("</運用>");
    const QString changed = kHead + QStringLiteral("\r\n") + groups.chopped(9)
        + QStringLiteral("      <N>ü</N>\r\n   </A>\r\n</運用>");
    for (const QByteArray& mark : {QByteArray(), QByteArray("\xEF\xBB\xBF")}) {
        load(mark + text.toUtf8());
        ini.GetGtx(QStringLiteral("A"));
        EXPECT_EQ(ini.vGtVal(QStringLiteral("K"), ""), QStringLiteral("日本語 Müller"));
        ini.SetVal(QStringLiteral("N"), "ü");
        ini.SetGtx();
        EXPECT_EQ(saved(), mark + changed.toUtf8());
    }
}

// Before, a binary file or one holding no settings was overwritten by the
// skeleton at shutdown.
TEST_F(SettingsFile, UnusableFileIsKeptAsACopyAndNeverReplacedTwice)
{
    const QByteArray rows[] = {
        QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
        QByteArray("notes of the user\r\nnothing else"),
        kSkeleton + QByteArray(1, '\0'),
    };
    QStringList copies;
    for (const QByteArray& bytes : rows) {
        load(bytes);
        copies.append(ini.keptCopy());
        EXPECT_EQ(dir.read(QFileInfo(ini.keptCopy()).fileName()), bytes);
        EXPECT_EQ(saved(), kSkeleton);
    }
    EXPECT_EQ(copies, QStringList({file + QStringLiteral(".bak"), file + QStringLiteral(".bak2"),
                                   file + QStringLiteral(".bak3")}));
    EXPECT_EQ(dir.read(QStringLiteral("User.xml.bak")), rows[0]) << "an earlier copy stays";
    EXPECT_TRUE(dialogs.messages().isEmpty()) << "start-up tells the user";
}

TEST_F(SettingsFile, ExistingKeyIsReplacedInPlaceAndNewKeyAppendedToItsGroup)
{
    load(settingsFile(QStringLiteral("   <A>\r\n      <K1>old</K1>\r\n      <K2>keep</K2>\r\n   </A>\r\n"
                                     "   <B>\r\n      <K1>other</K1>\r\n   </B>\r\n")));
    ini.GetGtx(QStringLiteral("A"));
    ini.SetVal(QStringLiteral("K1"), "new value");
    ini.SetVal(QStringLiteral("K3"), true);
    ini.SetGtx();
    EXPECT_EQ(saved(), settingsFile(QStringLiteral("   <A>\r\n      <K1>new value</K1>\r\n      <K2>keep</K2>\r\n"
                                                   "      <K3>True</K3>\r\n   </A>\r\n"
                                                   "   <B>\r\n      <K1>other</K1>\r\n   </B>\r\n")));
}

TEST_F(SettingsFile, MissingGroupReadsDefaultsAndIsAddedBeforeTheRootClosingTag)
{
    load(kSkeleton);
    ini.GetGtx(QStringLiteral("TX_PAGE"));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("WIDTH"), 12240), 12240);
    EXPECT_DOUBLE_EQ(ini.vGtVal(QStringLiteral("M_LFT"), 850.5), 850.5);
    EXPECT_TRUE(ini.vGtVal(QStringLiteral("USR_DTP"), true));
    ini.SetVal(QStringLiteral("WIDTH"), 11906);
    ini.SetGtx();
    EXPECT_TRUE(ini.settingsText().endsWith(
        QStringLiteral("   <TX_PAGE>\r\n      <WIDTH>11906</WIDTH>\r\n   </TX_PAGE>\r\n</運用>")));
}

TEST_F(SettingsFile, MissingRootClosingTagGetsGroupAndClosingTagAppended)
{
    load(sjis(kHead));
    ini.GetGtx(QStringLiteral("G"));
    ini.SetVal(QStringLiteral("K"), "v");
    ini.SetGtx();
    EXPECT_EQ(sjis(ini.settingsText()), settingsFile(QStringLiteral("   <G>\r\n      <K>v</K>\r\n   </G>\r\n")));
}

TEST_F(SettingsFile, NumbersReadTheirLeadingNumericPart)
{
    load(settingsFile(QStringLiteral("   <N>\r\n      <A>1200.5</A>\r\n      <B>12abc</B>\r\n      <C></C>\r\n"
                                     "      <D>abc</D>\r\n      <E>-3.5e2x</E>\r\n      <F>1200.5</F>\r\n"
                                     "      <G>1e300</G>\r\n      <H>-1e300</H>\r\n   </N>\r\n")));
    ini.GetGtx(QStringLiteral("N"));
    EXPECT_DOUBLE_EQ(ini.vGtVal(QStringLiteral("A"), 7.0), 1200.5);
    EXPECT_DOUBLE_EQ(ini.vGtVal(QStringLiteral("B"), 7.0), 12.0);
    EXPECT_DOUBLE_EQ(ini.vGtVal(QStringLiteral("C"), 7.0), 7.0);
    EXPECT_DOUBLE_EQ(ini.vGtVal(QStringLiteral("D"), 7.0), 0.0);
    EXPECT_DOUBLE_EQ(ini.vGtVal(QStringLiteral("E"), 7.0), -350.0);
    EXPECT_EQ(ini.vGtVal(QStringLiteral("F"), 0), 1200);   // integers round half to even
    // Before, a number beyond the type's range was converted anyway (undefined,
    // in practice INT_MIN for a window's position).
    EXPECT_EQ(ini.vGtVal(QStringLiteral("G"), 7), 7);
    EXPECT_EQ(ini.vGtVal(QStringLiteral("H"), short(7)), short(7));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("G"), 7.0f), 7.0f);
    EXPECT_EQ(ini.vGtVal(QStringLiteral("A"), QString()), QStringLiteral("1200.5"));
}

TEST_F(SettingsFile, BooleansAcceptWordsAndNumbersElseTheDefault)
{
    load(settingsFile(QStringLiteral("   <B>\r\n      <T>tRUE</T>\r\n      <F>False</F>\r\n      <Z>0</Z>\r\n"
                                     "      <N>-1</N>\r\n      <X>maybe</X>\r\n   </B>\r\n")));
    ini.GetGtx(QStringLiteral("B"));
    EXPECT_TRUE(ini.vGtVal(QStringLiteral("T"), false));
    EXPECT_FALSE(ini.vGtVal(QStringLiteral("F"), true));
    EXPECT_FALSE(ini.vGtVal(QStringLiteral("Z"), true));
    EXPECT_TRUE(ini.vGtVal(QStringLiteral("N"), false));
    EXPECT_TRUE(ini.vGtVal(QStringLiteral("X"), true));
    EXPECT_FALSE(ini.vGtVal(QStringLiteral("X"), false));
    EXPECT_TRUE(ini.vGtVal(QStringLiteral("absent"), true));
}

TEST_F(SettingsFile, DatesRoundTripAndBadDatesGiveTheDefault)
{
    load(kSkeleton);
    const QDateTime when(QDate(2026, 12, 6), QTime(20, 5, 7));
    ini.GetGtx(QStringLiteral("D"));
    ini.SetVal(QStringLiteral("WHEN"), when);
    ini.SetVal(QStringLiteral("BAD"), "not a date");
    const QDateTime fallback(QDate(2000, 1, 1), QTime(0, 0));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("WHEN"), fallback), when);
    EXPECT_EQ(ini.vGtVal(QStringLiteral("BAD"), fallback), fallback);
}

TEST_F(SettingsFile, KeyWithoutClosingTagShowsDamageMessageOnceAndReadsDefault)
{
    load(settingsFile(QStringLiteral("   <G>\r\n      <K>1\r\n   </G>\r\n")));
    ini.GetGtx(QStringLiteral("G"));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("K"), 5), 5);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages().first(),
              QStringLiteral("<K> の設定が読み込めません\nﾕｰｻﾞｰ環境ﾌｧｲﾙ(") + file
                  + QStringLiteral(") が破損しています"));
}

TEST_F(SettingsFile, DamagedGroupIsWrittenAsAFreshBlock)
{
    load(settingsFile(QStringLiteral("   <G>\r\n      <K>1</K>\r\n")));
    ini.GetGtx(QStringLiteral("G"));
    EXPECT_EQ(dialogs.messages().size(), 1);
    ini.SetVal(QStringLiteral("K"), 2);
    ini.SetGtx();
    EXPECT_TRUE(ini.settingsText().endsWith(
        QStringLiteral("   <G>\r\n      <K>2</K>\r\n   </G>\r\n</運用>")));
    // The first opening tag now pairs with the new block's closing tag: no more damage.
    ini.GetGtx(QStringLiteral("G"));
    EXPECT_EQ(dialogs.messages().size(), 1);
}

TEST_F(SettingsFile, GroupTooShortToHoldItsLineBreaksReadsEmptyWithoutMessage)
{
    load(settingsFile(QStringLiteral("   <G></G>\r\n")));
    ini.GetGtx(QStringLiteral("G"));
    EXPECT_TRUE(ini.groupText().isEmpty());
    EXPECT_EQ(ini.vGtVal(QStringLiteral("K"), "d"), QStringLiteral("d"));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(SettingsFile, DoubleDaggerInANewValueBecomesALineBreak)
{
    load(kSkeleton);
    ini.GetGtx(QStringLiteral("G"));
    ini.SetVal(QStringLiteral("K"), "a‡b");
    EXPECT_EQ(ini.groupText(), QStringLiteral("      <K>a\r\nb</K>\r\n"));
    // Replacing an existing value keeps the mark as it is.
    ini.SetVal(QStringLiteral("K"), "c‡d");
    EXPECT_EQ(ini.groupText(), QStringLiteral("      <K>c‡d</K>\r\n"));
}

TEST_F(SettingsFile, DevelopmentSuffixNamesTheReleasedFile)
{
    ASSERT_TRUE(ini.GetTxt(dir.path(QStringLiteral("User_dv.XML"))));
    EXPECT_EQ(ini.settingsFile(), file);   // the replacement is always ".xml"
    ASSERT_TRUE(ini.GetTxt(dir.path(QStringLiteral("User_DV.xml"))));
    EXPECT_EQ(ini.settingsFile(), file);
    EXPECT_TRUE(ini.SetTxt());
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_FALSE(QFile::exists(dir.path(QStringLiteral("User_DV.xml"))));
}

TEST_F(SettingsFile, InvalidCodePageBytesStillLoad)
{
    QByteArray bytes = kSkeleton;
    bytes.insert(bytes.indexOf("\r\n") + 2, QByteArray("\xff\x80 stray\r\n"));
    load(bytes);
    EXPECT_TRUE(ini.settingsText().contains(QStringLiteral("stray")));
    ini.GetGtx(QStringLiteral("G"));
    ini.SetVal(QStringLiteral("K"), "v");
    ini.SetGtx();
    EXPECT_TRUE(ini.SetTxt());
}

TEST_F(SettingsFile, LargeSettingsTextsWork)
{
    load(kSkeleton);
    ini.GetGtx(QStringLiteral("BIG"));
    const QString big(40000, u'あ');
    ini.SetVal(QStringLiteral("K"), big);
    ini.SetGtx();
    ini.GetGtx(QStringLiteral("OTHER"));
    ini.SetVal(QStringLiteral("K"), "after");
    ini.SetGtx();
    const QByteArray bytes = saved();
    yIni again;
    ASSERT_TRUE(again.GetTxt(file));
    again.GetGtx(QStringLiteral("BIG"));
    EXPECT_EQ(again.vGtVal(QStringLiteral("K"), QString()), big);
    again.GetGtx(QStringLiteral("OTHER"));
    EXPECT_EQ(again.vGtVal(QStringLiteral("K"), QString()), QStringLiteral("after"));
    EXPECT_GT(bytes.size(), 80000);
}

TEST_F(SettingsFile, UnreadableFileIsNeverOverwritten)
{
    const QString folder = dir.path(QStringLiteral("sub"));
    QDir().mkpath(folder + QStringLiteral("/User.xml"));   // a folder where the file should be
    EXPECT_FALSE(ini.GetTxt(folder + QStringLiteral("/User.xml")));
    EXPECT_FALSE(ini.SetTxt());
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/User.xml")).isDir());
}

TEST_F(SettingsFile, ReadWriteReadIsAFixedPoint)
{
    const QByteArray original = settingsFile(
        QStringLiteral("   <TX_USR>\r\n      <IME>OFF</IME>\r\n      <更新確認>確認</更新確認>\r\n   </TX_USR>\r\n"));
    load(original);
    ini.GetGtx(QStringLiteral("TX_USR"));
    ini.SetVal(QStringLiteral("IME"), ini.vGtVal(QStringLiteral("IME"), "OFF"));
    ini.SetGtx();
    EXPECT_EQ(saved(), original);
}

// ---- Two copies of the program sharing the file ------------------------------

namespace {

const QString kTwoGroups = QStringLiteral("   <A>\r\n      <K>a0</K>\r\n   </A>\r\n"
                                          "   <B>\r\n      <K>b0</K>\r\n   </B>\r\n");

void setValue(yIni& ini, const QString& group, const QString& value)
{
    ini.GetGtx(group);
    ini.SetVal(QStringLiteral("K"), value);
    ini.SetGtx();
}

} // namespace

// Before, the copy that ended last wrote its whole text, and the groups the
// other had changed were lost.
TEST_F(SettingsFile, TwoCopiesEndingOneAfterTheOtherLoseNeitherOnesGroups)
{
    load(settingsFile(kTwoGroups + QStringLiteral("   <C>\r\n      <K>c0</K>\r\n   </C>\r\n")));
    yIni second;
    ASSERT_TRUE(second.GetTxt(file));
    setValue(ini, QStringLiteral("A"), QStringLiteral("a1"));
    setValue(second, QStringLiteral("B"), QStringLiteral("b2"));
    setValue(second, QStringLiteral("D"), QStringLiteral("new"));
    ASSERT_TRUE(ini.SetTxt());
    ASSERT_TRUE(second.SetTxt());
    EXPECT_EQ(dir.read(QStringLiteral("User.xml")),
              settingsFile(QStringLiteral("   <A>\r\n      <K>a1</K>\r\n   </A>\r\n"
                                          "   <B>\r\n      <K>b2</K>\r\n   </B>\r\n"
                                          "   <C>\r\n      <K>c0</K>\r\n   </C>\r\n"
                                          "   <D>\r\n      <K>new</K>\r\n   </D>\r\n")));
}

TEST_F(SettingsFile, WhatTheFileGotMeanwhileStaysUnlessThisCopyChangedTheSameGroup)
{
    load(settingsFile(kTwoGroups));
    setValue(ini, QStringLiteral("A"), QStringLiteral("mine"));
    setValue(ini, QStringLiteral("B"), QStringLiteral("b0"));   // put back as it was read: not a change
    dir.write(QStringLiteral("User.xml"),
              settingsFile(QStringLiteral("   <B>\r\n      <K>theirs</K>\r\n   </B>\r\n"
                                          "   <A>\r\n      <K>theirs</K>\r\n      <L>x</L>\r\n   </A>\r\n"
                                          "   <E>\r\n      <K>only on disk</K>\r\n   </E>\r\n")));
    EXPECT_EQ(saved(), settingsFile(QStringLiteral("   <B>\r\n      <K>theirs</K>\r\n   </B>\r\n"
                                                   "   <A>\r\n      <K>mine</K>\r\n   </A>\r\n"
                                                   "   <E>\r\n      <K>only on disk</K>\r\n   </E>\r\n")));
    // What was written is what this copy read now: a second write changes nothing.
    const QByteArray once = dir.read(QStringLiteral("User.xml"));
    EXPECT_EQ(saved(), once);
}

TEST_F(SettingsFile, TheMergeKeepsThisCopysEncodingAndLineEnds)
{
    const QString text = kHead + QStringLiteral("\r\n") + kTwoGroups + QStringLiteral("</運用>");
    load(text.toUtf8());
    setValue(ini, QStringLiteral("A"), QStringLiteral("日本語"));
    dir.write(QStringLiteral("User.xml"), sjis(kHead + QStringLiteral("\r\n   <B>\r\n      <K>ﾃｽﾄ</K>\r\n   </B>\r\n</運用>")));
    EXPECT_EQ(saved(), (kHead + QStringLiteral("\r\n   <B>\r\n      <K>ﾃｽﾄ</K>\r\n   </B>\r\n"
                                               "   <A>\r\n      <K>日本語</K>\r\n   </A>\r\n</運用>"))
                           .toUtf8());
}

TEST_F(SettingsFile, AFileGoneOrUnusableMeanwhileIsWrittenWholeOneUnreadableIsNotWritten)
{
    load(settingsFile(kTwoGroups));
    setValue(ini, QStringLiteral("A"), QStringLiteral("a1"));
    const QByteArray whole = settingsFile(QStringLiteral("   <A>\r\n      <K>a1</K>\r\n   </A>\r\n"
                                                         "   <B>\r\n      <K>b0</K>\r\n   </B>\r\n"));
    QFile::remove(file);
    EXPECT_EQ(saved(), whole);
    dir.write(QStringLiteral("User.xml"), QByteArray("\x89PNG\r\n\x1a\n\0\0", 10));
    EXPECT_EQ(saved(), whole);

    QFile::remove(file);
    QDir().mkpath(file);   // a folder where the file was: it cannot be read
    EXPECT_FALSE(ini.SetTxt());
    EXPECT_TRUE(QFileInfo(file).isDir());
}

TEST(SettingsGroups, GroupsAreTheRootsElementsNotTheirValues)
{
    const QString root = QStringLiteral("運用");
    const QString text = QStringLiteral("<?xml ?>\r\n<運用>\r\n   <A>\r\n      <B>v</B>\r\n   </A>\r\n"
                                        "   </X>\r\n   <C>\r\n      <K>1</K>\r\n   </C>\r\n   <A>\r\n   </A>\r\n</運用>\r\n<Z>\r\n</Z>");
    EXPECT_EQ(env::settingsgroups::names(text, root), QStringList({QStringLiteral("A"), QStringLiteral("C")}));
    EXPECT_EQ(env::settingsgroups::inside(text, QStringLiteral("C")), QStringLiteral("      <K>1</K>\r\n   "));
    EXPECT_FALSE(env::settingsgroups::inside(text, QStringLiteral("Z1")));
    EXPECT_TRUE(env::settingsgroups::names(QStringLiteral("<A>\r\n</A>"), root).isEmpty());
}
