// The recovery copy of an edited document: kept while the document is
// edited, gone once it is saved, replaced or the program ends cleanly, and
// offered back at the next start when a run ended without removing it.

#include "editor/recoverycopy.h"
#include "editor/recoverykeeper.h"
#include "editor/recoveryoffer.h"
#include "editor/utxm.h"

#include "editortestsupport.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"
#include "env/globals.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSysInfo>
#include <QTest>

using editor::RecoveryRecord;

namespace {

RecoveryRecord sampleRecord(const QString& text, const QDateTime& at = QDateTime::currentDateTimeUtc())
{
    engine::TextEngine source;
    source.setPlainText(text);
    return {QStringLiteral("/文書/手紙 1%.htm"), QStringLiteral("題 名"), 4, at,
            source.saveToMemory(engine::FormatCode::Snapshot).value()};
}

TEST(RecoveryRecord, ComesBackAsItWasWrittenAndDamageIsRefused)
{
    const RecoveryRecord record = sampleRecord(QStringLiteral("本文\n二行目"));
    const QByteArray bytes = editor::encodeRecovery(record);
    const std::optional<RecoveryRecord> back = editor::decodeRecovery(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->fileName, record.fileName);
    EXPECT_EQ(back->title, record.title);
    EXPECT_EQ(back->documentType, 4);
    EXPECT_EQ(back->takenAt, record.takenAt);
    EXPECT_EQ(back->snapshot, record.snapshot);

    // Cut anywhere in its head, or with its head damaged, it is no copy.
    const qsizetype head = bytes.indexOf("\n\n") + 2;
    for (qsizetype length = 0; length <= head; ++length)
        EXPECT_FALSE(editor::decodeRecovery(bytes.left(length))) << length;
    QByteArray badType = bytes;
    badType.replace("type 4", "type x");
    EXPECT_FALSE(editor::decodeRecovery(badType));
    QByteArray longHead = bytes;
    longHead.insert(bytes.indexOf('\n') + 1, "note " + QByteArray(70000, 'x') + '\n');
    EXPECT_FALSE(editor::decodeRecovery(longHead));
    // A line a later version adds is passed over.
    QByteArray later = bytes;
    later.insert(bytes.indexOf('\n') + 1, "zoom 150\n");
    EXPECT_TRUE(editor::decodeRecovery(later));
}

struct Recovery : ::testing::Test {
    editortest::Environment environment;
    editor::uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();

    Recovery()
    {
        editor.cOn(1, 4);
        editor.keepRecoveryCopy(env::gsWrkPh);
    }

    static QStringList copies()
    {
        return QDir(env::gsWrkPh).entryList({QStringLiteral("Recovery-*.fumirec")}, QDir::Files);
    }
    static QStringList locks()
    {
        return QDir(env::gsWrkPh).entryList({QStringLiteral("Recovery-*.lock")}, QDir::Files | QDir::Hidden);
    }
    static std::optional<RecoveryRecord> onlyCopy()
    {
        const QStringList names = copies();
        if (names.size() != 1)
            return std::nullopt;
        QFile file(QDir(env::gsWrkPh).filePath(names.first()));
        return file.open(QIODevice::ReadOnly) ? editor::decodeRecovery(file.readAll()) : std::nullopt;
    }
    // Lets the editor's timers run until a copy is there.
    static bool waitForCopy(int ms = editor::RecoveryKeeper::kSettleMs + 3000)
    {
        const QDeadlineTimer deadline(ms);
        while (copies().isEmpty() && !deadline.hasExpired())
            QTest::qWait(50);
        return !copies().isEmpty();
    }
    void type(const QString& text) { QTest::keyClicks(editor.view(), text); }
    QString saveAs(const QString& name)
    {
        QString path = environment.dir.path(name);
        editor.txSaveAs(path, true);
        return path;
    }
};

TEST_F(Recovery, AnEditIsKeptSoonWithItsFileNameAndTitle)
{
    const QString file = saveAs(QStringLiteral("letter.htm"));
    ASSERT_TRUE(QFileInfo::exists(file));
    editor.setTitle(QStringLiteral("お知らせ"));
    type(QStringLiteral("typed"));
    ASSERT_TRUE(waitForCopy());
    QTest::qWait(200); // the write may still be under way
    const std::optional<RecoveryRecord> copy = onlyCopy();
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->fileName, editor.currentFile());
    EXPECT_EQ(copy->title, QStringLiteral("お知らせ"));
    EXPECT_EQ(copy->documentType, 4);
    engine::TextEngine back;
    ASSERT_TRUE(back.restoreSnapshot(copy->snapshot, 0, 0));
    EXPECT_TRUE(back.plainText().contains(QStringLiteral("typed")));
    EXPECT_EQ(locks().size(), 1);
}

TEST_F(Recovery, ASaveRemovesTheCopy)
{
    type(QStringLiteral("one"));
    ASSERT_TRUE(waitForCopy());
    saveAs(QStringLiteral("saved.htm"));
    QTest::qWait(100);
    EXPECT_TRUE(copies().isEmpty());
}

TEST_F(Recovery, ANewDocumentRemovesTheCopy)
{
    type(QStringLiteral("two"));
    ASSERT_TRUE(waitForCopy());
    environment.dialogs.answer(env::Answer::No); // the edit is not to be saved
    editor.rtAct(2);
    QTest::qWait(100);
    EXPECT_TRUE(copies().isEmpty());
    EXPECT_TRUE(engine.plainText().isEmpty());
}

TEST_F(Recovery, ACleanEndRemovesTheCopyAndItsLock)
{
    type(QStringLiteral("three"));
    ASSERT_TRUE(waitForCopy());
    editor.cOff();
    EXPECT_TRUE(copies().isEmpty());
    EXPECT_TRUE(locks().isEmpty());
}

TEST(RecoveryKeeper, WaitsAMomentAfterAChangeAndKeepsCopiesApart)
{
    testsupport::TempFolder dir;
    int taken = 0;
    editor::RecoveryKeeper keeper(dir.path(), [&]() -> std::optional<RecoveryRecord> {
        ++taken;
        return sampleRecord(QStringLiteral("x"));
    });
    // A coarse timer may be set to fire up to 5 % late.
    const int latest = editor::RecoveryKeeper::kSettleMs * 105 / 100;
    EXPECT_EQ(keeper.msUntilNextCopy(), -1);
    keeper.changed();
    EXPECT_GT(keeper.msUntilNextCopy(), editor::RecoveryKeeper::kSettleMs - 500);
    EXPECT_LE(keeper.msUntilNextCopy(), latest);
    QTest::qWait(300);
    keeper.changed(); // typing on does not put the copy off
    EXPECT_LE(keeper.msUntilNextCopy(), latest - 250);
    QTest::qWait(editor::RecoveryKeeper::kSettleMs);
    keeper.flush();
    EXPECT_EQ(taken, 1);
    EXPECT_TRUE(QFileInfo::exists(keeper.file()));

    keeper.changed();
    EXPECT_GT(keeper.msUntilNextCopy(), editor::RecoveryKeeper::kSpacingMs - 1000);
    keeper.discard();
    keeper.flush();
    EXPECT_EQ(keeper.msUntilNextCopy(), -1);
    EXPECT_FALSE(QFileInfo::exists(keeper.file()));
}

// A copy left by a run that is gone: its lock names a process that no longer runs.
void leaveCopy(const QString& folder, const QString& name, const RecoveryRecord& record)
{
    QFile file(QDir(folder).filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(editor::encodeRecovery(record));
    file.close();
    QFile lock(editor::recoveryLockOf(file.fileName()));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write("999999999\nfumi\n" + QSysInfo::machineHostName().toUtf8() + '\n');
}

TEST_F(Recovery, LeftCopiesAreOfferedNewestFirstAndOnlyWhenTheirRunIsGone)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    leaveCopy(env::gsWrkPh, QStringLiteral("Recovery-1-1-1.fumirec"), sampleRecord(QStringLiteral("older"), now.addSecs(-60)));
    leaveCopy(env::gsWrkPh, QStringLiteral("Recovery-2-2-1.fumirec"), sampleRecord(QStringLiteral("newer"), now));
    // The running editor's own copy is not offered.
    type(QStringLiteral("live"));
    ASSERT_TRUE(QTest::qWaitFor([] { return copies().size() == 3; }, editor::RecoveryKeeper::kSettleMs + 3000));

    environment.dialogs.answer(env::Answer::No);
    environment.dialogs.answer(env::Answer::Yes);
    const std::optional<QString> restored = editor::offerLeftRecoveries(editor, env::gsWrkPh);
    ASSERT_TRUE(restored);
    EXPECT_EQ(*restored, QStringLiteral("/文書/手紙 1%.htm"));
    const QStringList asked = environment.dialogs.messages();
    ASSERT_EQ(asked.size(), 2);
    EXPECT_TRUE(asked[0].startsWith(QStringLiteral("前回保存されなかった文書があります｡復元しますか\n/文書/手紙 1%.htm\n")));
    EXPECT_TRUE(asked[0].endsWith(now.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"))));
    EXPECT_TRUE(engine.plainText().contains(QStringLiteral("older"))) << engine.plainText().toStdString();
    EXPECT_EQ(editor.currentFile(), QStringLiteral("/文書/手紙 1%.htm"));
    EXPECT_EQ(editor.titleBox()->text(), QStringLiteral("題 名"));
    EXPECT_TRUE(editor.bDcEdt());
    // Both left copies are gone: one discarded, one taken. The live one stays.
    EXPECT_FALSE(QFileInfo::exists(QDir(env::gsWrkPh).filePath(QStringLiteral("Recovery-1-1-1.fumirec"))));
    EXPECT_FALSE(QFileInfo::exists(QDir(env::gsWrkPh).filePath(QStringLiteral("Recovery-2-2-1.fumirec"))));
}

TEST_F(Recovery, CancelKeepsACopyForTheNextStartAndADamagedOneIsToldAndRemoved)
{
    leaveCopy(env::gsWrkPh, QStringLiteral("Recovery-3-3-1.fumirec"), sampleRecord(QStringLiteral("kept")));
    QFile damaged(QDir(env::gsWrkPh).filePath(QStringLiteral("Recovery-4-4-1.fumirec")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("FumiRecovery 1\nfile x");
    damaged.close();

    environment.dialogs.answer(env::Answer::Cancel);
    EXPECT_FALSE(editor::offerLeftRecoveries(editor, env::gsWrkPh));
    const QStringList told = environment.dialogs.messages();
    ASSERT_EQ(told.size(), 2);
    EXPECT_TRUE(told.contains(QStringLiteral("前回保存されなかった文書の控えが壊れているため､復元できません｡")));
    EXPECT_EQ(copies(), QStringList{QStringLiteral("Recovery-3-3-1.fumirec")});
    EXPECT_FALSE(editor.bDcEdt());

    // Its lock was given back: it is offered again.
    environment.dialogs.clear();
    environment.dialogs.answer(env::Answer::Cancel);
    editor::offerLeftRecoveries(editor, env::gsWrkPh);
    EXPECT_EQ(environment.dialogs.messages().size(), 1);
}

} // namespace

namespace {

TEST_F(Recovery, ARecoveredDocumentHoldsItsFileAsAnOpenedOneWould)
{
    const QString file = environment.dir.write(QStringLiteral("letter.htm"), "<p>old</p>");
    RecoveryRecord record = sampleRecord(QStringLiteral("recovered"));
    record.fileName = file;
    leaveCopy(env::gsWrkPh, QStringLiteral("Recovery-5-5-1.fumirec"), record);
    environment.dialogs.answer(env::Answer::Yes);
    ASSERT_EQ(editor::offerLeftRecoveries(editor, env::gsWrkPh), file);
    EXPECT_TRUE(QFileInfo::exists(environment.dir.path(QStringLiteral(".~lock.letter.htm#"))));
    editor.cOff();
    EXPECT_FALSE(QFileInfo::exists(environment.dir.path(QStringLiteral(".~lock.letter.htm#"))));
}

} // namespace
