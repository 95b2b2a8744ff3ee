#include "formats/docx/docxstyles.h"

#include "formats/word/wordmapping.h"
#include "formats/docx/xmlnames.h"

#include <QXmlStreamReader>

namespace formats::docx {

namespace {

constexpr int kMaxChainLength = 32;

} // namespace

void StyleSheet::read(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == u"style")
            readStyle(reader);
        else if (reader.name() == u"docDefaults")
            readDefaults(reader);
        else if (reader.name() == u"latentStyles")
            reader.skipCurrentElement();
    }
}

void StyleSheet::readDefaults(QXmlStreamReader& reader)
{
    while (!reader.atEnd() && !(reader.isEndElement() && reader.name() == u"docDefaults")) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == u"rPr")
            m_defaultCharacters = readRunProperties(reader);
        else if (reader.name() == u"pPr")
            m_defaultBlock = readParagraphProperties(reader).block;
    }
}

void StyleSheet::readStyle(QXmlStreamReader& reader)
{
    const QString type = attribute(reader, u"type");
    if (type != u"paragraph" && type != u"character" && type != u"table") {
        reader.skipCurrentElement();
        return;
    }
    const QString id = attribute(reader, u"styleId");
    Style style;
    style.kind = type == u"paragraph" ? Kind::Paragraph : type == u"table" ? Kind::Table : Kind::Character;
    const bool isDefault = word::isOn(attribute(reader, u"default")) && hasAttribute(reader, u"default");
    if (isDefault && style.kind == Kind::Paragraph)
        m_defaultParagraphStyle = id;
    else if (isDefault && style.kind == Kind::Table)
        m_defaultTableStyle = id;
    while (reader.readNextStartElement()) {
        const QStringView name = reader.name();
        if (name == u"name")
            style.name = attribute(reader, u"val");
        else if (name == u"basedOn")
            style.basedOn = attribute(reader, u"val");
        else if (name == u"pPr") {
            style.paragraphProperties = readParagraphProperties(reader);
            continue;
        } else if (name == u"rPr") {
            style.characters = readRunProperties(reader);
            continue;
        } else if (name == u"tblPr") {
            style.table = readTableProperties(reader);
            continue;
        } else if (name == u"tcPr") {
            readTableCellProperties(reader, style);
            continue;
        }
        reader.skipCurrentElement();
    }
    m_styles.insert(id, style);
}

// A table style's cell properties: its shading is every cell's.
void StyleSheet::readTableCellProperties(QXmlStreamReader& reader, Style& style)
{
    while (reader.readNextStartElement()) {
        if (reader.name() == u"shd")
            style.table.shading = word::colorOf(attribute(reader, u"fill"));
        reader.skipCurrentElement();
    }
}

std::vector<const StyleSheet::Style*> StyleSheet::chainOf(const QString& styleId) const
{
    std::vector<const Style*> chain;
    QString id = styleId;
    while (chain.size() < size_t(kMaxChainLength)) {
        const auto found = m_styles.constFind(id);
        if (found == m_styles.cend() || std::find(chain.begin(), chain.end(), &*found) != chain.end())
            break;
        chain.push_back(&*found);
        id = found->basedOn;
    }
    return chain;
}

ResolvedParagraphStyle StyleSheet::paragraphStyle(const QString& styleId) const
{
    const QString id = m_styles.contains(styleId) && m_styles.value(styleId).kind == Kind::Paragraph ? styleId : m_defaultParagraphStyle;
    ResolvedParagraphStyle resolved;
    resolved.block = m_defaultBlock;
    resolved.characters = m_defaultCharacters;
    const std::vector<const Style*> chain = chainOf(id);
    std::optional<int> outlineLevel;
    for (auto it = chain.crbegin(); it != chain.crend(); ++it) {
        const Style& style = **it;
        resolved.block.merge(style.paragraphProperties.block);
        resolved.characters.merge(style.characters);
        if (style.paragraphProperties.outlineLevel)
            outlineLevel = style.paragraphProperties.outlineLevel;
        if (style.paragraphProperties.list)
            resolved.list = style.paragraphProperties.list;
    }
    for (const Style* style : chain) {
        resolved.headingLevel = word::headingLevelOf(chain.front() == style ? id : QString(), style->name, outlineLevel);
        if (resolved.headingLevel > 0)
            break;
    }
    return resolved;
}

QTextCharFormat StyleSheet::characterStyle(const QString& styleId) const
{
    QTextCharFormat format;
    const std::vector<const Style*> chain = chainOf(styleId);
    for (auto it = chain.crbegin(); it != chain.crend(); ++it)
        format.merge((*it)->characters);
    return format;
}

TableLook StyleSheet::tableStyle(const QString& styleId) const
{
    const QString id = m_styles.contains(styleId) && m_styles.value(styleId).kind == Kind::Table ? styleId : m_defaultTableStyle;
    TableLook look;
    const std::vector<const Style*> chain = chainOf(id);
    for (auto it = chain.crbegin(); it != chain.crend(); ++it)
        look.merge((*it)->table);
    return look;
}

} // namespace formats::docx
