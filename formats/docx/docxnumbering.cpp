#include "formats/docx/docxnumbering.h"

#include "formats/docx/wordmapping.h"
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
        while (reader.readNextStartElement()) {
            if (reader.name() == u"numFmt")
                format = attribute(reader, u"val");
            else if (reader.name() == u"lvlText")
                text = attribute(reader, u"val");
            reader.skipCurrentElement();
        }
        if (level >= 0 && level < 9 && format != u"none")
            levels.insert(level, word::listStyleOf(format, text));
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
    format.setStyle(abstract->value(level));
    format.setIndent(level + 1);
    return format;
}

} // namespace formats::docx
