#include "browser/filetransfer.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <filesystem>
#include <system_error>

namespace browser {

namespace {

constexpr qint64 kChunk = 1024 * 1024;
constexpr QDir::Filters kEverything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

std::filesystem::path nativePath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// A rename in place: replaces an existing target file. Fails across file systems.
bool renameInPlace(const QString& source, const QString& target)
{
    std::error_code error;
    std::filesystem::rename(nativePath(source), nativePath(target), error);
    return !error;
}

bool removeEntry(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        return QDir(path).removeRecursively();
    return QFile::remove(path);
}

bool exists(const QFileInfo& info) { return info.exists() || info.isSymLink(); }

} // namespace

FileTransfer::FileTransfer(Step step) : m_step(std::move(step)) {}

bool FileTransfer::copy(const QString& source, const QString& target)
{
    return copyEntry(source, target, 0);
}

bool FileTransfer::move(const QString& source, const QString& target)
{
    return moveEntry(source, target, 0);
}

int FileTransfer::countFiles(const QString& path, int limit)
{
    const QFileInfo info(path);
    if (!info.isDir() || info.isSymLink())
        return 1;
    int count = 0;
    QDirIterator it(path, kEverything, QDirIterator::Subdirectories);
    while (it.hasNext() && count < limit) {
        it.next();
        if (!it.fileInfo().isDir() || it.fileInfo().isSymLink())
            ++count;
    }
    return count;
}

bool FileTransfer::step(const QString& source)
{
    if (!m_stopped && m_step && !m_step(source))
        m_stopped = true;
    return !m_stopped;
}

bool FileTransfer::fail(const QString& source)
{
    m_failures << source;
    return false;
}

bool FileTransfer::copyEntry(const QString& source, const QString& target, int depth)
{
    const QFileInfo info(source);
    if (!exists(info))
        return fail(source);
    if (info.isSymLink()) {
        if (!step(source))
            return false;
        const QFileInfo existing(target);
        if (exists(existing) && (existing.isDir() && !existing.isSymLink()))
            return fail(source);
        if (exists(existing))
            QFile::remove(target);
        return QFile::link(info.symLinkTarget(), target) || fail(source);
    }
    if (info.isDir())
        return copyFolder(source, target, depth);
    if (!step(source))
        return false;
    return copyFile(source, target) || fail(source);
}

bool FileTransfer::copyFile(const QString& source, const QString& target)
{
    if (QFileInfo(target).isDir())
        return false;
    QFile in(source);
    QSaveFile out(target);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(kChunk);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            return false;   // QSaveFile discards the partial file
        if (out.write(chunk) != chunk.size())
            return false;
    }
    if (!out.commit())
        return false;
    QFile::setPermissions(target, in.permissions());
    return true;
}

bool FileTransfer::copyFolder(const QString& source, const QString& target, int depth)
{
    if (depth >= kMaxDepth)
        return fail(source);
    const QFileInfo existing(target);
    if (exists(existing) && !existing.isDir())
        return fail(source);
    if (!existing.isDir() && !QDir().mkdir(target))
        return fail(source);
    return eachChild(source, target, depth, &FileTransfer::copyEntry);
}

bool FileTransfer::moveEntry(const QString& source, const QString& target, int depth)
{
    const QFileInfo info(source);
    if (!exists(info))
        return fail(source);
    const QFileInfo existing(target);
    const bool sourceIsFolder = info.isDir() && !info.isSymLink();
    const bool targetIsFolder = existing.isDir() && !existing.isSymLink();
    if (sourceIsFolder && targetIsFolder)
        return mergeFolder(source, target, depth);
    if (exists(existing) && sourceIsFolder != targetIsFolder)
        return fail(source);
    if (renameInPlace(source, target)) {
        if (!sourceIsFolder)
            step(source);   // for the progress only: the file has moved either way
        return true;
    }
    // Another file system: copy completely, then remove the source.
    const qsizetype failuresBefore = m_failures.size();
    if (!copyEntry(source, target, depth) || m_failures.size() != failuresBefore)
        return false;
    return removeEntry(source) || fail(source);
}

bool FileTransfer::mergeFolder(const QString& source, const QString& target, int depth)
{
    if (depth >= kMaxDepth)
        return fail(source);
    const bool ok = eachChild(source, target, depth, &FileTransfer::moveEntry);
    if (ok)
        QDir().rmdir(source);
    return ok;
}

bool FileTransfer::eachChild(const QString& source, const QString& target, int depth, EntryWork work)
{
    bool ok = true;
    QDirIterator it(source, kEverything);
    while (it.hasNext() && !m_stopped) {
        it.next();
        ok = (this->*work)(it.filePath(), target + u'/' + it.fileName(), depth + 1) && ok;
    }
    return ok && !m_stopped;
}

} // namespace browser
