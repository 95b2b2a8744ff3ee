// Documents another program has open: the question when opening one, the
// read-only document's refused update, and the lock the editor holds on the
// file its document is.

#include "editor/utxm.h"

#include "editortestsupport.h"
#include "engine/textengine.h"
#include "env/documentlock.h"
#include "env/lockrecord.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <climits>

using editor::uTxm;

namespace {

const QByteArray kUtf8Mark = "\xEF\xBB\xBF";
const QByteArray kLibreOfficeLock = ",jdoe,office-pc,09.12.2026 07:13,file:///home/jdoe/.config/libreoffice/4;";
const QString kAsked = QStringLiteral("メモ.txt は他のﾌﾟﾛｸﾞﾗﾑ(jdoe@office-pc、2026/12/09 07:13)で開かれています｡読み取り専用で開きますか");
const QString kRefused = QStringLiteral("ﾌｧｲﾙ: メモ.txt は読み取り専用で開いているため上書きできません｡名前を付けて保存しますか");

struct DocumentLocks : ::testing::Test {
    editortest::Environment environment;
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();
    QString memo = environment.dir.write(QStringLiteral("メモ.txt"), "old");
    QString memoLock = env::DocumentLock::lockFileOf(memo);

    DocumentLocks()
    {
        editor.setInputMethodSwitch(std::make_unique<editortest::RecordingIme>(std::make_shared<std::vector<bool>>()));
        editor.cOn(1, 1);
    }
    testsupport::ScriptedDialogs& dialogs() { return environment.dialogs; }
    QByteArray read(const QString& path) const { return environment.dir.read(QFileInfo(path).fileName()); }
    void heldByLibreOffice() const { environment.dir.write(QFileInfo(memoLock).fileName(), kLibreOfficeLock); }
    void typed(const QString& text)
    {
        engine.setSelection(0, -1);
        engine.setSelectedText(text);
    }
    bool holdsLockOn(const QString& document) const
    {
        const std::optional<env::LockRecord> record = env::LockRecord::parse(read(env::DocumentLock::lockFileOf(document)));
        return record && record->fumiProcess() == QCoreApplication::applicationPid();
    }
};

} // namespace

TEST_F(DocumentLocks, AFileNobodyElseHasOpenOpensWithoutAQuestionAndIsLocked)
{
    editor.rtAct(3, memo);
    EXPECT_TRUE(dialogs().asked().empty());
    EXPECT_EQ(engine.plainText(), QStringLiteral("old"));
    EXPECT_FALSE(editor.isReadOnly());
    EXPECT_EQ(editor.lockedFile(), memo);
    EXPECT_TRUE(holdsLockOn(memo));
}

TEST_F(DocumentLocks, TheLockGoesWithTheDocumentAndAtTheEnd)
{
    const QString other = environment.dir.write(QStringLiteral("other.txt"), "other");
    editor.rtAct(3, memo);
    editor.rtAct(3, other);
    EXPECT_FALSE(QFile::exists(memoLock)) << "opening another document";
    EXPECT_TRUE(holdsLockOn(other));

    editor.rtAct(2);
    EXPECT_FALSE(QFile::exists(env::DocumentLock::lockFileOf(other))) << "a new document";
    EXPECT_TRUE(editor.lockedFile().isEmpty());

    editor.rtAct(3, memo);
    QVariant target = environment.dir.path(QStringLiteral("copy.txt"));
    editor.rtAct(5, target);
    EXPECT_FALSE(QFile::exists(memoLock)) << "save-as to another file";
    EXPECT_TRUE(holdsLockOn(target.toString()));

    editor.cOff();
    EXPECT_FALSE(QFile::exists(env::DocumentLock::lockFileOf(target.toString()))) << "the editor stops";
}

TEST_F(DocumentLocks, OpeningAFileAnotherProgramHasOpenAsksAndCancelKeepsTheDocument)
{
    const QString before = environment.dir.write(QStringLiteral("before.txt"), "before");
    editor.rtAct(3, before);
    heldByLibreOffice();
    dialogs().answer(env::Answer::Cancel);
    editor.rtAct(3, memo);
    ASSERT_EQ(dialogs().messages(), QStringList{kAsked});
    EXPECT_EQ(dialogs().asked().front().buttons, env::Buttons::YesNoCancel);
    EXPECT_EQ(engine.plainText(), QStringLiteral("before"));
    EXPECT_EQ(editor.currentFile(), before);
    EXPECT_TRUE(holdsLockOn(before));
    EXPECT_EQ(read(memoLock), kLibreOfficeLock);
}

TEST_F(DocumentLocks, ReadOnlyRefusesTheUpdateAndOffersSaveAsWhichTakesTheLockThere)
{
    heldByLibreOffice();
    dialogs().answer(env::Answer::Yes);
    editor.rtAct(3, memo);
    EXPECT_EQ(engine.plainText(), QStringLiteral("old"));
    EXPECT_EQ(editor.currentFile(), memo);
    EXPECT_TRUE(editor.isReadOnly());
    EXPECT_TRUE(editor.lockedFile().isEmpty());

    typed(QStringLiteral("edited"));
    dialogs().clear();
    dialogs().answer(env::Answer::No);
    editor.rtAct(4);
    EXPECT_EQ(dialogs().messages(), QStringList{kRefused});
    EXPECT_EQ(read(memo), QByteArray("old"));
    EXPECT_TRUE(editor.bDcEdt());

    // Save-as choosing the same file is refused again; then another name.
    dialogs().clear();
    dialogs().answer(env::Answer::Yes);
    dialogs().answerFiles({memo}, 6);
    dialogs().answer(env::Answer::Yes);
    dialogs().answerFiles({environment.dir.path(QStringLiteral("mine"))}, 6);
    editor.rtAct(4);
    EXPECT_EQ(dialogs().unanswered(), 0u);
    EXPECT_EQ(read(memo), QByteArray("old"));
    const QString mine = environment.dir.path(QStringLiteral("mine.txt"));
    EXPECT_EQ(read(mine), kUtf8Mark + "edited");
    EXPECT_EQ(editor.currentFile(), mine);
    EXPECT_FALSE(editor.isReadOnly());
    EXPECT_TRUE(holdsLockOn(mine));
    EXPECT_EQ(read(memoLock), kLibreOfficeLock);

    typed(QStringLiteral("again"));
    dialogs().clear();
    editor.rtAct(4);
    EXPECT_TRUE(dialogs().asked().empty());
    EXPECT_EQ(read(mine), kUtf8Mark + "again");
}

TEST_F(DocumentLocks, SaveAsOverTheReadOnlyFileIsRefusedToo)
{
    heldByLibreOffice();
    dialogs().answer(env::Answer::Yes);
    editor.rtAct(3, memo);
    typed(QStringLiteral("edited"));
    dialogs().clear();
    QString same = memo;
    EXPECT_FALSE(editor.txSaveAs(same));
    EXPECT_EQ(dialogs().messages(), QStringList{kRefused});
    EXPECT_EQ(read(memo), QByteArray("old"));
}

TEST_F(DocumentLocks, NoOpensTheFileToBeEditedAndLeavesTheOthersLockAlone)
{
    heldByLibreOffice();
    dialogs().answer(env::Answer::No);
    editor.rtAct(3, memo);
    EXPECT_FALSE(editor.isReadOnly());
    EXPECT_TRUE(editor.lockedFile().isEmpty());
    typed(QStringLiteral("edited"));
    dialogs().clear();
    editor.rtAct(4);
    EXPECT_TRUE(dialogs().asked().empty());
    EXPECT_EQ(read(memo), kUtf8Mark + "edited");
    editor.rtAct(2);
    EXPECT_EQ(read(memoLock), kLibreOfficeLock);
}

TEST_F(DocumentLocks, ALockLeftByAnEndedFumiIsReplacedWithoutAQuestion)
{
    env::LockRecord stale = env::LockRecord::ofThisProcess();
    stale.owner = QStringLiteral("Fumi:") + QString::number(INT_MAX);   // no process has this id
    environment.dir.write(QFileInfo(memoLock).fileName(), stale.bytes());
    editor.rtAct(3, memo);
    EXPECT_TRUE(dialogs().asked().empty());
    EXPECT_TRUE(holdsLockOn(memo));
}

TEST_F(DocumentLocks, TwoEditorsInOneProcessSeeEachOther)
{
    editor.rtAct(3, memo);
    uTxm second;
    second.cOn(2, 1);
    dialogs().answer(env::Answer::Yes);
    second.rtAct(3, memo);
    ASSERT_EQ(dialogs().messages().size(), 1);
    EXPECT_TRUE(dialogs().messages().front().startsWith(QStringLiteral("メモ.txt は他のﾌﾟﾛｸﾞﾗﾑ(")));
    EXPECT_TRUE(second.isReadOnly());
    second.cOff();
    EXPECT_TRUE(holdsLockOn(memo)) << "the second never removes the first's lock";
}

TEST_F(DocumentLocks, SaveAsOverAFileAnotherProgramHasOpenIsRefused)
{
    heldByLibreOffice();
    typed(QStringLiteral("new text"));
    QString target = memo;
    EXPECT_FALSE(editor.txSaveAs(target));
    EXPECT_EQ(dialogs().messages(),
              QStringList{QStringLiteral("ﾌｧｲﾙ: メモ.txt を保存できません｡他のﾌﾟﾛｸﾞﾗﾑ(jdoe@office-pc、2026/12/09 07:13)で開かれています｡")});
    EXPECT_EQ(read(memo), QByteArray("old"));
    EXPECT_TRUE(editor.currentFile().isEmpty());
    EXPECT_EQ(read(memoLock), kLibreOfficeLock);
}
