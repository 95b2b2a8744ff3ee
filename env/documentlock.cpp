#include "env/documentlock.h"

#include "env/lockrecord.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSysInfo>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace env {

namespace {

// More than any lock record: a larger file is no lock of an office program.
constexpr qint64 kMaxLockBytes = 64 * 1024;

// The lock file's bytes, read without following a symbolic link and without
// waiting on a FIFO or a device; nullopt unless it is a regular file of a
// lock's size.
std::optional<QByteArray> lockBytes(const QString& lockFile)
{
    const int fd = ::open(QFile::encodeName(lockFile).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat status {};
    std::optional<QByteArray> bytes;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size <= kMaxLockBytes) {
        QByteArray buffer(qsizetype(status.st_size), '\0');
        const ssize_t got = ::read(fd, buffer.data(), size_t(buffer.size()));
        if (got == ssize_t(buffer.size()))
            bytes = buffer;
    }
    ::close(fd);
    return bytes;
}

bool processRuns(qint64 pid)
{
    if (pid <= 0 || pid > INT_MAX)
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

bool isStale(const LockRecord& record)
{
    const std::optional<qint64> pid = record.fumiProcess();
    return pid && record.host == QSysInfo::machineHostName() && !processRuns(*pid);
}

LockHolder holderOf(const LockRecord& record)
{
    QString who = record.holderName();
    if (!record.host.isEmpty() && record.host != QSysInfo::machineHostName())
        who += u'@' + record.host;
    return {who, record.time()};
}

} // namespace

DocumentLock::~DocumentLock()
{
    release();
}

QString DocumentLock::lockFileOf(const QString& document)
{
    const QFileInfo info(document);
    return info.absolutePath() + QStringLiteral("/.~lock.") + info.fileName() + u'#';
}

std::optional<LockHolder> DocumentLock::otherHolder(const QString& document) const
{
    const QString lockFile = lockFileOf(document);
    const QFileInfo info(lockFile);
    if (!info.isSymLink() && !info.exists())
        return std::nullopt;
    if (isOwnLock(lockFile))
        return std::nullopt;
    const std::optional<QByteArray> bytes = lockBytes(lockFile);
    const std::optional<LockRecord> record = bytes ? LockRecord::parse(*bytes) : std::nullopt;
    if (!record)
        return LockHolder{};
    if (isStale(*record))
        return std::nullopt;
    return holderOf(*record);
}

bool DocumentLock::acquire(const QString& document)
{
    const QString lockFile = lockFileOf(document);
    if (isOwnLock(lockFile))
        return true;
    release();
    // QSaveFile writes to the target of a symbolic link; a link named like
    // the lock must not send the lock anywhere else.
    if (otherHolder(document) || QFileInfo(lockFile).isSymLink())
        return false;
    const QByteArray bytes = LockRecord::ofThisProcess().bytes();
    QSaveFile file(lockFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return false;
    m_document = QFileInfo(document).absoluteFilePath();
    m_lockFile = lockFile;
    m_written = bytes;
    return true;
}

void DocumentLock::release()
{
    if (isOwnLock(m_lockFile))
        QFile::remove(m_lockFile);
    m_document.clear();
    m_lockFile.clear();
    m_written.clear();
}

// The lock file is the one this object wrote: same place, same bytes. One
// another program wrote over it since is theirs.
bool DocumentLock::isOwnLock(const QString& lockFile) const
{
    if (m_lockFile.isEmpty() || lockFile != m_lockFile)
        return false;
    const std::optional<QByteArray> bytes = lockBytes(lockFile);
    return bytes && *bytes == m_written;
}

} // namespace env
