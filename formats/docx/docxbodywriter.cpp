#include "formats/docx/docxbodywriter.h"

#include "engine/fieldformat.h"
#include "engine/hostunits.h"
#include "formats/docx/docxstyleswriter.h"
#include "formats/word/wordmapping.h"
#include "formats/html/fielddata.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <cmath>
#include <vector>

namespace formats::docx {

namespace {

constexpr double kEmuPerDocumentUnit = 9525.0;
constexpr double kDefaultFrameHeightTwips = 720;

QString number(qint64 value)
{
    return QString::number(value);
}

qint64 twipsOf(double documentUnits)
{
    return std::lround(engine::documentToTwips(documentUnits));
}

qint64 emuOf(double documentUnits)
{
    return std::llround(documentUnits * kEmuPerDocumentUnit);
}

QStringList familiesOf(const QTextCharFormat& format)
{
    if (format.hasProperty(QTextFormat::FontFamilies))
        return format.fontFamilies().toStringList();
    if (format.hasProperty(QTextFormat::FontFamily))
        return {format.fontFamily()};
    return {};
}

bool isBold(const QTextCharFormat& format)
{
    return format.fontWeight() >= QFont::DemiBold;
}

std::optional<QColor> colourOf(const QBrush& brush)
{
    return brush.style() == Qt::NoBrush ? std::nullopt : std::optional<QColor>(brush.color());
}

// Half points as Word counts font sizes; 0 where the format has none.
qint64 halfPointsOf(const QTextCharFormat& format)
{
    return format.hasProperty(QTextFormat::FontPointSize) ? std::lround(format.fontPointSize() * 2) : 0;
}

int fieldIdOf(const QTextCharFormat& format)
{
    return format.intProperty(engine::FieldId);
}

// Characters XML 1.0 cannot carry are left out; a file with them would not open.
bool isXmlCharacter(const QString& text, qsizetype i)
{
    const char16_t c = text[i].unicode();
    if (QChar::isHighSurrogate(c))
        return i + 1 < text.size() && text[i + 1].isLowSurrogate();
    if (QChar::isLowSurrogate(c))
        return i > 0 && text[i - 1].isHighSurrogate();
    return c >= 0x20 && c != 0xFFFE && c != 0xFFFF;
}

bool isLineBreak(QChar c)
{
    return c == QChar::LineSeparator || c == u'\v' || c == u'\n' || c == u'\r';
}

// The special characters a run writes as elements of their own.
QString elementFor(QChar c)
{
    if (c == u'\t')
        return QStringLiteral("w:tab");
    if (isLineBreak(c))
        return QStringLiteral("w:br");
    if (c == QChar(0x2011))
        return QStringLiteral("w:noBreakHyphen");
    if (c == QChar(0x00AD))
        return QStringLiteral("w:softHyphen");
    return {};
}

QString tabKind(const QTextOption::Tab& tab)
{
    switch (tab.type) {
    case QTextOption::CenterTab: return QStringLiteral("center");
    case QTextOption::RightTab: return QStringLiteral("right");
    case QTextOption::DelimiterTab: return QStringLiteral("decimal");
    default: return QStringLiteral("left");
    }
}

// Line spacing as Word says it: the value and w:lineRule; nullopt for kinds
// Word has no word for.
std::optional<std::pair<qint64, QString>> lineSpacingOf(const QTextBlockFormat& format)
{
    switch (format.lineHeightType()) {
    case QTextBlockFormat::SingleHeight: return std::pair<qint64, QString>(240, QStringLiteral("auto"));
    case QTextBlockFormat::ProportionalHeight:
        return std::pair<qint64, QString>(std::lround(format.lineHeight() * 240.0 / 100.0), QStringLiteral("auto"));
    case QTextBlockFormat::FixedHeight: return std::pair<qint64, QString>(twipsOf(format.lineHeight()), QStringLiteral("exact"));
    case QTextBlockFormat::MinimumHeight:
        return std::pair<qint64, QString>(twipsOf(format.lineHeight()), QStringLiteral("atLeast"));
    default: return std::nullopt;
    }
}

// A paragraph length the block sets apart from its style, in twips.
std::optional<qint64> ownLength(const QTextBlockFormat& block, const QTextBlockFormat& style, int property)
{
    if (!block.hasProperty(property))
        return std::nullopt;
    const qint64 own = twipsOf(block.doubleProperty(property));
    return own == twipsOf(style.doubleProperty(property)) && style.hasProperty(property) ? std::nullopt
                                                                                         : std::optional<qint64>(own);
}

QString hyperlinkTarget(const QString& data)
{
    const QUrl url(data);
    return url.isValid() ? QString::fromLatin1(url.toEncoded()) : data;
}

} // namespace

QString programFieldTag(int kind, int attribute, const QString& data)
{
    // An attribute value loses its line ends and tabs when it is read, and
    // XML has no other control characters: they, and "%" itself, are written
    // as %XX.
    QString encoded;
    for (const QChar c : data) {
        if (c == u'%' || c.unicode() < 0x20)
            encoded += QStringLiteral("%%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            encoded += c;
    }
    return QStringLiteral("Fumi:%1:%2:").arg(kind).arg(attribute) + encoded;
}

struct BodyWriter::Group {
    int fieldId = 0;
    QTextCharFormat first;
    std::vector<QTextFragment> fragments;
};

BodyWriter::BodyWriter(const QTextDocument& document, WriteContext& context, PartRelationships& relationships,
                       QXmlStreamWriter& xml)
    : m_document(document)
    , m_context(context)
    , m_relationships(relationships)
    , m_xml(xml)
{
}

void BodyWriter::writeValue(const QString& element, const QString& value)
{
    m_xml.writeEmptyElement(element);
    m_xml.writeAttribute(QStringLiteral("w:val"), value);
}

void BodyWriter::writeContents()
{
    writeFrameContents(m_document.rootFrame());
}

void BodyWriter::writeFrameContents(const QTextFrame* frame)
{
    for (QTextFrame::iterator it = frame->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* child = it.currentFrame())
            writeChildFrame(child);
        else if (it.currentBlock().isValid())
            writeBlock(it.currentBlock());
    }
}

void BodyWriter::writeChildFrame(QTextFrame* frame)
{
    if (const auto* table = qobject_cast<const QTextTable*>(frame))
        writeTable(table);
    else if (frame->frameFormat().intProperty(engine::ObjectKind) == engine::kObjectKindTextFrame && !m_inTextBox)
        writeTextFrame(frame);
    else
        writeFrameContents(frame);
}

void BodyWriter::writeBlock(const QTextBlock& block)
{
    const int level = std::clamp(block.blockFormat().headingLevel(), 0, 3);
    const ResolvedParagraphStyle style = m_context.styles.paragraphStyle(paragraphStyleId(level));
    m_xml.writeStartElement(QStringLiteral("w:p"));
    writeParagraphProperties(block, style, level);
    writeGroups(block, style.characters);
    m_xml.writeEndElement();
    m_lastWasTable = false;
}

void BodyWriter::writeParagraphProperties(const QTextBlock& block, const ResolvedParagraphStyle& style, int level)
{
    const QTextBlockFormat format = block.blockFormat();
    const QTextBlockFormat& base = style.block;
    m_xml.writeStartElement(QStringLiteral("w:pPr"));
    writeValue(QStringLiteral("w:pStyle"), paragraphStyleId(level));
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        m_xml.writeEmptyElement(QStringLiteral("w:pageBreakBefore"));
    if (const QTextList* list = block.textList()) {
        m_xml.writeStartElement(QStringLiteral("w:numPr"));
        writeValue(QStringLiteral("w:ilvl"), number(std::clamp(list->format().indent() - 1, 0, 8)));
        writeValue(QStringLiteral("w:numId"), number(m_context.numbering.idOf(list)));
        m_xml.writeEndElement();
    }
    if (const auto shading = colourOf(format.background()); shading && shading != colourOf(base.background())) {
        m_xml.writeEmptyElement(QStringLiteral("w:shd"));
        m_xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("clear"));
        m_xml.writeAttribute(QStringLiteral("w:color"), QStringLiteral("auto"));
        m_xml.writeAttribute(QStringLiteral("w:fill"), word::colorValue(*shading));
    }
    if (const QList<QTextOption::Tab> tabs = format.tabPositions(); !tabs.isEmpty() && tabs != base.tabPositions()) {
        m_xml.writeStartElement(QStringLiteral("w:tabs"));
        for (const QTextOption::Tab& tab : tabs) {
            m_xml.writeEmptyElement(QStringLiteral("w:tab"));
            m_xml.writeAttribute(QStringLiteral("w:val"), tabKind(tab));
            m_xml.writeAttribute(QStringLiteral("w:pos"), number(twipsOf(tab.position)));
        }
        m_xml.writeEndElement();
    }
    const auto before = ownLength(format, base, QTextFormat::BlockTopMargin);
    const auto after = ownLength(format, base, QTextFormat::BlockBottomMargin);
    const auto line = format.hasProperty(QTextFormat::LineHeightType) ? lineSpacingOf(format) : std::nullopt;
    const bool ownLine = line && (!base.hasProperty(QTextFormat::LineHeightType) || line != lineSpacingOf(base));
    if (before || after || ownLine) {
        m_xml.writeEmptyElement(QStringLiteral("w:spacing"));
        if (before)
            m_xml.writeAttribute(QStringLiteral("w:before"), number(*before));
        if (after)
            m_xml.writeAttribute(QStringLiteral("w:after"), number(*after));
        if (ownLine) {
            m_xml.writeAttribute(QStringLiteral("w:line"), number(line->first));
            m_xml.writeAttribute(QStringLiteral("w:lineRule"), line->second);
        }
    }
    const auto left = ownLength(format, base, QTextFormat::BlockLeftMargin);
    const auto right = ownLength(format, base, QTextFormat::BlockRightMargin);
    const auto indent = ownLength(format, base, QTextFormat::TextIndent);
    if (left || right || indent) {
        m_xml.writeEmptyElement(QStringLiteral("w:ind"));
        if (left)
            m_xml.writeAttribute(QStringLiteral("w:left"), number(*left));
        if (right)
            m_xml.writeAttribute(QStringLiteral("w:right"), number(*right));
        if (indent && *indent < 0)
            m_xml.writeAttribute(QStringLiteral("w:hanging"), number(-*indent));
        else if (indent)
            m_xml.writeAttribute(QStringLiteral("w:firstLine"), number(*indent));
    }
    if (format.hasProperty(QTextFormat::BlockAlignment)
        && (!base.hasProperty(QTextFormat::BlockAlignment)
            || word::alignmentValue(format.alignment()) != word::alignmentValue(base.alignment())))
        writeValue(QStringLiteral("w:jc"), word::alignmentValue(format.alignment()));
    m_xml.writeEndElement();
}

void BodyWriter::writeGroups(const QTextBlock& block, const QTextCharFormat& style)
{
    Group group;
    m_lastAnchors.clear();
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        const int field = fieldIdOf(format);
        if (!group.fragments.empty() && field != group.fieldId) {
            writeGroup(group, style);
            group = Group();
        }
        if (group.fragments.empty()) {
            group.fieldId = field;
            group.first = format;
        }
        group.fragments.push_back(fragment);
    }
    if (!group.fragments.empty())
        writeGroup(group, style);
}

void BodyWriter::writeGroup(const Group& group, const QTextCharFormat& style)
{
    if (group.fieldId == 0) {
        writeFragments(group, style);
        return;
    }
    const QString data = group.first.stringProperty(engine::FieldData);
    if (fieldKind(data) == FieldKind::ToolTip && group.first.intProperty(engine::FieldAttribute) == word::kRubyFieldAttribute)
        writeRuby(group, style);
    else
        writeProgramField(group, style);
}

// A content control keeps the field whole for the program; inside it a
// hyperlink makes links work and tool tips show in Word as well.
void BodyWriter::writeProgramField(const Group& group, const QTextCharFormat& style)
{
    const QString data = group.first.stringProperty(engine::FieldData);
    m_xml.writeStartElement(QStringLiteral("w:sdt"));
    m_xml.writeStartElement(QStringLiteral("w:sdtPr"));
    writeValue(QStringLiteral("w:tag"), programFieldTag(group.first.intProperty(engine::FieldKind),
                                                        group.first.intProperty(engine::FieldAttribute), data));
    m_xml.writeEndElement();
    m_xml.writeStartElement(QStringLiteral("w:sdtContent"));
    // A page number is Word's PAGE field, which every reader numbers anew.
    const bool pageNumber = engine::isPageNumberField(group.first);
    if (pageNumber) {
        m_xml.writeStartElement(QStringLiteral("w:fldSimple"));
        m_xml.writeAttribute(QStringLiteral("w:instr"), QStringLiteral(" PAGE "));
    }
    const FieldKind kind = fieldKind(data);
    const bool hyperlink = !pageNumber && (kind == FieldKind::Link || kind == FieldKind::ToolTip);
    if (hyperlink) {
        m_xml.writeStartElement(QStringLiteral("w:hyperlink"));
        if (kind == FieldKind::ToolTip)
            m_xml.writeAttribute(QStringLiteral("w:tooltip"), data.mid(3));
        else if (data.startsWith(u'#'))
            m_xml.writeAttribute(QStringLiteral("w:anchor"), data.mid(1));
        else
            m_xml.writeAttribute(QStringLiteral("r:id"), m_relationships.add(QStringLiteral("hyperlink"), hyperlinkTarget(data), true));
    }
    writeFragments(group, style);
    if (hyperlink || pageNumber)
        m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_xml.writeEndElement();
}

void BodyWriter::writeRuby(const Group& group, const QTextCharFormat& style)
{
    const qint64 baseSize = halfPointsOf(group.first) > 0 ? halfPointsOf(group.first) : std::max<qint64>(halfPointsOf(style), 2);
    const qint64 rubySize = std::max<qint64>(baseSize / 2, 1);
    m_xml.writeStartElement(QStringLiteral("w:r"));
    m_xml.writeStartElement(QStringLiteral("w:ruby"));
    m_xml.writeStartElement(QStringLiteral("w:rubyPr"));
    writeValue(QStringLiteral("w:rubyAlign"), QStringLiteral("distributeSpace"));
    writeValue(QStringLiteral("w:hps"), number(rubySize));
    writeValue(QStringLiteral("w:hpsRaise"), number(baseSize - 2));
    writeValue(QStringLiteral("w:hpsBaseText"), number(baseSize));
    writeValue(QStringLiteral("w:lid"), QStringLiteral("ja-JP"));
    m_xml.writeEndElement();
    m_xml.writeStartElement(QStringLiteral("w:rt"));
    m_xml.writeStartElement(QStringLiteral("w:r"));
    m_xml.writeStartElement(QStringLiteral("w:rPr"));
    writeValue(QStringLiteral("w:sz"), number(rubySize));
    m_xml.writeEndElement();
    writeText(group.first.stringProperty(engine::FieldData).mid(3));
    m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_xml.writeStartElement(QStringLiteral("w:rubyBase"));
    writeFragments(group, style);
    m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_xml.writeEndElement();
}

void BodyWriter::writeFragments(const Group& group, const QTextCharFormat& style)
{
    for (const QTextFragment& fragment : group.fragments) {
        const QTextCharFormat format = fragment.charFormat();
        writeBookmarks(format);
        // A picture is its object character; text typed beside it may
        // carry the picture's format and is still text.
        const QString text = fragment.text();
        if (format.isImageFormat() && text.count(QChar::ObjectReplacementCharacter) == text.size()) {
            for (qsizetype i = 0; i < text.size(); ++i)
                writePicture(format.toImageFormat());
        } else {
            writeRun(QString(text).remove(QChar::ObjectReplacementCharacter), format, style);
        }
    }
}

// A link target (an anchor name on the text) is a bookmark where it starts.
void BodyWriter::writeBookmarks(const QTextCharFormat& format)
{
    const QStringList names = format.anchorNames();
    if (names == m_lastAnchors)
        return;
    m_lastAnchors = names;
    for (const QString& name : names) {
        const QString id = number(m_context.nextBookmarkId++);
        m_xml.writeEmptyElement(QStringLiteral("w:bookmarkStart"));
        m_xml.writeAttribute(QStringLiteral("w:id"), id);
        m_xml.writeAttribute(QStringLiteral("w:name"), name);
        m_xml.writeEmptyElement(QStringLiteral("w:bookmarkEnd"));
        m_xml.writeAttribute(QStringLiteral("w:id"), id);
    }
}

void BodyWriter::writeRun(const QString& text, const QTextCharFormat& format, const QTextCharFormat& style)
{
    m_xml.writeStartElement(QStringLiteral("w:r"));
    writeRunProperties(format, style);
    QString pending;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QString element = elementFor(text[i]);
        if (element.isEmpty()) {
            if (isXmlCharacter(text, i))
                pending += text[i];
            continue;
        }
        writeText(pending);
        pending.clear();
        m_xml.writeEmptyElement(element);
    }
    writeText(pending);
    m_xml.writeEndElement();
}

void BodyWriter::writeText(const QString& text)
{
    if (text.isEmpty())
        return;
    m_xml.writeStartElement(QStringLiteral("w:t"));
    if (text.front().isSpace() || text.back().isSpace())
        m_xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
    m_xml.writeCharacters(text);
    m_xml.writeEndElement();
}

// Only what differs from the paragraph style's run properties.
void BodyWriter::writeRunProperties(const QTextCharFormat& format, const QTextCharFormat& style)
{
    const QStringList families = familiesOf(format);
    const bool fonts = !families.isEmpty() && families != familiesOf(style);
    const bool bold = format.hasProperty(QTextFormat::FontWeight) && isBold(format) != isBold(style);
    const bool italic = format.hasProperty(QTextFormat::FontItalic) && format.fontItalic() != style.fontItalic();
    const bool strike = format.hasProperty(QTextFormat::FontStrikeOut) && format.fontStrikeOut() != style.fontStrikeOut();
    const std::optional<QColor> colour = colourOf(format.foreground());
    const bool ownColour = colour && colour != colourOf(style.foreground());
    const qint64 size = halfPointsOf(format);
    const bool ownSize = size > 0 && size != halfPointsOf(style);
    const bool underline = format.hasProperty(QTextFormat::TextUnderlineStyle) && format.fontUnderline() != style.fontUnderline();
    const std::optional<QColor> background = colourOf(format.background());
    const bool ownBackground = background && background != colourOf(style.background());
    const QTextCharFormat::VerticalAlignment vertical = format.verticalAlignment();
    const bool shifted = vertical == QTextCharFormat::AlignSuperScript || vertical == QTextCharFormat::AlignSubScript;
    if (!(fonts || bold || italic || strike || ownColour || ownSize || underline || ownBackground || shifted))
        return;
    m_xml.writeStartElement(QStringLiteral("w:rPr"));
    if (fonts) {
        m_xml.writeEmptyElement(QStringLiteral("w:rFonts"));
        m_xml.writeAttribute(QStringLiteral("w:ascii"), families.front());
        m_xml.writeAttribute(QStringLiteral("w:eastAsia"), families.value(1, families.front()));
        m_xml.writeAttribute(QStringLiteral("w:hAnsi"), families.front());
    }
    const QString off = QStringLiteral("0");
    if (bold)
        isBold(format) ? m_xml.writeEmptyElement(QStringLiteral("w:b")) : writeValue(QStringLiteral("w:b"), off);
    if (italic)
        format.fontItalic() ? m_xml.writeEmptyElement(QStringLiteral("w:i")) : writeValue(QStringLiteral("w:i"), off);
    if (strike)
        format.fontStrikeOut() ? m_xml.writeEmptyElement(QStringLiteral("w:strike")) : writeValue(QStringLiteral("w:strike"), off);
    if (ownColour)
        writeValue(QStringLiteral("w:color"), word::colorValue(*colour));
    if (ownSize)
        writeValue(QStringLiteral("w:sz"), number(size));
    if (underline)
        writeValue(QStringLiteral("w:u"), format.fontUnderline() ? QStringLiteral("single") : QStringLiteral("none"));
    if (ownBackground) {
        m_xml.writeEmptyElement(QStringLiteral("w:shd"));
        m_xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("clear"));
        m_xml.writeAttribute(QStringLiteral("w:color"), QStringLiteral("auto"));
        m_xml.writeAttribute(QStringLiteral("w:fill"), word::colorValue(*background));
    }
    if (shifted)
        writeValue(QStringLiteral("w:vertAlign"),
                   vertical == QTextCharFormat::AlignSuperScript ? QStringLiteral("superscript") : QStringLiteral("subscript"));
    m_xml.writeEndElement();
}

QSizeF BodyWriter::displayedSize(const QTextImageFormat& format) const
{
    QSizeF size(format.width(), format.height());
    if (size.width() > 0 && size.height() > 0)
        return size;
    const QVariant resource = m_document.resource(QTextDocument::ImageResource, QUrl(format.name()));
    const QImage image = resource.canConvert<QImage>() ? resource.value<QImage>() : QImage::fromData(resource.toByteArray());
    const QSizeF natural = image.size();
    if (size.width() > 0 && natural.width() > 0)
        return QSizeF(size.width(), natural.height() * size.width() / natural.width());
    if (size.height() > 0 && natural.height() > 0)
        return QSizeF(natural.width() * size.height() / natural.height(), size.height());
    return natural;
}

void BodyWriter::writePicture(const QTextImageFormat& format)
{
    const QString media = m_context.media.nameFor(m_document, format);
    const QSizeF size = displayedSize(format);
    if (media.isEmpty() || size.isEmpty())
        return;
    const QString relationship = m_relationships.add(QStringLiteral("image"), media);
    const qint64 cx = emuOf(size.width());
    const qint64 cy = emuOf(size.height());
    const int placement = format.intProperty(engine::ObjectPlacement);
    m_xml.writeStartElement(QStringLiteral("w:r"));
    m_xml.writeStartElement(QStringLiteral("w:drawing"));
    if (placement == engine::PictureInline) {
        m_xml.writeStartElement(QStringLiteral("wp:inline"));
        for (const char* distance : {"distT", "distB", "distL", "distR"})
            m_xml.writeAttribute(QLatin1String(distance), QStringLiteral("0"));
    } else {
        startAnchor(placement == engine::PictureFloatRight ? QStringLiteral("right") : QStringLiteral("left"));
    }
    writeExtent(cx, cy);
    if (placement != engine::PictureInline) {
        m_xml.writeEmptyElement(QStringLiteral("wp:wrapSquare"));
        m_xml.writeAttribute(QStringLiteral("wrapText"), QStringLiteral("bothSides"));
    }
    const int id = m_context.nextDrawingId++;
    m_xml.writeEmptyElement(QStringLiteral("wp:docPr"));
    m_xml.writeAttribute(QStringLiteral("id"), number(id));
    m_xml.writeAttribute(QStringLiteral("name"), QStringLiteral("Picture %1").arg(id));
    m_xml.writeStartElement(QStringLiteral("wp:cNvGraphicFramePr"));
    m_xml.writeEmptyElement(QStringLiteral("a:graphicFrameLocks"));
    m_xml.writeAttribute(QStringLiteral("noChangeAspect"), QStringLiteral("1"));
    m_xml.writeEndElement();
    writePictureGraphic(relationship, id, cx, cy);
    m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_xml.writeEndElement();
}

// wp:anchor with what Word requires of it, placed at the paragraph's top on
// the `side` of the column.
void BodyWriter::startAnchor(const QString& side)
{
    m_xml.writeStartElement(QStringLiteral("wp:anchor"));
    m_xml.writeAttribute(QStringLiteral("distT"), QStringLiteral("0"));
    m_xml.writeAttribute(QStringLiteral("distB"), QStringLiteral("0"));
    m_xml.writeAttribute(QStringLiteral("distL"), QStringLiteral("114300"));
    m_xml.writeAttribute(QStringLiteral("distR"), QStringLiteral("114300"));
    m_xml.writeAttribute(QStringLiteral("simplePos"), QStringLiteral("0"));
    m_xml.writeAttribute(QStringLiteral("relativeHeight"), number(m_context.nextDrawingId));
    m_xml.writeAttribute(QStringLiteral("behindDoc"), QStringLiteral("0"));
    m_xml.writeAttribute(QStringLiteral("locked"), QStringLiteral("0"));
    m_xml.writeAttribute(QStringLiteral("layoutInCell"), QStringLiteral("1"));
    m_xml.writeAttribute(QStringLiteral("allowOverlap"), QStringLiteral("1"));
    m_xml.writeEmptyElement(QStringLiteral("wp:simplePos"));
    m_xml.writeAttribute(QStringLiteral("x"), QStringLiteral("0"));
    m_xml.writeAttribute(QStringLiteral("y"), QStringLiteral("0"));
    m_xml.writeStartElement(QStringLiteral("wp:positionH"));
    m_xml.writeAttribute(QStringLiteral("relativeFrom"), QStringLiteral("column"));
    m_xml.writeTextElement(QStringLiteral("wp:align"), side);
    m_xml.writeEndElement();
    m_xml.writeStartElement(QStringLiteral("wp:positionV"));
    m_xml.writeAttribute(QStringLiteral("relativeFrom"), QStringLiteral("paragraph"));
    m_xml.writeTextElement(QStringLiteral("wp:posOffset"), QStringLiteral("0"));
    m_xml.writeEndElement();
}

void BodyWriter::writeExtent(qint64 cx, qint64 cy)
{
    m_xml.writeEmptyElement(QStringLiteral("wp:extent"));
    m_xml.writeAttribute(QStringLiteral("cx"), number(cx));
    m_xml.writeAttribute(QStringLiteral("cy"), number(cy));
    m_xml.writeEmptyElement(QStringLiteral("wp:effectExtent"));
    for (const char* side : {"l", "t", "r", "b"})
        m_xml.writeAttribute(QLatin1String(side), QStringLiteral("0"));
}

void BodyWriter::writeShapeFrame(qint64 cx, qint64 cy)
{
    m_xml.writeStartElement(QStringLiteral("a:xfrm"));
    m_xml.writeEmptyElement(QStringLiteral("a:off"));
    m_xml.writeAttribute(QStringLiteral("x"), QStringLiteral("0"));
    m_xml.writeAttribute(QStringLiteral("y"), QStringLiteral("0"));
    m_xml.writeEmptyElement(QStringLiteral("a:ext"));
    m_xml.writeAttribute(QStringLiteral("cx"), number(cx));
    m_xml.writeAttribute(QStringLiteral("cy"), number(cy));
    m_xml.writeEndElement();
    m_xml.writeStartElement(QStringLiteral("a:prstGeom"));
    m_xml.writeAttribute(QStringLiteral("prst"), QStringLiteral("rect"));
    m_xml.writeEmptyElement(QStringLiteral("a:avLst"));
    m_xml.writeEndElement();
}

void BodyWriter::writePictureGraphic(const QString& relationshipId, int id, qint64 cx, qint64 cy)
{
    m_xml.writeStartElement(QStringLiteral("a:graphic"));
    m_xml.writeStartElement(QStringLiteral("a:graphicData"));
    m_xml.writeAttribute(QStringLiteral("uri"), QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/picture"));
    m_xml.writeStartElement(QStringLiteral("pic:pic"));
    m_xml.writeStartElement(QStringLiteral("pic:nvPicPr"));
    m_xml.writeEmptyElement(QStringLiteral("pic:cNvPr"));
    m_xml.writeAttribute(QStringLiteral("id"), number(id));
    m_xml.writeAttribute(QStringLiteral("name"), QStringLiteral("Picture %1").arg(id));
    m_xml.writeEmptyElement(QStringLiteral("pic:cNvPicPr"));
    m_xml.writeEndElement();
    m_xml.writeStartElement(QStringLiteral("pic:blipFill"));
    m_xml.writeEmptyElement(QStringLiteral("a:blip"));
    m_xml.writeAttribute(QStringLiteral("r:embed"), relationshipId);
    m_xml.writeStartElement(QStringLiteral("a:stretch"));
    m_xml.writeEmptyElement(QStringLiteral("a:fillRect"));
    m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_xml.writeStartElement(QStringLiteral("pic:spPr"));
    writeShapeFrame(cx, cy);
    m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_xml.writeEndElement();
}

// Column widths in twips: fixed ones as given, percentages of the text
// width, and the rest sharing what is left.
namespace {

std::vector<double> columnWidths(const QTextTable* table, double textWidth)
{
    const QList<QTextLength> constraints = table->format().columnWidthConstraints();
    const int columns = table->columns();
    std::vector<double> widths(size_t(columns), 0.0);
    double used = 0;
    int open = 0;
    for (int c = 0; c < columns; ++c) {
        const QTextLength length = c < constraints.size() ? constraints[c] : QTextLength();
        if (length.type() == QTextLength::FixedLength)
            widths[size_t(c)] = engine::documentToTwips(length.rawValue());
        else if (length.type() == QTextLength::PercentageLength)
            widths[size_t(c)] = textWidth * length.rawValue() / 100.0;
        else
            ++open;
        used += widths[size_t(c)];
    }
    const double share = open > 0 ? std::max(textWidth - used, 0.0) / open : 0;
    for (double& width : widths) {
        if (width <= 0)
            width = std::max(share, 240.0);
    }
    return widths;
}

} // namespace

void BodyWriter::writeTable(const QTextTable* table)
{
    const QTextTableFormat format = table->format();
    const std::vector<double> widths = columnWidths(table, m_context.textWidthTwips);
    m_xml.writeStartElement(QStringLiteral("w:tbl"));
    m_xml.writeStartElement(QStringLiteral("w:tblPr"));
    m_xml.writeEmptyElement(QStringLiteral("w:tblW"));
    m_xml.writeAttribute(QStringLiteral("w:w"), QStringLiteral("0"));
    m_xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("auto"));
    if (format.border() > 0 && format.borderStyle() != QTextFrameFormat::BorderStyle_None) {
        // Border widths in eighths of a point; a document unit is 3/4 point.
        const QString size = number(std::max<qint64>(2, std::lround(format.border() * 6)));
        m_xml.writeStartElement(QStringLiteral("w:tblBorders"));
        for (const char* side : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"}) {
            m_xml.writeEmptyElement(QLatin1String(side));
            m_xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("single"));
            m_xml.writeAttribute(QStringLiteral("w:sz"), size);
            m_xml.writeAttribute(QStringLiteral("w:space"), QStringLiteral("0"));
            m_xml.writeAttribute(QStringLiteral("w:color"), QStringLiteral("auto"));
        }
        m_xml.writeEndElement();
    }
    m_xml.writeEmptyElement(QStringLiteral("w:tblLayout"));
    m_xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("fixed"));
    const QString padding = number(twipsOf(format.cellPadding()));
    m_xml.writeStartElement(QStringLiteral("w:tblCellMar"));
    for (const char* side : {"w:top", "w:left", "w:bottom", "w:right"}) {
        m_xml.writeEmptyElement(QLatin1String(side));
        m_xml.writeAttribute(QStringLiteral("w:w"), padding);
        m_xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("dxa"));
    }
    m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_xml.writeStartElement(QStringLiteral("w:tblGrid"));
    for (const double width : widths) {
        m_xml.writeEmptyElement(QStringLiteral("w:gridCol"));
        m_xml.writeAttribute(QStringLiteral("w:w"), number(std::lround(width)));
    }
    m_xml.writeEndElement();
    for (int row = 0; row < table->rows(); ++row) {
        m_xml.writeStartElement(QStringLiteral("w:tr"));
        for (int column = 0; column < table->columns();) {
            const QTextTableCell cell = table->cellAt(row, column);
            const int span = std::max(cell.columnSpan(), 1);
            double width = 0;
            for (int c = column; c < column + span && c < int(widths.size()); ++c)
                width += widths[size_t(c)];
            writeCell(table, row, column, width);
            column = cell.column() + span > column ? cell.column() + span : column + 1;
        }
        m_xml.writeEndElement();
    }
    m_xml.writeEndElement();
    m_lastWasTable = true;
}

void BodyWriter::writeCell(const QTextTable* table, int row, int column, double widthTwips)
{
    const QTextTableCell cell = table->cellAt(row, column);
    const bool origin = cell.row() == row;
    m_xml.writeStartElement(QStringLiteral("w:tc"));
    m_xml.writeStartElement(QStringLiteral("w:tcPr"));
    m_xml.writeEmptyElement(QStringLiteral("w:tcW"));
    m_xml.writeAttribute(QStringLiteral("w:w"), number(std::lround(widthTwips)));
    m_xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("dxa"));
    if (cell.columnSpan() > 1)
        writeValue(QStringLiteral("w:gridSpan"), number(cell.columnSpan()));
    if (!origin)
        m_xml.writeEmptyElement(QStringLiteral("w:vMerge"));
    else if (cell.rowSpan() > 1)
        writeValue(QStringLiteral("w:vMerge"), QStringLiteral("restart"));
    if (const auto shading = colourOf(cell.format().background()); shading && origin) {
        m_xml.writeEmptyElement(QStringLiteral("w:shd"));
        m_xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("clear"));
        m_xml.writeAttribute(QStringLiteral("w:color"), QStringLiteral("auto"));
        m_xml.writeAttribute(QStringLiteral("w:fill"), word::colorValue(*shading));
    }
    m_xml.writeEndElement();
    m_lastWasTable = true;
    if (origin) {
        for (QTextFrame::iterator it = cell.begin(); !it.atEnd(); ++it) {
            if (QTextFrame* child = it.currentFrame())
                writeChildFrame(child);
            else if (it.currentBlock().isValid())
                writeBlock(it.currentBlock());
        }
    }
    if (m_lastWasTable)
        m_xml.writeEmptyElement(QStringLiteral("w:p"));
    m_xml.writeEndElement();
    m_lastWasTable = false;
}

// A text frame stands in a paragraph of its own as a text box above and
// below which the text goes on: a Word 2010 shape, and VML for readers that
// know only that.
void BodyWriter::writeTextFrame(QTextFrame* frame)
{
    const QTextFrameFormat format = frame->frameFormat();
    double width = format.width().type() == QTextLength::FixedLength ? format.width().rawValue() : 0;
    if (width <= 0)
        width = engine::twipsToDocument(m_context.textWidthTwips);
    double height = format.height().type() == QTextLength::FixedLength ? format.height().rawValue() : 0;
    if (height <= 0 && m_document.documentLayout())
        height = m_document.documentLayout()->frameBoundingRect(frame).height();
    if (height <= 0)
        height = engine::twipsToDocument(kDefaultFrameHeightTwips);
    m_inTextBox = true;
    m_xml.writeStartElement(QStringLiteral("w:p"));
    m_xml.writeStartElement(QStringLiteral("w:r"));
    m_xml.writeStartElement(QStringLiteral("mc:AlternateContent"));
    m_xml.writeStartElement(QStringLiteral("mc:Choice"));
    m_xml.writeAttribute(QStringLiteral("Requires"), QStringLiteral("wps"));
    writeTextBoxShape(frame, emuOf(width), emuOf(height));
    m_xml.writeEndElement();
    m_xml.writeStartElement(QStringLiteral("mc:Fallback"));
    writeVmlTextBox(frame, engine::documentToTwips(width) / 20.0, engine::documentToTwips(height) / 20.0);
    m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_inTextBox = false;
    m_lastWasTable = false;
}

void BodyWriter::writeTextBoxContent(QTextFrame* frame)
{
    m_xml.writeStartElement(QStringLiteral("w:txbxContent"));
    m_lastWasTable = true; // an empty frame still needs its paragraph
    bool wrote = false;
    for (QTextFrame::iterator it = frame->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* child = it.currentFrame())
            writeChildFrame(child);
        else if (it.currentBlock().isValid())
            writeBlock(it.currentBlock());
        wrote = true;
    }
    if (m_lastWasTable || !wrote)
        m_xml.writeEmptyElement(QStringLiteral("w:p"));
    m_xml.writeEndElement();
}

void BodyWriter::writeTextBoxShape(QTextFrame* frame, qint64 cx, qint64 cy)
{
    const QString inset = number(emuOf(frame->frameFormat().padding()));
    m_xml.writeStartElement(QStringLiteral("w:drawing"));
    startAnchor(QStringLiteral("left"));
    writeExtent(cx, cy);
    m_xml.writeEmptyElement(QStringLiteral("wp:wrapTopAndBottom"));
    const int id = m_context.nextDrawingId++;
    m_xml.writeEmptyElement(QStringLiteral("wp:docPr"));
    m_xml.writeAttribute(QStringLiteral("id"), number(id));
    m_xml.writeAttribute(QStringLiteral("name"), QStringLiteral("Text Box %1").arg(id));
    m_xml.writeEmptyElement(QStringLiteral("wp:cNvGraphicFramePr"));
    m_xml.writeStartElement(QStringLiteral("a:graphic"));
    m_xml.writeStartElement(QStringLiteral("a:graphicData"));
    m_xml.writeAttribute(QStringLiteral("uri"), QStringLiteral("http://schemas.microsoft.com/office/word/2010/wordprocessingShape"));
    m_xml.writeStartElement(QStringLiteral("wps:wsp"));
    m_xml.writeEmptyElement(QStringLiteral("wps:cNvSpPr"));
    m_xml.writeAttribute(QStringLiteral("txBox"), QStringLiteral("1"));
    m_xml.writeStartElement(QStringLiteral("wps:spPr"));
    writeShapeFrame(cx, cy);
    m_xml.writeStartElement(QStringLiteral("a:solidFill"));
    m_xml.writeEmptyElement(QStringLiteral("a:srgbClr"));
    m_xml.writeAttribute(QStringLiteral("val"), QStringLiteral("FFFFFF"));
    m_xml.writeEndElement();
    m_xml.writeStartElement(QStringLiteral("a:ln"));
    m_xml.writeAttribute(QStringLiteral("w"), QStringLiteral("9525"));
    m_xml.writeStartElement(QStringLiteral("a:solidFill"));
    m_xml.writeEmptyElement(QStringLiteral("a:srgbClr"));
    m_xml.writeAttribute(QStringLiteral("val"), QStringLiteral("000000"));
    m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_xml.writeStartElement(QStringLiteral("wps:txbx"));
    writeTextBoxContent(frame);
    m_xml.writeEndElement();
    m_xml.writeStartElement(QStringLiteral("wps:bodyPr"));
    m_xml.writeAttribute(QStringLiteral("wrap"), QStringLiteral("square"));
    for (const char* side : {"lIns", "tIns", "rIns", "bIns"})
        m_xml.writeAttribute(QLatin1String(side), inset);
    m_xml.writeEmptyElement(QStringLiteral("a:noAutofit"));
    m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_xml.writeEndElement();
}

void BodyWriter::writeVmlTextBox(QTextFrame* frame, double widthPoints, double heightPoints)
{
    m_xml.writeStartElement(QStringLiteral("w:pict"));
    m_xml.writeStartElement(QStringLiteral("v:rect"));
    m_xml.writeAttribute(QStringLiteral("style"), QStringLiteral("width:%1pt;height:%2pt;mso-wrap-style:square")
                                                      .arg(QString::number(widthPoints, 'f', 2), QString::number(heightPoints, 'f', 2)));
    m_xml.writeAttribute(QStringLiteral("strokecolor"), QStringLiteral("black"));
    m_xml.writeStartElement(QStringLiteral("v:textbox"));
    writeTextBoxContent(frame);
    m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_xml.writeEndElement();
}

} // namespace formats::docx
