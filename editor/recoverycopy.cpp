#include "editor/recoverycopy.h"

#include "engine/filebytes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QUrl>

#include <algorithm>
#include <atomic>

namespace editor {

namespace {

const QByteArray kMagic = QByteArrayLiteral("FumiRecovery 1\n");
const QString kPrefix = QStringLiteral("Recovery-");
const QString kSuffix = QStringLiteral(".fumirec");
// The head is a few short lines; anything longer is not one of ours.
constexpr qsizetype kLongestHead = 64 * 1024;
// A snapshot of the largest document the engine accepts, and its head.
constexpr qint64 kLargestCopy = qint64(1024) * 1024 * 1024 + kLongestHead;

QByteArray line(const char* key, const QString& value)
{
    return QByteArray(key) + ' ' + QUrl::toPercentEncoding(value) + '\n';
}

QString valueOf(const QByteArray& line, const QByteArray& key)
{
    return QUrl::fromPercentEncoding(line.mid(key.size() + 1));
}

bool readHeadLine(const QByteArray& text, RecoveryRecord& record)
{
    const qsizetype space = text.indexOf(' ');
    const QByteArray key = text.left(space);
    if (space < 0)
        return false;
    if (key == "file")
        record.fileName = valueOf(text, key);
    else if (key == "title")
        record.title = valueOf(text, key);
    else if (key == "type") {
        bool ok = false;
        record.documentType = text.mid(space + 1).toInt(&ok);
        return ok;
    } else if (key == "time") {
        record.takenAt = QDateTime::fromString(valueOf(text, key), Qt::ISODateWithMs);
        return record.takenAt.isValid();
    }
    return true; // a later version's line is no reason to lose the document
}

} // namespace

QByteArray encodeRecovery(const RecoveryRecord& record)
{
    QByteArray bytes = kMagic;
    bytes += line("file", record.fileName);
    bytes += line("title", record.title);
    bytes += "type " + QByteArray::number(record.documentType) + '\n';
    bytes += line("time", record.takenAt.toUTC().toString(Qt::ISODateWithMs));
    bytes += '\n';
    bytes += record.snapshot;
    return bytes;
}

std::optional<RecoveryRecord> decodeRecovery(const QByteArray& bytes)
{
    if (!bytes.startsWith(kMagic))
        return std::nullopt;
    const qsizetype end = bytes.indexOf("\n\n", kMagic.size() - 1);
    if (end < 0 || end > kLongestHead)
        return std::nullopt;
    RecoveryRecord record;
    const QByteArray head = bytes.mid(kMagic.size(), end - kMagic.size() + 1);
    for (const QByteArray& text : head.split('\n')) {
        if (!text.isEmpty() && !readHeadLine(text, record))
            return std::nullopt;
    }
    record.snapshot = bytes.mid(end + 2);
    if (!record.takenAt.isValid() || record.snapshot.isEmpty())
        return std::nullopt;
    return record;
}

QString recoveryFileFor(const QString& workFolder)
{
    // The start time too, since a process id comes back after a while, and
    // a count for the editors of one run.
    static const qint64 started = QDateTime::currentMSecsSinceEpoch();
    static std::atomic<int> editors = 0;
    return QDir(workFolder).filePath(kPrefix + QString::number(QCoreApplication::applicationPid()) + u'-'
                                     + QString::number(started) + u'-' + QString::number(++editors) + kSuffix);
}

QString recoveryLockOf(const QString& file)
{
    return file + QStringLiteral(".lock");
}

void LeftRecovery::discard()
{
    QFile::remove(file);
    if (lock)
        lock->unlock();
}

std::vector<LeftRecovery> leftRecoveries(const QString& workFolder)
{
    std::vector<LeftRecovery> left;
    const QDir folder(workFolder);
    for (const QString& name : folder.entryList({kPrefix + u'*' + kSuffix}, QDir::Files)) {
        LeftRecovery copy{folder.filePath(name), nullptr, std::nullopt};
        copy.lock = std::make_unique<QLockFile>(recoveryLockOf(copy.file));
        if (!copy.lock->tryLock(0))
            continue; // its program still runs
        QFile file(copy.file);
        if (file.open(QIODevice::ReadOnly)) {
            if (const std::optional<QByteArray> bytes = engine::readFileBytes(file, kLargestCopy))
                copy.record = decodeRecovery(*bytes);
        }
        left.push_back(std::move(copy));
    }
    std::sort(left.begin(), left.end(), [](const LeftRecovery& a, const LeftRecovery& b) {
        const QDateTime first = a.record ? a.record->takenAt : QDateTime();
        const QDateTime second = b.record ? b.record->takenAt : QDateTime();
        return first > second;
    });
    return left;
}

} // namespace editor
