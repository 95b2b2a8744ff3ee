#pragma once
// The container of a Word document (Office Open XML, ISO/IEC 29500, both the
// transitional and the strict flavour): the zip archive, its content types
// and the relationships between its parts. The part readers see only named
// parts and resolved relationships, never the zip.
//
// Supported: stored and deflated entries, [Content_Types].xml (defaults and
// overrides), package and part relationships with internal and external
// targets. Refused: archives that are damaged or not zip at all, password-
// protected documents (an OLE compound file holding an EncryptedPackage),
// archives past the limits below (zip bombs), internal relationships whose
// target lies outside the package. Not read: digital signatures, custom XML.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace formats::docx {

enum class PackageFailure {
    None,
    NotAPackage, // damaged zip, or no zip at all
    Encrypted,   // password-protected document
    TooLarge,    // past PackageLimits
    MissingPart, // no main document, or a part it needs is not there
    Malformed,   // a part the document needs is not well-formed XML
    TooDeep,     // elements nested past what the readers follow
};

struct PackageLimits {
    qint64 totalBytes = qint64(512) * 1024 * 1024; // all parts read, uncompressed
    qint64 partBytes = qint64(128) * 1024 * 1024;  // one part, uncompressed
    qint64 entries = 20000;
};

struct Relationship {
    QString id;
    QString type;   // the type address, as written
    QString target; // internal: the part name ("word/media/a.png"); external: the address
    bool external = false;

    // The last segment of the type ("officeDocument", "image", "hyperlink"),
    // alike in both flavours.
    QString kind() const;
};

class Package {
public:
    Package();
    ~Package();
    Package(Package&&) noexcept;
    Package& operator=(Package&&) noexcept;

    // Opens `bytes`; the package keeps its own copy of them.
    PackageFailure open(const QByteArray& bytes, const PackageLimits& limits = {});

    bool hasPart(const QString& name) const;
    // The uncompressed bytes of a part; nullopt when it is missing, damaged
    // or past the limits (then failure() says TooLarge).
    std::optional<QByteArray> part(const QString& name);
    QString contentType(const QString& name) const;

    // The relationships of a part ("" for the package's own), internal targets
    // resolved against the part's folder; those pointing outside are left out.
    const std::vector<Relationship>& relationships(const QString& partName);
    std::optional<Relationship> relationship(const QString& partName, const QString& id);
    // The target of the first relationship of `kind` from `partName`.
    std::optional<QString> targetOfKind(const QString& partName, const QString& kind);

    PackageFailure failure() const { return m_failure; }

private:
    struct Archive;

    void readContentTypes();

    std::unique_ptr<Archive> m_archive;
    PackageLimits m_limits;
    qint64 m_bytesRead = 0;
    PackageFailure m_failure = PackageFailure::None;
    QHash<QString, QString> m_defaultTypes;  // by lower-case extension
    QHash<QString, QString> m_overrideTypes; // by part name
    QHash<QString, std::vector<Relationship>> m_relationships;
    // By part name, the index of each relationship id's first entry, so that
    // a document with thousands of links finds each in constant time.
    QHash<QString, QHash<QString, qsizetype>> m_relationshipIndex;
};

// True for an OLE compound file that holds an encrypted Office package.
bool isEncryptedPackage(const QByteArray& bytes);

} // namespace formats::docx
