#include "env/replacingfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace env {

namespace {

const QString kScratchPrefix = QStringLiteral(".fumi-part-");
constexpr int kScratchLetters = 6;
// More links in a row than this are taken for a loop.
constexpr int kMaxLinks = 32;

bool isScratchName(const QString& name)
{
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(kScratchPrefix) + QStringLiteral("[A-Za-z0-9]{%1}").arg(kScratchLetters)));
    return pattern.match(name).hasMatch();
}

QString scratchNameIn(const QString& folder)
{
    static const QStringView letters = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString name = folder + u'/' + kScratchPrefix;
    for (int i = 0; i < kScratchLetters; ++i)
        name += letters[QRandomGenerator::global()->bounded(int(letters.size()))];
    return name;
}

// The file a save to `target` writes: the end of its chain of links.
QString followLinks(const QString& target)
{
    QString path = QFileInfo(target).absoluteFilePath();
    for (int hop = 0; hop < kMaxLinks && QFileInfo(path).isSymLink(); ++hop)
        path = QFileInfo(path).symLinkTarget();
    return path;
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

ReplacingFile::ReplacingFile(const QString& target)
    : m_final(followLinks(target))
{
}

ReplacingFile::~ReplacingFile()
{
    discard();
}

bool ReplacingFile::open()
{
    const QFileInfo target(m_final);
    if (target.isSymLink() || target.isDir())
        return false;
    const QString folder = target.absolutePath();
    removeLeftovers(folder);
    // Until the old file's permissions are copied, only its owner may read
    // what is written.
    const QFileDevice::Permissions permissions = target.exists()
        ? QFileDevice::ReadOwner | QFileDevice::WriteOwner
        : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::WriteGroup
            | QFileDevice::ReadOther | QFileDevice::WriteOther;
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_scratch.setFileName(scratchNameIn(folder));
        if (m_scratch.open(QIODevice::WriteOnly | QIODevice::NewOnly, permissions))
            break;
        if (!QFileInfo::exists(m_scratch.fileName()))
            break; // not a name taken: the folder takes no new file
    }
    if (m_scratch.isOpen() && ::flock(m_scratch.handle(), LOCK_EX) == 0)
        return true;
    discard();
    return false;
}

bool ReplacingFile::commit()
{
    const QFileInfo target(m_final);
    const bool written = m_scratch.isOpen() && m_scratch.flush() && m_scratch.error() == QFileDevice::NoError
        && !m_scratch.shortened()
        && ::fsync(m_scratch.handle()) == 0
        && (!target.exists() || m_scratch.setPermissions(target.permissions()));
    if (!written || ::rename(QFile::encodeName(m_scratch.fileName()).constData(),
                             QFile::encodeName(m_final).constData()) != 0) {
        discard();
        return false;
    }
    m_scratch.close();
    m_scratch.setFileName({});
    // The rename itself reaches the disk with the folder.
    syncFolder(target.absolutePath());
    return true;
}

void ReplacingFile::discard()
{
    // Removed while still locked, so that no other instance takes it meanwhile.
    if (m_scratch.isOpen())
        QFile::remove(m_scratch.fileName());
    m_scratch.close();
    m_scratch.setFileName({});
}

qint64 ReplacingFile::Scratch::writeData(const char* data, qint64 size)
{
    const qint64 written = QFile::writeData(data, size);
    m_shortened = m_shortened || written != size;
    return written;
}

void ReplacingFile::removeLeftovers(const QString& folder)
{
    const QDir dir(folder);
    for (const QString& name : dir.entryList({kScratchPrefix + u'*'}, QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        if (!isScratchName(name))
            continue;
        QFile scratch(dir.filePath(name));
        if (scratch.open(QIODevice::ReadOnly) && ::flock(scratch.handle(), LOCK_EX | LOCK_NB) == 0)
            QFile::remove(scratch.fileName());
    }
}

} // namespace env
