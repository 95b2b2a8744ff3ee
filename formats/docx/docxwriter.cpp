#include "formats/docx/docxwriter.h"

#include "formats/docx/docxbodywriter.h"
#include "formats/docx/docxparts.h"
#include "formats/docx/docxstyleswriter.h"
#include "formats/docx/zipwriter.h"

#include <QTextDocument>

namespace formats::docx {

namespace {

const QString kContentTypeBase = QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.");

struct PartType {
    QString name; // "/word/document.xml"
    QString type;
};

// One header or footer the package holds.
struct HeaderFooterPart {
    QString kind;         // "header", "footer"
    QString type;         // "default", "first"
    QString relationship; // its id among the main part's relationships
};

class PackageWriter {
public:
    PackageWriter(const engine::DocumentSet& source, const html::StyleSet& styles)
        : m_source(source)
        , m_stylesXml(stylesXml(styles))
        , m_setup(source.pageSetup ? *source.pageSetup : engine::PageSetup())
        , m_context{m_styles, m_numbering, m_media, textWidth(m_setup)}
    {
        m_styles.read(m_stylesXml);
    }

    std::optional<QByteArray> write();

private:
    static double textWidth(const engine::PageSetup& setup)
    {
        return std::max(setup.sheetTwips().width() - setup.marginLeft - setup.marginRight, 1440.0);
    }

    void writeHeadersAndFooters();
    void writeHeaderFooter(const QTextDocument* document, int flag, const QString& kind, const QString& type);
    QByteArray documentXml();
    void writeSection(QXmlStreamWriter& xml) const;
    QByteArray contentTypes() const;
    QByteArray coreProperties() const;
    static QByteArray appProperties();
    static QByteArray settings();
    static QByteArray packageRelationships();

    const engine::DocumentSet& m_source;
    QByteArray m_stylesXml;
    engine::PageSetup m_setup;
    StyleSheet m_styles;
    ListNumbering m_numbering;
    MediaStore m_media;
    WriteContext m_context;
    PartRelationships m_documentRelationships;
    std::vector<HeaderFooterPart> m_headersAndFooters;
    ZipWriter m_zip;
    std::vector<std::pair<QString, QByteArray>> m_textParts; // headers, footers and their relationships
    std::vector<PartType> m_overrides;
};

std::optional<QByteArray> PackageWriter::write()
{
    m_documentRelationships.add(QStringLiteral("styles"), QStringLiteral("styles.xml"));
    m_documentRelationships.add(QStringLiteral("settings"), QStringLiteral("settings.xml"));
    writeHeadersAndFooters();
    const QByteArray document = documentXml();
    if (!m_numbering.isEmpty())
        m_documentRelationships.add(QStringLiteral("numbering"), QStringLiteral("numbering.xml"));
    m_zip.add(QStringLiteral("[Content_Types].xml"), contentTypes());
    m_zip.add(QStringLiteral("_rels/.rels"), packageRelationships());
    m_zip.add(QStringLiteral("docProps/core.xml"), coreProperties());
    m_zip.add(QStringLiteral("docProps/app.xml"), appProperties());
    m_zip.add(QStringLiteral("word/document.xml"), document);
    m_zip.add(QStringLiteral("word/_rels/document.xml.rels"), m_documentRelationships.xml());
    m_zip.add(QStringLiteral("word/styles.xml"), m_stylesXml);
    m_zip.add(QStringLiteral("word/settings.xml"), settings());
    if (!m_numbering.isEmpty())
        m_zip.add(QStringLiteral("word/numbering.xml"), m_numbering.xml());
    for (auto& [name, bytes] : m_textParts)
        m_zip.add(name, bytes);
    for (const MediaStore::Item& item : m_media.items())
        m_zip.add(QStringLiteral("word/") + item.name, item.bytes);
    return m_zip.finish();
}

void PackageWriter::writeHeadersAndFooters()
{
    writeHeaderFooter(m_source.header, engine::HeaderEveryPage, QStringLiteral("header"), QStringLiteral("default"));
    writeHeaderFooter(m_source.firstHeader, engine::HeaderFirstPage, QStringLiteral("header"), QStringLiteral("first"));
    writeHeaderFooter(m_source.footer, engine::FooterEveryPage, QStringLiteral("footer"), QStringLiteral("default"));
    writeHeaderFooter(m_source.firstFooter, engine::FooterFirstPage, QStringLiteral("footer"), QStringLiteral("first"));
}

void PackageWriter::writeHeaderFooter(const QTextDocument* document, int flag, const QString& kind, const QString& type)
{
    if (!document || !(m_setup.headerFooterFlags & flag))
        return;
    const QString name = kind + (type == u"default" ? u'1' : u'2') + QStringLiteral(".xml");
    PartRelationships relationships;
    XmlPart part;
    part.startWordRoot(kind == u"header" ? QStringLiteral("w:hdr") : QStringLiteral("w:ftr"));
    BodyWriter(*document, m_context, relationships, part.writer()).writeContents();
    part.writer().writeEndElement();
    m_textParts.emplace_back(QStringLiteral("word/") + name, part.finish());
    if (!relationships.isEmpty())
        m_textParts.emplace_back(QStringLiteral("word/_rels/") + name + QStringLiteral(".rels"), relationships.xml());
    m_overrides.push_back({QStringLiteral("/word/") + name, kContentTypeBase + kind + QStringLiteral("+xml")});
    m_headersAndFooters.push_back({kind, type, m_documentRelationships.add(kind, name)});
}

QByteArray PackageWriter::documentXml()
{
    XmlPart part;
    QXmlStreamWriter& xml = part.writer();
    part.startWordRoot(QStringLiteral("w:document"));
    xml.writeStartElement(QStringLiteral("w:body"));
    if (m_source.body)
        BodyWriter(*m_source.body, m_context, m_documentRelationships, xml).writeContents();
    writeSection(xml);
    xml.writeEndElement();
    xml.writeEndElement();
    return part.finish();
}

void PackageWriter::writeSection(QXmlStreamWriter& xml) const
{
    xml.writeStartElement(QStringLiteral("w:sectPr"));
    for (const HeaderFooterPart& part : m_headersAndFooters) {
        xml.writeEmptyElement(QStringLiteral("w:") + part.kind + QStringLiteral("Reference"));
        xml.writeAttribute(QStringLiteral("w:type"), part.type);
        xml.writeAttribute(QStringLiteral("r:id"), part.relationship);
    }
    // Word wants the sheet as it lies: a landscape page is wider than high.
    const QSizeF sheet = m_setup.sheetTwips();
    xml.writeEmptyElement(QStringLiteral("w:pgSz"));
    xml.writeAttribute(QStringLiteral("w:w"), QString::number(qRound(sheet.width())));
    xml.writeAttribute(QStringLiteral("w:h"), QString::number(qRound(sheet.height())));
    if (m_setup.landscape)
        xml.writeAttribute(QStringLiteral("w:orient"), QStringLiteral("landscape"));
    xml.writeEmptyElement(QStringLiteral("w:pgMar"));
    xml.writeAttribute(QStringLiteral("w:top"), QString::number(engine::wholeTwips(m_setup.marginTop)));
    xml.writeAttribute(QStringLiteral("w:right"), QString::number(engine::wholeTwips(m_setup.marginRight)));
    xml.writeAttribute(QStringLiteral("w:bottom"), QString::number(engine::wholeTwips(m_setup.marginBottom)));
    xml.writeAttribute(QStringLiteral("w:left"), QString::number(engine::wholeTwips(m_setup.marginLeft)));
    xml.writeAttribute(QStringLiteral("w:header"), QString::number(std::min(engine::wholeTwips(m_setup.marginTop / 2), 851)));
    xml.writeAttribute(QStringLiteral("w:footer"), QString::number(std::min(engine::wholeTwips(m_setup.marginBottom / 2), 992)));
    xml.writeAttribute(QStringLiteral("w:gutter"), QStringLiteral("0"));
    if (m_setup.headerFooterFlags & (engine::HeaderFirstPage | engine::FooterFirstPage))
        xml.writeEmptyElement(QStringLiteral("w:titlePg"));
    xml.writeEndElement();
}

QByteArray PackageWriter::contentTypes() const
{
    XmlPart part;
    QXmlStreamWriter& xml = part.writer();
    xml.writeStartElement(QStringLiteral("Types"));
    xml.writeDefaultNamespace(QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types"));
    const std::pair<const char*, const char*> defaults[] = {
        {"jpeg", "image/jpeg"},
        {"png", "image/png"},
        {"rels", "application/vnd.openxmlformats-package.relationships+xml"},
        {"xml", "application/xml"},
    };
    const auto writeDefault = [&xml](const char* extension, const char* type) {
        xml.writeEmptyElement(QStringLiteral("Default"));
        xml.writeAttribute(QStringLiteral("Extension"), QLatin1String(extension));
        xml.writeAttribute(QStringLiteral("ContentType"), QLatin1String(type));
    };
    for (const auto& [extension, type] : defaults)
        writeDefault(extension, type);
    // Pictures kept as their own files bring their own kinds.
    const std::pair<const char*, const char*> pictureKinds[] = {
        {"bmp", "image/bmp"}, {"emf", "image/x-emf"}, {"gif", "image/gif"}, {"tiff", "image/tiff"}, {"wmf", "image/x-wmf"},
    };
    for (const auto& [extension, type] : pictureKinds) {
        const QString suffix = u'.' + QLatin1String(extension);
        const auto& items = m_media.items();
        if (std::any_of(items.cbegin(), items.cend(), [&](const MediaStore::Item& item) { return item.name.endsWith(suffix); }))
            writeDefault(extension, type);
    }
    std::vector<PartType> overrides{
        {QStringLiteral("/docProps/app.xml"), QStringLiteral("application/vnd.openxmlformats-officedocument.extended-properties+xml")},
        {QStringLiteral("/docProps/core.xml"), QStringLiteral("application/vnd.openxmlformats-package.core-properties+xml")},
        {QStringLiteral("/word/document.xml"), kContentTypeBase + QStringLiteral("document.main+xml")},
        {QStringLiteral("/word/settings.xml"), kContentTypeBase + QStringLiteral("settings+xml")},
        {QStringLiteral("/word/styles.xml"), kContentTypeBase + QStringLiteral("styles+xml")},
    };
    if (!m_numbering.isEmpty())
        overrides.push_back({QStringLiteral("/word/numbering.xml"), kContentTypeBase + QStringLiteral("numbering+xml")});
    overrides.insert(overrides.end(), m_overrides.begin(), m_overrides.end());
    for (const PartType& entry : overrides) {
        xml.writeEmptyElement(QStringLiteral("Override"));
        xml.writeAttribute(QStringLiteral("PartName"), entry.name);
        xml.writeAttribute(QStringLiteral("ContentType"), entry.type);
    }
    xml.writeEndElement();
    return part.finish();
}

QByteArray PackageWriter::coreProperties() const
{
    XmlPart part;
    QXmlStreamWriter& xml = part.writer();
    xml.writeStartElement(QStringLiteral("cp:coreProperties"));
    xml.writeAttribute(QStringLiteral("xmlns:cp"), QStringLiteral("http://schemas.openxmlformats.org/package/2006/metadata/core-properties"));
    xml.writeAttribute(QStringLiteral("xmlns:dc"), QStringLiteral("http://purl.org/dc/elements/1.1/"));
    xml.writeAttribute(QStringLiteral("xmlns:dcterms"), QStringLiteral("http://purl.org/dc/terms/"));
    xml.writeAttribute(QStringLiteral("xmlns:dcmitype"), QStringLiteral("http://purl.org/dc/dcmitype/"));
    xml.writeAttribute(QStringLiteral("xmlns:xsi"), QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"));
    const QString title = m_source.body ? m_source.body->metaInformation(QTextDocument::DocumentTitle) : QString();
    if (!title.isEmpty())
        xml.writeTextElement(QStringLiteral("dc:title"), title);
    xml.writeEndElement();
    return part.finish();
}

QByteArray PackageWriter::appProperties()
{
    XmlPart part;
    QXmlStreamWriter& xml = part.writer();
    xml.writeStartElement(QStringLiteral("Properties"));
    xml.writeDefaultNamespace(QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/extended-properties"));
    xml.writeAttribute(QStringLiteral("xmlns:vt"), QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes"));
    xml.writeTextElement(QStringLiteral("Application"), QStringLiteral("Fumi"));
    xml.writeEndElement();
    return part.finish();
}

QByteArray PackageWriter::settings()
{
    XmlPart part;
    QXmlStreamWriter& xml = part.writer();
    part.startWordRoot(QStringLiteral("w:settings"));
    xml.writeEmptyElement(QStringLiteral("w:defaultTabStop"));
    xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("840"));
    xml.writeEmptyElement(QStringLiteral("w:characterSpacingControl"));
    xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("compressPunctuation"));
    xml.writeStartElement(QStringLiteral("w:compat"));
    xml.writeEmptyElement(QStringLiteral("w:compatSetting"));
    xml.writeAttribute(QStringLiteral("w:name"), QStringLiteral("compatibilityMode"));
    xml.writeAttribute(QStringLiteral("w:uri"), QStringLiteral("http://schemas.microsoft.com/office/word"));
    xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("15"));
    xml.writeEndElement();
    xml.writeEndElement();
    return part.finish();
}

QByteArray PackageWriter::packageRelationships()
{
    PartRelationships relationships;
    relationships.add(QStringLiteral("officeDocument"), QStringLiteral("word/document.xml"));
    relationships.add(QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties"),
                      QStringLiteral("docProps/core.xml"));
    relationships.add(QStringLiteral("extended-properties"), QStringLiteral("docProps/app.xml"));
    return relationships.xml();
}

} // namespace

std::optional<QByteArray> writeDocx(const engine::DocumentSet& source, const html::StyleSet& styles)
{
    return PackageWriter(source, styles).write();
}

} // namespace formats::docx
