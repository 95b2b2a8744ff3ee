#include "env/documentlock.h"
#include "env/lockrecord.h"
#include "testsupport/faults.h"
#include "testsupport/tempfolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

using env::DocumentLock;
using env::LockRecord;

namespace {

// As LibreOffice leaves it beside a document it has open: no name of its
// own for the user, the login name, the host, the time, its profile.
const QByteArray kLibreOfficeLock = ",jdoe,office-pc,09.12.2026 07:13,file:///home/jdoe/.config/libreoffice/4;";

struct DocumentLocks : ::testing::Test {
    testsupport::TempFolder dir;
    QString document = dir.write(QStringLiteral("報告書.docx"), "content");
    QString lockFile = dir.path(QStringLiteral(".~lock.報告書.docx#"));

    QByteArray lockBytes() const { return dir.read(QStringLiteral(".~lock.報告書.docx#")); }
    void writeLock(const QByteArray& bytes) const { dir.write(QStringLiteral(".~lock.報告書.docx#"), bytes); }
};

// The id of a process that has ended.
qint64 endedProcess()
{
    QProcess process;
    process.start(QStringLiteral("true"), {});
    EXPECT_TRUE(process.waitForStarted());
    const qint64 pid = process.processId();
    EXPECT_TRUE(process.waitForFinished());
    return pid;
}

} // namespace

TEST(LockRecords, LibreOfficesLineIsReadFieldByField)
{
    const std::optional<LockRecord> record = LockRecord::parse(kLibreOfficeLock);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->name, QString());
    EXPECT_EQ(record->holderName(), QStringLiteral("jdoe"));
    EXPECT_EQ(record->host, QStringLiteral("office-pc"));
    EXPECT_EQ(record->time(), QDateTime(QDate(2026, 12, 9), QTime(7, 13)));
    EXPECT_EQ(record->owner, QStringLiteral("file:///home/jdoe/.config/libreoffice/4"));
    EXPECT_FALSE(record->fumiProcess());

    const std::optional<LockRecord> named = LockRecord::parse(QStringLiteral("山田 太郎,yamada,pc,1.2.2026 9:05,x;\n").toUtf8());
    ASSERT_TRUE(named);
    EXPECT_EQ(named->holderName(), QStringLiteral("山田 太郎"));
}

TEST(LockRecords, EscapedSeparatorsSurviveARoundTrip)
{
    const LockRecord record{QStringLiteral("a,b;c\\d"), QStringLiteral("u"), QStringLiteral("h"),
                            QStringLiteral("01.02.2026 03:04"), QStringLiteral("Fumi:42")};
    EXPECT_EQ(record.bytes(), QByteArray("a\\,b\\;c\\\\d,u,h,01.02.2026 03:04,Fumi:42;"));
    const std::optional<LockRecord> back = LockRecord::parse(record.bytes());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->name, record.name);
    EXPECT_EQ(back->fumiProcess(), 42);
}

TEST(LockRecords, BytesThatAreNoRecordAreRefused)
{
    const QByteArray rows[] = {
        QByteArray(),
        QByteArray(",jdoe,pc,01.02.2026 03:04,x"),  // no closing semicolon
        QByteArray(",jdoe,pc;"),                    // too few fields
        QByteArray(",j\xff\xfe,pc,t,x;"),           // not UTF-8
        QByteArray(70000, ',') + ';',               // far too long
    };
    for (const QByteArray& bytes : rows)
        EXPECT_FALSE(LockRecord::parse(bytes)) << bytes.left(40).toStdString();
    EXPECT_FALSE(LockRecord::parse(",u,h,t,Fumi:0;")->fumiProcess());
    EXPECT_FALSE(LockRecord::parse(",u,h,t,Fumi:-3;")->fumiProcess());
}

TEST(LockRecords, ThisProcessesRecordNamesItsHostAndProcess)
{
    const LockRecord record = LockRecord::ofThisProcess();
    EXPECT_EQ(record.host, QSysInfo::machineHostName());
    EXPECT_FALSE(record.user.isEmpty());
    EXPECT_EQ(record.fumiProcess(), QCoreApplication::applicationPid());
    EXPECT_TRUE(record.time().isValid());
}

TEST_F(DocumentLocks, TheLockFileStandsBesideTheDocumentUnderLibreOfficesName)
{
    DocumentLock lock;
    EXPECT_FALSE(lock.otherHolder(document));
    ASSERT_TRUE(lock.acquire(document));
    EXPECT_EQ(DocumentLock::lockFileOf(document), lockFile);
    EXPECT_EQ(lock.document(), document);
    const std::optional<LockRecord> written = LockRecord::parse(lockBytes());
    ASSERT_TRUE(written);
    EXPECT_EQ(written->fumiProcess(), QCoreApplication::applicationPid());
    EXPECT_FALSE(lock.otherHolder(document)) << "its own lock holds nothing against it";
    EXPECT_TRUE(lock.acquire(document)) << "taking it again keeps it";
    lock.release();
    EXPECT_FALSE(QFile::exists(lockFile));
    EXPECT_TRUE(lock.document().isEmpty());
}

TEST_F(DocumentLocks, TwoHoldersSeeEachOther)
{
    DocumentLock first;
    DocumentLock second;
    ASSERT_TRUE(first.acquire(document));
    const QByteArray held = lockBytes();
    const std::optional<env::LockHolder> holder = second.otherHolder(document);
    ASSERT_TRUE(holder);
    EXPECT_EQ(holder->who, LockRecord::ofThisProcess().user);
    EXPECT_TRUE(holder->when.isValid());
    EXPECT_FALSE(second.acquire(document));
    second.release();
    EXPECT_EQ(lockBytes(), held) << "the second never touched the first's lock";
    first.release();
    EXPECT_TRUE(second.acquire(document));
}

TEST_F(DocumentLocks, LibreOfficesLockHoldsTheDocumentAndStaysWhereItIs)
{
    writeLock(kLibreOfficeLock);
    DocumentLock lock;
    const std::optional<env::LockHolder> holder = lock.otherHolder(document);
    ASSERT_TRUE(holder);
    EXPECT_EQ(holder->who, QStringLiteral("jdoe@office-pc"));
    EXPECT_EQ(holder->when, QDateTime(QDate(2026, 12, 9), QTime(7, 13)));
    EXPECT_FALSE(lock.acquire(document));
    lock.release();
    EXPECT_EQ(lockBytes(), kLibreOfficeLock);
}

TEST_F(DocumentLocks, AStaleLockOfAnEndedFumiOnThisHostIsReplaced)
{
    LockRecord stale = LockRecord::ofThisProcess();
    stale.owner = QStringLiteral("Fumi:") + QString::number(endedProcess());
    writeLock(stale.bytes());
    DocumentLock lock;
    EXPECT_FALSE(lock.otherHolder(document));
    ASSERT_TRUE(lock.acquire(document));
    EXPECT_EQ(LockRecord::parse(lockBytes())->fumiProcess(), QCoreApplication::applicationPid());

    // The same process id on another host may well be running there.
    lock.release();
    stale.host = QStringLiteral("elsewhere");
    writeLock(stale.bytes());
    EXPECT_TRUE(lock.otherHolder(document));
}

TEST_F(DocumentLocks, ALockAnotherWroteOverOursIsNotRemoved)
{
    DocumentLock lock;
    ASSERT_TRUE(lock.acquire(document));
    writeLock(kLibreOfficeLock);
    EXPECT_TRUE(lock.otherHolder(document));
    lock.release();
    EXPECT_EQ(lockBytes(), kLibreOfficeLock);
}

TEST_F(DocumentLocks, TakingAnotherDocumentGivesUpTheFirstAndTheEndGivesUpAll)
{
    const QString other = dir.write(QStringLiteral("other.txt"), "x");
    {
        DocumentLock lock;
        ASSERT_TRUE(lock.acquire(document));
        ASSERT_TRUE(lock.acquire(other));
        EXPECT_FALSE(QFile::exists(lockFile));
        EXPECT_TRUE(QFile::exists(dir.path(QStringLiteral(".~lock.other.txt#"))));
    }
    EXPECT_FALSE(QFile::exists(dir.path(QStringLiteral(".~lock.other.txt#"))));
}

TEST_F(DocumentLocks, ALinkNamedLikeTheLockIsNeitherFollowedNorRemoved)
{
    const QString target = dir.write(QStringLiteral("elsewhere/precious"), "keep me");
    ASSERT_TRUE(QFile::link(target, lockFile));
    DocumentLock lock;
    const std::optional<env::LockHolder> holder = lock.otherHolder(document);
    ASSERT_TRUE(holder) << "a link is no lock of ours";
    EXPECT_TRUE(holder->who.isEmpty());
    EXPECT_FALSE(lock.acquire(document));
    lock.release();
    EXPECT_EQ(dir.read(QStringLiteral("elsewhere/precious")), QByteArray("keep me"));
    EXPECT_TRUE(QFileInfo(lockFile).isSymLink());

    QFile::remove(lockFile);   // a dangling link is refused as well
    ASSERT_TRUE(QFile::link(dir.path(QStringLiteral("elsewhere/none")), lockFile));
    EXPECT_FALSE(lock.acquire(document));
    EXPECT_FALSE(QFile::exists(dir.path(QStringLiteral("elsewhere/none"))));
}

TEST_F(DocumentLocks, UnreadableOrDamagedLocksHoldTheDocumentForSomeoneUnknown)
{
    for (const QByteArray& bytes : {QByteArray("garbage"), QByteArray(100000, 'x')}) {
        writeLock(bytes);
        DocumentLock lock;
        const std::optional<env::LockHolder> holder = lock.otherHolder(document);
        ASSERT_TRUE(holder);
        EXPECT_TRUE(holder->who.isEmpty());
        EXPECT_FALSE(lock.acquire(document));
        EXPECT_EQ(lockBytes(), bytes);
    }
    QFile::remove(lockFile);
    ASSERT_EQ(::mkfifo(QFile::encodeName(lockFile).constData(), 0600), 0);
    DocumentLock lock;
    EXPECT_TRUE(lock.otherHolder(document)) << "a FIFO is read without waiting";
}

TEST_F(DocumentLocks, AFolderThatCannotBeWrittenGivesNoLock)
{
    const QString inside = dir.write(QStringLiteral("ro/doc.txt"), "x");
    bool acquired = true;
    DocumentLock lock;
    {
        const testsupport::ReadOnlyFolder readOnly(dir.path(QStringLiteral("ro")));
        if (!readOnly.engaged())
            GTEST_SKIP() << "neither permission bits nor a read-only bind mount stop this process writing";
        acquired = lock.acquire(inside);
    }
    EXPECT_FALSE(acquired);
    EXPECT_TRUE(lock.document().isEmpty());
    EXPECT_FALSE(QFile::exists(DocumentLock::lockFileOf(inside)));
}
