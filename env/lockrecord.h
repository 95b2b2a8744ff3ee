#pragma once
// LockRecord: the one line an office program leaves beside a document it has
// open, in the form LibreOffice writes and reads (".~lock.NAME#": comma-
// separated fields, a backslash before any comma, semicolon or backslash
// inside a field, a semicolon at the end). Fumi writes the same form, so
// that LibreOffice sees Fumi holding a document, and puts its process id in
// the last field, where LibreOffice keeps its profile's address, so that a
// lock left by a Fumi that ended without removing it can be told.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

namespace env {

struct LockRecord {
    QString name;  // the user's name as the office program knows it; often ""
    QString user;  // the login name
    QString host;
    QString when;  // "DD.MM.YYYY HH:MM", local time
    QString owner; // LibreOffice: its profile's address; Fumi: "Fumi:" and its process id

    // The record of `bytes`; nullopt for bytes that are no lock record (too
    // long, not UTF-8, fewer than four fields, or no closing semicolon).
    static std::optional<LockRecord> parse(const QByteArray& bytes);
    // Fumi's record for this process, this user and this host, written now.
    static LockRecord ofThisProcess();
    QByteArray bytes() const;

    // The process id of the Fumi that wrote the record; nullopt for a record
    // another program wrote.
    std::optional<qint64> fumiProcess() const;
    // The name to show: the office program's, else the login name.
    QString holderName() const;
    // The time written, invalid when it cannot be read.
    QDateTime time() const;
};

} // namespace env
