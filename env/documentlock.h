#pragma once
// DocumentLock: the lock one open document holds on its file — the lock
// file ".~lock.NAME#" beside it, in LibreOffice's form (LockRecord), so that
// Fumi and LibreOffice each see the other holding a document. A lock that a
// Fumi on this host left behind when it ended without removing it (its
// process is gone) is stale: it holds nothing and is replaced without a word.
// The lock file is written atomically, never through a symbolic link, and
// only a lock this object wrote is ever removed.

#include <QDateTime>
#include <QString>
#include <QByteArray>
#include <optional>

namespace env {

// Who has a document open, as the user is told.
struct LockHolder {
    QString who;    // "" when the lock does not say
    QDateTime when; // invalid when the lock does not say
};

class DocumentLock {
public:
    DocumentLock() = default;
    ~DocumentLock();
    DocumentLock(const DocumentLock&) = delete;
    DocumentLock& operator=(const DocumentLock&) = delete;

    static QString lockFileOf(const QString& document);

    // Who else has `document` open: nullopt when nobody does (no lock file,
    // this object's own, or a stale one). A lock file that cannot be read
    // or is a symbolic link still holds the document, for a holder unknown.
    std::optional<LockHolder> otherHolder(const QString& document) const;
    // Takes the lock on `document`, after giving up the one held on another.
    // False, and nothing written, when another holds it or its lock file
    // cannot be written.
    bool acquire(const QString& document);
    // Removes this object's lock file, if it is still the one it wrote.
    void release();
    // The document whose lock is held; "" when none.
    const QString& document() const { return m_document; }

private:
    bool isOwnLock(const QString& lockFile) const;

    QString m_document;
    QString m_lockFile;
    QByteArray m_written;
};

} // namespace env
