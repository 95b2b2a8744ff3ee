#include "formats/docx/docxstyleswriter.h"

#include "engine/hostunits.h"
#include "formats/docx/docxparts.h"
#include "formats/word/wordmapping.h"

#include <cmath>

namespace formats::docx {

namespace {

void writeValue(QXmlStreamWriter& xml, const QString& element, const QString& value)
{
    xml.writeEmptyElement(element);
    xml.writeAttribute(QStringLiteral("w:val"), value);
}

void writeFonts(QXmlStreamWriter& xml, const QString& font)
{
    xml.writeEmptyElement(QStringLiteral("w:rFonts"));
    for (const char* script : {"w:ascii", "w:eastAsia", "w:hAnsi", "w:cs"})
        xml.writeAttribute(QLatin1String(script), font);
}

void writeRunProperties(QXmlStreamWriter& xml, const html::TextStyle& style)
{
    xml.writeStartElement(QStringLiteral("w:rPr"));
    if (!style.fontName.isEmpty())
        writeFonts(xml, style.fontName);
    writeValue(xml, QStringLiteral("w:color"), word::colorValue(engine::colorFromHost(int(style.colour))));
    const QString halfPoints = QString::number(std::max(style.size, 1) * 2);
    writeValue(xml, QStringLiteral("w:sz"), halfPoints);
    writeValue(xml, QStringLiteral("w:szCs"), halfPoints);
    xml.writeEndElement();
}

void writeDefaults(QXmlStreamWriter& xml, const html::StyleSet& styles)
{
    xml.writeStartElement(QStringLiteral("w:docDefaults"));
    xml.writeStartElement(QStringLiteral("w:rPrDefault"));
    xml.writeStartElement(QStringLiteral("w:rPr"));
    if (!styles.body.fontName.isEmpty())
        writeFonts(xml, styles.body.fontName);
    xml.writeEmptyElement(QStringLiteral("w:lang"));
    xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("en-US"));
    xml.writeAttribute(QStringLiteral("w:eastAsia"), QStringLiteral("ja-JP"));
    xml.writeAttribute(QStringLiteral("w:bidi"), QStringLiteral("ar-SA"));
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
}

void writeParagraphStyle(QXmlStreamWriter& xml, int level, const html::TextStyle& style, float lineSpacing)
{
    xml.writeStartElement(QStringLiteral("w:style"));
    xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("paragraph"));
    if (level == 0)
        xml.writeAttribute(QStringLiteral("w:default"), QStringLiteral("1"));
    xml.writeAttribute(QStringLiteral("w:styleId"), paragraphStyleId(level));
    writeValue(xml, QStringLiteral("w:name"), level == 0 ? QStringLiteral("Normal") : QStringLiteral("heading %1").arg(level));
    if (level > 0) {
        writeValue(xml, QStringLiteral("w:basedOn"), paragraphStyleId(0));
        writeValue(xml, QStringLiteral("w:next"), paragraphStyleId(0));
    }
    xml.writeEmptyElement(QStringLiteral("w:qFormat"));
    xml.writeStartElement(QStringLiteral("w:pPr"));
    if (level > 0) {
        xml.writeEmptyElement(QStringLiteral("w:keepNext"));
        writeValue(xml, QStringLiteral("w:outlineLvl"), QString::number(level - 1));
    } else {
        xml.writeEmptyElement(QStringLiteral("w:spacing"));
        xml.writeAttribute(QStringLiteral("w:line"), QString::number(std::lround(240.0 * double(lineSpacing))));
        xml.writeAttribute(QStringLiteral("w:lineRule"), QStringLiteral("auto"));
    }
    xml.writeEndElement();
    writeRunProperties(xml, style);
    xml.writeEndElement();
}

} // namespace

QString paragraphStyleId(int level)
{
    return level > 0 ? QStringLiteral("Heading%1").arg(std::min(level, 3)) : QStringLiteral("Normal");
}

QByteArray stylesXml(const html::StyleSet& styles)
{
    XmlPart part;
    QXmlStreamWriter& xml = part.writer();
    part.startWordRoot(QStringLiteral("w:styles"));
    writeDefaults(xml, styles);
    writeParagraphStyle(xml, 0, styles.body, styles.lineSpacing);
    for (int level = 1; level <= 3; ++level)
        writeParagraphStyle(xml, level, styles.headings[size_t(level - 1)], styles.lineSpacing);
    xml.writeEndElement();
    return part.finish();
}

} // namespace formats::docx
