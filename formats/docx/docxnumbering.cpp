#include "formats/docx/docxnumbering.h"

#include "engine/fieldformat.h"

#include "formats/word/wordmapping.h"
#include "formats/docx/xmlnames.h"

#include <QXmlStreamReader>

namespace formats::docx {

void Numbering::read(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == u"abstractNum")
            readAbstract(reader);
        else if (reader.name() == u"num")
            readInstance(reader);
    }
}

void Numbering::readAbstract(QXmlStreamReader& reader)
{
    const QString id = attribute(reader, u"abstractNumId");
    Levels& levels = m_abstracts[id];
    while (reader.readNextStartElement()) {
        if (reader.name() != u"lvl") {
            reader.skipCurrentElement();
            continue;
        }
        const int level = attribute(reader, u"ilvl").toInt();
        QString format;
        QString text;
        int start = 1;
        while (reader.readNextStartElement()) {
            if (reader.name() == u"start")
                start = std::clamp(attribute(reader, u"val").toInt(), 0, 32767);
            else if (reader.name() == u"numFmt")
                format = attribute(reader, u"val");
            else if (reader.name() == u"lvlText")
                text = attribute(reader, u"val");
            reader.skipCurrentElement();
        }
        if (level >= 0 && level < 9 && format != u"none")
            levels.insert(level, {word::listStyleOf(format, text), start});
    }
}

void Numbering::readInstance(QXmlStreamReader& reader)
{
    const QString id = attribute(reader, u"numId");
    while (reader.readNextStartElement()) {
        if (reader.name() == u"abstractNumId")
            m_abstractOfInstance.insert(id, attribute(reader, u"val"));
        reader.skipCurrentElement();
    }
}

QTextListFormat Numbering::listFormat(const QString& numberingId, int level) const
{
    QTextListFormat format;
    const auto abstract = m_abstracts.constFind(m_abstractOfInstance.value(numberingId));
    if (abstract == m_abstracts.cend() || !abstract->contains(level))
        return format;
    const Level found = abstract->value(level);
    format.setStyle(found.style);
    format.setIndent(level + 1);
    if (found.start != 1 && found.style < QTextListFormat::ListSquare)
        format.setProperty(engine::ListStart, found.start);
    return format;
}

} // namespace formats::docx
