#include "browser/fileoperations.h"
#include "browser/filetransfer.h"
#include "browser/namepatterns.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using browser::ClipboardFiles;
using browser::DropEffect;
using browser::FileOperations;
using env::Answer;

namespace {

class FileOps : public ::testing::Test {
protected:
    QString path(const QString& relative) const { return folder.path(relative); }
    QString write(const QString& relative, const QByteArray& bytes = "x")
    {
        return folder.write(relative, bytes);
    }
    bool exists(const QString& relative) const { return QFileInfo::exists(path(relative)); }
    QStringList paste(const QStringList& sources, DropEffect effect, const QString& to = QStringLiteral("to"))
    {
        QDir().mkpath(path(to));
        return FileOperations().paste(ClipboardFiles{sources, effect}, path(to));
    }

    testsupport::TempFolder folder;
    testsupport::ScriptedDialogs dialogs;
};

TEST_F(FileOps, CopyKeepsTheSourceMoveTakesItAwayAndNoEffectPastesNothing)
{
    struct Row {
        const char* what;
        DropEffect effect;
        bool sourceStays, arrives;
    };
    for (const Row& row : {Row{"copy", DropEffect::Copy, true, true}, Row{"move", DropEffect::Move, false, true},
                           Row{"none", DropEffect::None, true, false}}) {
        SCOPED_TRACE(row.what);
        const QString a = write(QStringLiteral("from/文書.htm"), "<p>本文</p>");
        QFile::remove(path(QStringLiteral("to/文書.htm")));
        EXPECT_EQ(paste({a}, row.effect), row.arrives ? QStringList{QStringLiteral("文書.htm")} : QStringList());
        EXPECT_EQ(QFileInfo::exists(a), row.sourceStays);
        EXPECT_EQ(folder.read(QStringLiteral("to/文書.htm")), row.arrives ? QByteArray("<p>本文</p>") : QByteArray());
    }
    EXPECT_TRUE(dialogs.asked().empty());
}

struct OverwriteRow {
    Answer answer;
    QByteArray expectedA;   // content of to/a.htm afterwards
    bool bCopied;           // whether to/b.htm (no conflict) arrived
};

class FileOpsOverwrite : public FileOps, public ::testing::WithParamInterface<OverwriteRow> {};

TEST_P(FileOpsOverwrite, AsksBeforeEachExistingName)
{
    const OverwriteRow row = GetParam();
    const QString a = write(QStringLiteral("from/a.htm"), "new");
    const QString b = write(QStringLiteral("from/b.htm"), "b");
    write(QStringLiteral("to/a.htm"), "old");
    dialogs.answer(row.answer);
    paste({a, b}, DropEffect::Copy);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages().first().startsWith(QStringLiteral("「a.htm」は既にあります")));
    EXPECT_EQ(dialogs.asked().front().buttons, env::Buttons::YesNoCancel);
    EXPECT_EQ(folder.read(QStringLiteral("to/a.htm")), row.expectedA);
    EXPECT_EQ(exists(QStringLiteral("to/b.htm")), row.bCopied);
}

INSTANTIATE_TEST_SUITE_P(Answers, FileOpsOverwrite,
                         ::testing::Values(OverwriteRow{Answer::Yes, "new", true},
                                           OverwriteRow{Answer::No, "old", true},
                                           // Cancel stops the whole paste before anything is written.
                                           OverwriteRow{Answer::Cancel, "old", false}));

TEST_F(FileOps, CopyIntoItsOwnFolderMakesNumberedCopies)
{
    const QString a = write(QStringLiteral("to/a.htm"), "A");
    EXPECT_EQ(paste({a}, DropEffect::Copy), QStringList{QStringLiteral("a - ｺﾋﾟｰ.htm")});
    EXPECT_EQ(paste({a}, DropEffect::Copy), QStringList{QStringLiteral("a - ｺﾋﾟｰ (2).htm")});
    EXPECT_EQ(folder.read(QStringLiteral("to/a - ｺﾋﾟｰ (2).htm")), QByteArray("A"));
    EXPECT_TRUE(dialogs.asked().empty());
    // Moving a file onto itself does nothing at all.
    EXPECT_TRUE(paste({a}, DropEffect::Move).isEmpty());
    EXPECT_EQ(folder.read(QStringLiteral("to/a.htm")), QByteArray("A"));
}

TEST_F(FileOps, FoldersAreCopiedWithEverythingInThem)
{
    write(QStringLiteral("from/box/a.htm"), "A");
    write(QStringLiteral("from/box/inner/b.rtf"), "B");
    write(QStringLiteral("from/box/.hidden"), "H");
    paste({path(QStringLiteral("from/box"))}, DropEffect::Copy);
    EXPECT_EQ(folder.read(QStringLiteral("to/box/a.htm")), QByteArray("A"));
    EXPECT_EQ(folder.read(QStringLiteral("to/box/inner/b.rtf")), QByteArray("B"));
    EXPECT_EQ(folder.read(QStringLiteral("to/box/.hidden")), QByteArray("H"));
}

TEST_F(FileOps, AFolderIsNeverCopiedIntoItself)
{
    write(QStringLiteral("box/a.htm"), "A");
    QDir().mkpath(path(QStringLiteral("box/inner")));
    const QStringList arrived = FileOperations().paste(
        ClipboardFiles{{path(QStringLiteral("box"))}, DropEffect::Copy}, path(QStringLiteral("box/inner")));
    EXPECT_TRUE(arrived.isEmpty());
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages().first().contains(QStringLiteral("それ自身の中へ複写することはできません")));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("box/inner/box"))));
}

TEST_F(FileOps, MovingOntoAnExistingFolderMergesItsContent)
{
    write(QStringLiteral("from/box/a.htm"), "new");
    write(QStringLiteral("from/box/c.htm"), "C");
    write(QStringLiteral("to/box/a.htm"), "old");
    write(QStringLiteral("to/box/b.htm"), "B");
    dialogs.answer(Answer::Yes);
    paste({path(QStringLiteral("from/box"))}, DropEffect::Move);
    EXPECT_TRUE(dialogs.messages().first().startsWith(QStringLiteral("ﾌｫﾙﾀﾞ「box」は既にあります")));
    EXPECT_EQ(folder.read(QStringLiteral("to/box/a.htm")), QByteArray("new"));
    EXPECT_EQ(folder.read(QStringLiteral("to/box/b.htm")), QByteArray("B"));
    EXPECT_EQ(folder.read(QStringLiteral("to/box/c.htm")), QByteArray("C"));
    EXPECT_FALSE(exists(QStringLiteral("from/box")));
}

TEST_F(FileOps, VanishedSourcesAreReportedAndTheRestArrives)
{
    const QString b = write(QStringLiteral("from/b.htm"), "B");
    paste({path(QStringLiteral("from/gone.htm")), b}, DropEffect::Copy);
    EXPECT_TRUE(exists(QStringLiteral("to/b.htm")));
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages().first(), QStringLiteral("次の項目を複写できませんでした。\ngone.htm"));
}

TEST_F(FileOps, AFailedCopyLeavesTheOverwrittenFileIntact)
{
    const QString unreadable = write(QStringLiteral("from/a.htm"), "new");
    write(QStringLiteral("to/a.htm"), "old");
    QFile::setPermissions(unreadable, QFileDevice::WriteOwner);
    if (QFile(unreadable).open(QIODevice::ReadOnly))
        GTEST_SKIP() << "running with rights that read any file";
    dialogs.answer(Answer::Yes);
    paste({unreadable}, DropEffect::Copy);
    EXPECT_EQ(folder.read(QStringLiteral("to/a.htm")), QByteArray("old"));
    EXPECT_TRUE(dialogs.messages().last().startsWith(QStringLiteral("次の項目を複写できませんでした")));
}

TEST(FileTransfer, MovesAcrossFileSystemsByCopyingFirst)
{
    QTemporaryDir other(QStringLiteral("/dev/shm/fumi-XXXXXX"));
    testsupport::TempFolder folder;
    struct stat a{}, b{};
    if (!other.isValid() || ::stat(QFile::encodeName(other.path()).constData(), &a) != 0
        || ::stat(QFile::encodeName(folder.path()).constData(), &b) != 0 || a.st_dev == b.st_dev)
        GTEST_SKIP() << "no second file system to move to";
    const QString source = folder.write(QStringLiteral("box/a.htm"), "A");
    folder.write(QStringLiteral("box/sub/b.htm"), "B");
    browser::FileTransfer transfer;
    ASSERT_TRUE(transfer.move(folder.path(QStringLiteral("box")), other.filePath(QStringLiteral("box"))));
    EXPECT_FALSE(QFileInfo::exists(source));
    QFile moved(other.filePath(QStringLiteral("box/sub/b.htm")));
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    EXPECT_EQ(moved.readAll(), QByteArray("B"));
}

TEST(FileTransfer, StoppingLeavesTheRestUntouchedAndCountsFiles)
{
    testsupport::TempFolder folder;
    for (const char16_t* name : {u"box/1", u"box/2", u"box/3", u"box/sub/4"})
        folder.write(QString::fromUtf16(name), "x");
    EXPECT_EQ(browser::FileTransfer::countFiles(folder.path(QStringLiteral("box"))), 4);
    EXPECT_EQ(browser::FileTransfer::countFiles(folder.path(QStringLiteral("box/1"))), 1);
    int steps = 0;
    browser::FileTransfer transfer([&](const QString&) { return ++steps < 2; });
    EXPECT_FALSE(transfer.copy(folder.path(QStringLiteral("box")), folder.path(QStringLiteral("copy"))));
    EXPECT_TRUE(transfer.stopped());
    EXPECT_EQ(QDir(folder.path(QStringLiteral("copy"))).entryList(QDir::Files).size(), 1);
}

TEST_F(FileOps, TrashAsksFirst)
{
    testsupport::TempFolder data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    const QString a = write(QStringLiteral("a.htm"));
    const QString b = write(QStringLiteral("b.htm"));
    dialogs.answer(Answer::No);
    EXPECT_FALSE(FileOperations().moveToTrash({a}));
    EXPECT_TRUE(QFileInfo::exists(a));
    EXPECT_EQ(dialogs.messages().last(), QStringLiteral("「a.htm」をごみ箱に移動しますか?"));
    dialogs.answer(Answer::Yes);
    EXPECT_TRUE(FileOperations().moveToTrash({a, b}));
    EXPECT_EQ(dialogs.messages().last(), QStringLiteral("2 個の項目をごみ箱に移動しますか?"));
    EXPECT_FALSE(QFileInfo::exists(a));
    EXPECT_FALSE(QFileInfo::exists(b));
    qunsetenv("XDG_DATA_HOME");
}

struct RenameRow {
    const char16_t* answer;   // nullptr: cancelled
    const char16_t* message;  // nullptr: none
    const char16_t* result;   // name of the file afterwards
};

class FileOpsRename : public FileOps, public ::testing::WithParamInterface<RenameRow> {};

TEST_P(FileOpsRename, RenamesOnlyToAFreeValidName)
{
    const RenameRow row = GetParam();
    const QString a = write(QStringLiteral("a.htm"), "A");
    write(QStringLiteral("taken.htm"), "T");
    if (row.answer)
        dialogs.answerText(QString::fromUtf16(row.answer));
    const QString renamed = FileOperations().rename(a);
    EXPECT_EQ(dialogs.asked().front().kind, QStringLiteral("input"));
    EXPECT_EQ(dialogs.asked().front().text, QStringLiteral("ﾌｧｲﾙ名の変更"));
    const QStringList messages = dialogs.messages();
    EXPECT_EQ(messages.value(0), row.message ? QString::fromUtf16(row.message) : QString());
    EXPECT_EQ(folder.read(QString::fromUtf16(row.result)), QByteArray("A"));
    const bool changed = QString::fromUtf16(row.result) != u"a.htm";
    EXPECT_EQ(renamed, changed ? path(QString::fromUtf16(row.result)) : QString());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FileOpsRename,
    ::testing::Values(RenameRow{nullptr, nullptr, u"a.htm"},
                      RenameRow{u"議事録.htm", nullptr, u"議事録.htm"},
                      RenameRow{u"  b.htm  ", nullptr, u"b.htm"},
                      RenameRow{u"a.htm", nullptr, u"a.htm"},
                      RenameRow{u"taken.htm", u"「taken.htm」は既にあります。", u"a.htm"},
                      RenameRow{u"x/y.htm", u"「x/y.htm」はﾌｧｲﾙ名に使えません。", u"a.htm"},
                      RenameRow{u"..", u"「..」はﾌｧｲﾙ名に使えません。", u"a.htm"},
                      RenameRow{u"   ", u"「」はﾌｧｲﾙ名に使えません。", u"a.htm"}));

TEST_F(FileOps, NewDocumentsAreEmptyAndGetTheDocumentExtension)
{
    const browser::NamePatterns documents(QStringLiteral("*.htm;*.html;*.rtf"));
    dialogs.answerText(QStringLiteral("メモ"));
    EXPECT_EQ(FileOperations().createDocument(path({}), documents), path(QStringLiteral("メモ.htm")));
    EXPECT_EQ(QFileInfo(path(QStringLiteral("メモ.htm"))).size(), 0);
    dialogs.answerText(QStringLiteral("手紙.rtf"));
    EXPECT_EQ(FileOperations().createDocument(path({}), documents), path(QStringLiteral("手紙.rtf")));
    // An existing name is refused and left alone.
    write(QStringLiteral("old.htm"), "keep");
    dialogs.answerText(QStringLiteral("old.htm"));
    EXPECT_EQ(FileOperations().createDocument(path({}), documents), QString());
    EXPECT_EQ(dialogs.messages().last(), QStringLiteral("「old.htm」は既にあります。"));
    EXPECT_EQ(folder.read(QStringLiteral("old.htm")), QByteArray("keep"));
    // Cancelled: nothing.
    EXPECT_EQ(FileOperations().createDocument(path({}), documents), QString());
}

TEST_F(FileOps, FreeNamesCountUpPastTakenOnes)
{
    EXPECT_EQ(FileOperations::freeNewName(path({})), QStringLiteral("新規文書.htm"));
    write(QStringLiteral("新規文書.htm"));
    write(QStringLiteral("新規文書 (2).htm"));
    EXPECT_EQ(FileOperations::freeNewName(path({})), QStringLiteral("新規文書 (3).htm"));

    struct Row { const char16_t* name; const char16_t* copy; };
    for (const Row& row : {Row{u"a.htm", u"a - ｺﾋﾟｰ.htm"}, Row{u"a.tar.gz", u"a.tar - ｺﾋﾟｰ.gz"},
                           Row{u"README", u"README - ｺﾋﾟｰ"}, Row{u".bashrc", u".bashrc - ｺﾋﾟｰ"}})
        EXPECT_EQ(FileOperations::freeCopyName(path({}), QString::fromUtf16(row.name)),
                  QString::fromUtf16(row.copy));
}

TEST(FileOperations, ValidNamesAreTrimmedAndSafe)
{
    EXPECT_EQ(FileOperations::validFileName(QStringLiteral(" a b.htm ")), QStringLiteral("a b.htm"));
    EXPECT_EQ(FileOperations::validFileName(QStringLiteral(".hidden")), QStringLiteral(".hidden"));
    for (const QString& bad : {QString(), QStringLiteral("."), QStringLiteral("a/b"),
                               QStringLiteral("a") + QChar(u'\0'), QString(300, u'a'),
                               QString(100, u'文')})   // 300 bytes in UTF-8
        EXPECT_EQ(FileOperations::validFileName(bad), QString()) << bad.toStdString();
}

} // namespace
