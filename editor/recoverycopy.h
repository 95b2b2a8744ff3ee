#pragma once
// The recovery copy: what the editor keeps in the work folder of a document
// being edited, so that an edit never saved survives the program's end by a
// crash or a power cut. Each running copy of the program keeps one file,
// locked while it runs; a file whose lock nobody holds was left behind.
//
// The file is a short text head (the document's file name, title, type and
// the time of the copy) and the document in the engine's snapshot format.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QLockFile>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace editor {

struct RecoveryRecord {
    QString fileName; // the document's own file; "" for a document never saved
    QString title;
    int documentType = 0;
    QDateTime takenAt;
    QByteArray snapshot;

    bool operator==(const RecoveryRecord&) const = default;
};

QByteArray encodeRecovery(const RecoveryRecord& record);
// Null for bytes that are not a whole recovery copy (cut short, damaged).
std::optional<RecoveryRecord> decodeRecovery(const QByteArray& bytes);

// A name for a recovery copy of this run in `workFolder`, new at each call.
QString recoveryFileFor(const QString& workFolder);
// Where the lock of recovery copy `file` lives.
QString recoveryLockOf(const QString& file);

// A copy left behind by a run that ended without removing it. Its lock is
// held while the object lives, so that a second copy of the program starting
// meanwhile does not offer it too.
struct LeftRecovery {
    QString file;
    std::unique_ptr<QLockFile> lock;
    std::optional<RecoveryRecord> record; // null when it cannot be read

    // Removes the file and its lock.
    void discard();
};

// The copies in `workFolder` that no running program holds, newest first.
std::vector<LeftRecovery> leftRecoveries(const QString& workFolder);

} // namespace editor
