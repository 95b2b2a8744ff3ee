#include "testsupport/faults.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <csignal>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace testsupport {

namespace {

constexpr qint64 kPage = 4096;

struct ChildRun {
    ChildEnd end;
    std::chrono::microseconds elapsed;
};

// The child tells through a pipe when it begins, so that the delay counts
// from the save and not from the fork.
ChildRun runInChild(const std::function<bool()>& save, std::optional<std::chrono::microseconds> killAfter)
{
    int started[2];
    if (::pipe(started) != 0)
        return {ChildEnd::Failed, {}};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(started[0]);
        const char go = 1;
        const bool told = ::write(started[1], &go, 1) == 1;
        ::_exit(told && save() ? 0 : 1);
    }
    ::close(started[1]);
    char go = 0;
    const bool began = child > 0 && ::read(started[0], &go, 1) == 1;
    ::close(started[0]);
    const auto start = std::chrono::steady_clock::now();
    if (began && killAfter) {
        std::this_thread::sleep_for(*killAfter);
        ::kill(child, SIGKILL); // a child that ended already is a zombie until waited for
    }
    int status = 0;
    if (child <= 0 || ::waitpid(child, &status, 0) != child)
        return {ChildEnd::Failed, {}};
    const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        return {ChildEnd::Killed, elapsed};
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ChildEnd::Finished : ChildEnd::Failed, elapsed};
}

bool permissionsStopWrites(const QString& folder)
{
    QFile probe(folder + QStringLiteral("/.write-probe"));
    if (!probe.open(QIODevice::WriteOnly))
        return true;
    probe.remove();
    return false;
}

// The superuser's right to write whatever the permission bits say, for the
// calling thread only.
bool setDacOverride(bool on)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    constexpr quint32 bit = 1u << CAP_DAC_OVERRIDE;
    data[0].effective = on ? data[0].effective | bit : data[0].effective & ~bit;
    return ::syscall(SYS_capset, &header, data) == 0;
}

constexpr QFileDevice::Permissions kReadOnlyFolder = QFileDevice::ReadOwner | QFileDevice::ExeOwner
    | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;

} // namespace

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &m_previous);
    rlimit limit = m_previous;
    limit.rlim_cur = rlim_t(bytes);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    ::setrlimit(RLIMIT_FSIZE, &m_previous);
    std::signal(SIGXFSZ, m_previousHandler);
}

FullDisk::FullDisk(const QString& mountPoint)
    : m_mountPoint(mountPoint)
{
    QDir().mkpath(mountPoint);
    m_mounted = ::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=4m")
        == 0;
    QDir().mkpath(documents());
}

FullDisk::~FullDisk()
{
    m_limit.reset();
    if (m_mounted)
        ::umount2(QFile::encodeName(m_mountPoint).constData(), MNT_DETACH);
}

QString FullDisk::documents() const
{
    return m_mountPoint + QStringLiteral("/docs");
}

void FullDisk::fillLeaving(qint64 room)
{
    if (!m_mounted) {
        m_limit.emplace(room);
        return;
    }
    QFile filler(m_mountPoint + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray block(kPage, 'f');
    while (filler.write(block) == block.size()) {
    }
    const qint64 freed = (room + kPage - 1) / kPage * kPage;
    filler.resize(std::max<qint64>(0, filler.size() - freed));
}

ReadOnlyFolder::ReadOnlyFolder(const QString& folder)
    : m_folder(folder)
    , m_permissions(QFile::permissions(folder))
{
    QFile::setPermissions(folder, kReadOnlyFolder);
    if (permissionsStopWrites(folder)) {
        m_how = How::Permissions;
        return;
    }
    QFile::setPermissions(folder, m_permissions);
    const QByteArray path = QFile::encodeName(folder);
    if (::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) == 0) {
        if (::mount(nullptr, path.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0
            && permissionsStopWrites(folder)) {
            m_how = How::BindMount;
            return;
        }
        ::umount2(path.constData(), MNT_DETACH);
    }
    QFile::setPermissions(folder, kReadOnlyFolder);
    if (setDacOverride(false) && permissionsStopWrites(folder)) {
        m_how = How::WithoutOverride;
        return;
    }
    setDacOverride(true);
    QFile::setPermissions(folder, m_permissions);
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (m_how == How::WithoutOverride)
        setDacOverride(true);
    if (m_how == How::Permissions || m_how == How::WithoutOverride)
        QFile::setPermissions(m_folder, m_permissions);
    else if (m_how == How::BindMount)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}

ChildEnd saveInChild(const std::function<bool()>& save, std::chrono::microseconds delay)
{
    return runInChild(save, delay).end;
}

std::optional<std::chrono::microseconds> saveDurationInChild(const std::function<bool()>& save)
{
    const ChildRun run = runInChild(save, std::nullopt);
    if (run.end != ChildEnd::Finished)
        return std::nullopt;
    return run.elapsed;
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray withoutPdfDates(const QByteArray& bytes)
{
    static const QRegularExpression date(QStringLiteral("\\(D:[0-9+\\-Z']*\\)"));
    return QString::fromLatin1(bytes).replace(date, QStringLiteral("(D:)")).toLatin1();
}

} // namespace testsupport
