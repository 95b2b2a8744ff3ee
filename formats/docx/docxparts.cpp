#include "formats/docx/docxparts.h"

#include "engine/fieldformat.h"
#include "engine/objects.h"
#include "formats/word/wordmapping.h"

#include <QBuffer>
#include <QImage>
#include <QTextDocument>
#include <QTextFormat>
#include <QTextList>
#include <QUrl>

namespace formats::docx {

namespace {

constexpr int kJpegQuality = 92;
constexpr int kListLevels = 9;
constexpr int kListIndentTwips = 420; // two Japanese characters of 10.5 pt

// Photographs that came as JPEG stay JPEG; everything else is PNG, which
// keeps every pixel and any transparency.
bool keepsJpeg(const QImage& image, const QTextImageFormat& format)
{
    const QString source = format.stringProperty(engine::ObjectFileName);
    return !image.hasAlphaChannel()
        && (source.endsWith(QStringLiteral(".jpg"), Qt::CaseInsensitive)
            || source.endsWith(QStringLiteral(".jpeg"), Qt::CaseInsensitive));
}

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, format, qstrcmp(format, "JPEG") == 0 ? kJpegQuality : -1) ? bytes : QByteArray();
}

} // namespace

XmlPart::XmlPart()
    : m_writer(&m_bytes)
{
    m_writer.writeStartDocument(QStringLiteral("1.0"), true);
}

void XmlPart::startWordRoot(const QString& name)
{
    m_writer.writeStartElement(name);
    m_writer.writeAttribute(QStringLiteral("xmlns:w"), QLatin1String(ns::w));
    m_writer.writeAttribute(QStringLiteral("xmlns:r"), QLatin1String(ns::r));
    m_writer.writeAttribute(QStringLiteral("xmlns:wp"),
                            QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing"));
    m_writer.writeAttribute(QStringLiteral("xmlns:a"), QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/main"));
    m_writer.writeAttribute(QStringLiteral("xmlns:pic"), QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/picture"));
    m_writer.writeAttribute(QStringLiteral("xmlns:wps"), QStringLiteral("http://schemas.microsoft.com/office/word/2010/wordprocessingShape"));
    m_writer.writeAttribute(QStringLiteral("xmlns:mc"), QStringLiteral("http://schemas.openxmlformats.org/markup-compatibility/2006"));
    m_writer.writeAttribute(QStringLiteral("xmlns:v"), QStringLiteral("urn:schemas-microsoft-com:vml"));
    m_writer.writeAttribute(QStringLiteral("xmlns:o"), QStringLiteral("urn:schemas-microsoft-com:office:office"));
}

QByteArray XmlPart::finish()
{
    m_writer.writeEndDocument();
    return m_bytes;
}

QString PartRelationships::add(const QString& kind, const QString& target, bool external)
{
    const QString key = kind + u'\n' + target + (external ? QStringLiteral("\nE") : QString());
    if (const auto known = m_ids.constFind(key); known != m_ids.cend())
        return *known;
    const QString id = QStringLiteral("rId%1").arg(m_entries.size() + 1);
    m_entries.push_back({id, kind, target, external});
    m_ids.insert(key, id);
    return id;
}

QByteArray PartRelationships::xml() const
{
    XmlPart part;
    QXmlStreamWriter& xml = part.writer();
    xml.writeStartElement(QStringLiteral("Relationships"));
    xml.writeDefaultNamespace(QLatin1String(ns::relationships));
    for (const Entry& entry : m_entries) {
        xml.writeEmptyElement(QStringLiteral("Relationship"));
        xml.writeAttribute(QStringLiteral("Id"), entry.id);
        // Package-level kinds (core properties) come with their whole type.
        xml.writeAttribute(QStringLiteral("Type"),
                           entry.kind.contains(u':') ? entry.kind : QLatin1String(ns::officeRelationship) + entry.kind);
        xml.writeAttribute(QStringLiteral("Target"), entry.target);
        if (entry.external)
            xml.writeAttribute(QStringLiteral("TargetMode"), QStringLiteral("External"));
    }
    return part.finish();
}

QString MediaStore::nameFor(const QTextDocument& document, const QTextImageFormat& format)
{
    const QString resource = format.name();
    if (const auto known = m_names.constFind(resource); known != m_names.cend())
        return *known;
    // A picture's own file goes back as it came, even one the engine shows
    // as a placeholder; Word takes an SVG only beside a picture of it.
    QByteArray bytes = engine::pictureFileBytes(document, resource);
    QString type = engine::pictureFileType(bytes);
    if (type.isEmpty() || type == u"svg") {
        const QImage image = engine::pictureImage(document, resource);
        const bool jpeg = !image.isNull() && keepsJpeg(image, format);
        bytes = image.isNull() ? QByteArray() : encoded(image, jpeg ? "JPEG" : "PNG");
        type = jpeg ? QStringLiteral("jpeg") : QStringLiteral("png");
    }
    QString name;
    if (!bytes.isEmpty()) {
        name = QStringLiteral("media/image%1.%2").arg(m_items.size() + 1).arg(type);
        m_items.push_back({name, bytes});
    }
    m_names.insert(resource, name);
    return name;
}

int ListNumbering::idOf(const QTextList* list)
{
    const qsizetype known = m_lists.indexOf(list);
    if (known >= 0)
        return int(known) + 1;
    const QTextListFormat format = list->format();
    // Only numbers have a first number; a bullet list starts nowhere.
    const bool numbered = format.style() < QTextListFormat::ListSquare;
    const int start = numbered && format.hasProperty(engine::ListStart) ? format.intProperty(engine::ListStart) : 1;
    m_lists << list;
    m_definitions << Definition{format.style(), std::clamp(format.indent() - 1, 0, kListLevels - 1), std::max(start, 0)};
    return int(m_lists.size());
}

QByteArray ListNumbering::xml() const
{
    XmlPart part;
    QXmlStreamWriter& xml = part.writer();
    part.startWordRoot(QStringLiteral("w:numbering"));
    for (qsizetype i = 0; i < m_definitions.size(); ++i) {
        const Definition& definition = m_definitions[i];
        xml.writeStartElement(QStringLiteral("w:abstractNum"));
        xml.writeAttribute(QStringLiteral("w:abstractNumId"), QString::number(i));
        xml.writeEmptyElement(QStringLiteral("w:multiLevelType"));
        xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("multilevel"));
        // Every level has the list's kind: a paragraph moved deeper in Word
        // keeps the look it had.
        for (int level = 0; level < kListLevels; ++level) {
            const word::NumberFormat number = word::numberFormatOf(QTextListFormat::Style(definition.style), level);
            xml.writeStartElement(QStringLiteral("w:lvl"));
            xml.writeAttribute(QStringLiteral("w:ilvl"), QString::number(level));
            xml.writeEmptyElement(QStringLiteral("w:start"));
            xml.writeAttribute(QStringLiteral("w:val"), QString::number(level == definition.level ? definition.start : 1));
            xml.writeEmptyElement(QStringLiteral("w:numFmt"));
            xml.writeAttribute(QStringLiteral("w:val"), number.format);
            xml.writeEmptyElement(QStringLiteral("w:lvlText"));
            xml.writeAttribute(QStringLiteral("w:val"), number.levelText);
            xml.writeEmptyElement(QStringLiteral("w:lvlJc"));
            xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("left"));
            xml.writeStartElement(QStringLiteral("w:pPr"));
            xml.writeEmptyElement(QStringLiteral("w:ind"));
            xml.writeAttribute(QStringLiteral("w:left"), QString::number((level + 1) * kListIndentTwips));
            xml.writeAttribute(QStringLiteral("w:hanging"), QString::number(kListIndentTwips));
            xml.writeEndElement();
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    for (qsizetype i = 0; i < m_definitions.size(); ++i) {
        xml.writeStartElement(QStringLiteral("w:num"));
        xml.writeAttribute(QStringLiteral("w:numId"), QString::number(i + 1));
        xml.writeEmptyElement(QStringLiteral("w:abstractNumId"));
        xml.writeAttribute(QStringLiteral("w:val"), QString::number(i));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    return part.finish();
}

} // namespace formats::docx
