#include "formats/docx/docxpackage.h"

#include "formats/docx/xmlnames.h"

#include <QDir>
#include <QUrl>
#include <QXmlStreamReader>
#include <zip.h>

namespace formats::docx {

namespace {

constexpr char kOleSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

QString relationshipsPartOf(const QString& partName)
{
    const qsizetype slash = partName.lastIndexOf(u'/');
    return partName.left(slash + 1) + QStringLiteral("_rels/") + partName.mid(slash + 1) + QStringLiteral(".rels");
}

// An internal target as a part name; nullopt when it climbs out of the package.
std::optional<QString> resolveTarget(const QString& sourcePart, const QString& target)
{
    const QString decoded = QUrl::fromPercentEncoding(target.toUtf8());
    const QString joined = decoded.startsWith(u'/') ? decoded.mid(1)
                                                    : sourcePart.left(sourcePart.lastIndexOf(u'/') + 1) + decoded;
    const QString cleaned = QDir::cleanPath(joined);
    if (cleaned.isEmpty() || cleaned == u".." || cleaned.startsWith(u"../") || cleaned.startsWith(u'/'))
        return std::nullopt;
    return cleaned;
}

} // namespace

QString Relationship::kind() const
{
    return type.mid(type.lastIndexOf(u'/') + 1);
}

struct Package::Archive {
    QByteArray bytes;
    zip_t* zip = nullptr;
    QHash<QString, zip_uint64_t> indexByName; // lower-case part names

    ~Archive()
    {
        if (zip)
            zip_discard(zip);
    }
};

Package::Package() = default;
Package::~Package() = default;
Package::Package(Package&&) noexcept = default;
Package& Package::operator=(Package&&) noexcept = default;

bool isEncryptedPackage(const QByteArray& bytes)
{
    static const QByteArray name = QByteArray::fromRawData("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
    return bytes.startsWith(QByteArray::fromRawData(kOleSignature, 8)) && bytes.contains(name);
}

PackageFailure Package::open(const QByteArray& bytes, const PackageLimits& limits)
{
    m_limits = limits;
    if (isEncryptedPackage(bytes))
        return m_failure = PackageFailure::Encrypted;
    auto archive = std::make_unique<Archive>();
    archive->bytes = bytes;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(archive->bytes.constData(), zip_uint64_t(archive->bytes.size()), 0, &error);
    if (source)
        archive->zip = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    zip_error_fini(&error);
    if (!archive->zip) {
        if (source)
            zip_source_free(source);
        return m_failure = PackageFailure::NotAPackage;
    }
    const zip_int64_t count = zip_get_num_entries(archive->zip, 0);
    if (count > m_limits.entries)
        return m_failure = PackageFailure::TooLarge;
    for (zip_int64_t i = 0; i < count; ++i) {
        if (const char* name = zip_get_name(archive->zip, zip_uint64_t(i), ZIP_FL_ENC_GUESS))
            archive->indexByName.insert(QString::fromUtf8(name).toLower(), zip_uint64_t(i));
    }
    m_archive = std::move(archive);
    readContentTypes();
    return m_failure;
}

bool Package::hasPart(const QString& name) const
{
    return m_archive && m_archive->indexByName.contains(name.toLower());
}

std::optional<QByteArray> Package::part(const QString& name)
{
    if (!hasPart(name))
        return std::nullopt;
    zip_file_t* file = zip_fopen_index(m_archive->zip, m_archive->indexByName.value(name.toLower()), 0);
    if (!file)
        return std::nullopt;
    // The sizes an archive declares may lie: count what really comes out.
    QByteArray content;
    char buffer[65536];
    zip_int64_t got = 0;
    while ((got = zip_fread(file, buffer, sizeof buffer)) > 0) {
        m_bytesRead += got;
        if (content.size() + got > m_limits.partBytes || m_bytesRead > m_limits.totalBytes) {
            m_failure = PackageFailure::TooLarge;
            got = -1;
            break;
        }
        content.append(buffer, qsizetype(got));
    }
    zip_fclose(file);
    if (got < 0)
        return std::nullopt;
    return content;
}

QString Package::contentType(const QString& name) const
{
    const QString overridden = m_overrideTypes.value(name.toLower());
    if (!overridden.isEmpty())
        return overridden;
    return m_defaultTypes.value(name.mid(name.lastIndexOf(u'.') + 1).toLower());
}

void Package::readContentTypes()
{
    const std::optional<QByteArray> xml = part(QStringLiteral("[Content_Types].xml"));
    if (!xml)
        return;
    QXmlStreamReader reader(*xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString type = attribute(reader, u"ContentType");
        if (reader.name() == u"Default")
            m_defaultTypes.insert(attribute(reader, u"Extension").toLower(), type);
        else if (reader.name() == u"Override")
            m_overrideTypes.insert(attribute(reader, u"PartName").mid(1).toLower(), type);
    }
}

const std::vector<Relationship>& Package::relationships(const QString& partName)
{
    if (const auto known = m_relationships.constFind(partName); known != m_relationships.cend())
        return *known;
    std::vector<Relationship> found;
    QHash<QString, qsizetype> index;
    const std::optional<QByteArray> xml = part(relationshipsPartOf(partName));
    QXmlStreamReader reader(xml.value_or(QByteArray()));
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement || reader.name() != u"Relationship")
            continue;
        Relationship relationship{attribute(reader, u"Id"), attribute(reader, u"Type"), attribute(reader, u"Target"),
                                  attribute(reader, u"TargetMode").compare(u"External", Qt::CaseInsensitive) == 0};
        if (!relationship.external) {
            const std::optional<QString> target = resolveTarget(partName, relationship.target);
            if (!target)
                continue;
            relationship.target = *target;
        }
        if (!index.contains(relationship.id)) // the first of an id counts
            index.insert(relationship.id, qsizetype(found.size()));
        found.push_back(relationship);
    }
    m_relationshipIndex.insert(partName, index);
    return *m_relationships.insert(partName, std::move(found));
}

std::optional<Relationship> Package::relationship(const QString& partName, const QString& id)
{
    const std::vector<Relationship>& all = relationships(partName);
    const qsizetype found = m_relationshipIndex.value(partName).value(id, -1);
    return found < 0 ? std::nullopt : std::optional<Relationship>(all[size_t(found)]);
}

std::optional<QString> Package::targetOfKind(const QString& partName, const QString& kind)
{
    for (const Relationship& r : relationships(partName)) {
        if (!r.external && r.kind() == kind)
            return r.target;
    }
    return std::nullopt;
}

} // namespace formats::docx
