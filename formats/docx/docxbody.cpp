#include "formats/docx/docxbody.h"

#include "engine/fieldformat.h"
#include "engine/hostunits.h"
#include "engine/objects.h"
#include "engine/snapshotencoding.h"
#include "formats/docx/wordmapping.h"
#include "formats/docx/xmlnames.h"
#include "formats/fielddata.h"

#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

#include <cmath>

namespace formats::docx {

namespace {

// The program's fields carry these; see engine/fieldformat.h.
constexpr int kProgramFieldAttribute = 149;
constexpr int kLinkFieldKind = 1;
constexpr int kTagFieldKind = 2;

bool isTransparentInParagraph(QStringView name)
{
    return name == u"ins" || name == u"smartTag" || name == u"customXml" || name == u"sdt" || name == u"sdtContent"
        || name == u"moveTo" || name == u"fldSimple";
}

bool isTransparentInContainer(QStringView name)
{
    return name == u"document" || name == u"body" || name == u"hdr" || name == u"ftr" || name == u"sdt"
        || name == u"sdtContent" || name == u"customXml" || name == u"ins" || name == u"moveTo";
}

// The target of a HYPERLINK field instruction as field data ("" when it is
// another field): `HYPERLINK "address"` or `HYPERLINK \l "bookmark"`.
QString hyperlinkOfInstruction(const QString& instruction)
{
    static const QRegularExpression hyperlink(QStringLiteral("^\\s*HYPERLINK\\s+(\\\\l\\s+)?\"([^\"]*)\""));
    const QRegularExpressionMatch m = hyperlink.match(instruction);
    if (!m.hasMatch())
        return {};
    return fieldDataForAddress(m.capturedView(1).isEmpty() ? m.captured(2) : u'#' + m.captured(2));
}

// A VML length ("100pt", "1.5in", "2cm") in document units.
std::optional<double> vmlLength(QStringView value)
{
    const std::optional<double> twips = value.endsWith(u"px") ? std::optional<double>(value.chopped(2).toDouble() * 15)
                                                              : word::twipsOf(value);
    return twips ? std::optional<double>(engine::twipsToDocument(*twips)) : std::nullopt;
}

QSizeF vmlSize(const QString& style)
{
    QSizeF size;
    for (const QString& declaration : style.split(u';')) {
        const QString property = declaration.section(u':', 0, 0).trimmed();
        const std::optional<double> length = vmlLength(declaration.section(u':', 1).trimmed());
        if (property == u"width" && length)
            size.setWidth(*length);
        else if (property == u"height" && length)
            size.setHeight(*length);
    }
    return size;
}

int boundedTwips(const QXmlStreamReader& reader, QStringView name, int fallback)
{
    const std::optional<double> twips = word::twipsOf(attribute(reader, name));
    return twips ? int(std::lround(std::clamp(std::abs(*twips), 0.0, 31680.0 * 2))) : fallback;
}

} // namespace

BodyReader::BodyReader(ReaderContext& context, QString partName, QTextCursor cursor)
    : m_context(context)
    , m_partName(std::move(partName))
    , m_cursor(std::move(cursor))
{
}

bool BodyReader::read(const QByteArray& xml)
{
    m_reader.clear();
    m_reader.addData(xml);
    if (m_reader.readNextStartElement())
        readContainer(0);
    return !m_reader.hasError();
}

void BodyReader::readContainer(int depth)
{
    while (m_reader.readNextStartElement()) {
        const QStringView name = m_reader.name();
        if (depth > kMaxElementDepth)
            m_reader.skipCurrentElement();
        else if (name == u"p")
            readParagraph(depth + 1);
        else if (name == u"tbl")
            readTable(depth + 1);
        else if (name == u"sectPr")
            readSection();
        else if (isTransparentInContainer(name))
            readContainer(depth + 1);
        else {
            if (name == u"del" || name == u"moveFrom")
                m_context.report.note(Loss::TrackedChanges);
            m_reader.skipCurrentElement();
        }
    }
}

void BodyReader::readParagraph(int depth)
{
    ParagraphProperties properties;
    bool started = false;
    QTextCharFormat base;
    while (m_reader.readNextStartElement()) {
        if (!started) {
            started = true;
            if (m_reader.name() == u"pPr") {
                properties = readParagraphProperties(m_reader);
                base = startParagraph(properties);
                continue;
            }
            base = startParagraph(properties);
        }
        readParagraphChild(depth, base, QTextCharFormat());
    }
    if (!started)
        startParagraph(properties);
    if (properties.endsSection)
        m_pendingPageBreak = true;
}

QTextCharFormat BodyReader::startParagraph(const ParagraphProperties& properties)
{
    const ResolvedParagraphStyle style = m_context.styles.paragraphStyle(properties.styleId);
    QTextBlockFormat block = style.block;
    block.merge(properties.block);
    if (style.headingLevel > 0)
        block.setHeadingLevel(style.headingLevel);
    if (m_pendingPageBreak)
        block.setPageBreakPolicy(block.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
    m_pendingPageBreak = false;
    if (m_blockUnused) {
        m_cursor.setBlockFormat(block);
        m_cursor.setBlockCharFormat(style.characters);
    } else {
        m_cursor.insertBlock(block, style.characters);
    }
    m_blockUnused = false;
    if (const std::optional<ListMembership> list = properties.list ? properties.list : style.list)
        joinList(*list);
    return style.characters;
}

void BodyReader::joinList(const ListMembership& membership)
{
    const QTextListFormat format = m_context.numbering.listFormat(membership.numberingId, membership.level);
    if (format.style() == QTextListFormat::ListStyleUndefined)
        return;
    const QString key = membership.numberingId + u'/' + QString::number(membership.level);
    if (QTextList* list = m_lists.value(key))
        list->add(m_cursor.block());
    else
        m_lists.insert(key, m_cursor.createList(format));
}

void BodyReader::readParagraphChild(int depth, const QTextCharFormat& base, const QTextCharFormat& link)
{
    const QStringView name = m_reader.name();
    if (name == u"r") {
        readRun(base, link);
    } else if (name == u"hyperlink" && depth < kMaxElementDepth) {
        readHyperlink(depth + 1, base, link);
    } else if (name == u"sdt" && depth < kMaxElementDepth) {
        readContentControl(depth + 1, base, link);
    } else if (name == u"bookmarkStart") {
        if (const QString bookmark = attribute(m_reader, u"name"); !bookmark.isEmpty() && m_pendingAnchors.size() < 16)
            m_pendingAnchors << bookmark;
        m_reader.skipCurrentElement();
    } else if (isTransparentInParagraph(name) && depth < kMaxElementDepth) {
        if (name == u"ins" || name == u"moveTo")
            m_context.report.note(Loss::TrackedChanges);
        const QString data = name == u"fldSimple" ? hyperlinkOfInstruction(attribute(m_reader, u"instr")) : QString();
        const QTextCharFormat inner = data.isEmpty() ? link : linkFormat(data);
        while (m_reader.readNextStartElement())
            readParagraphChild(depth + 1, base, inner);
    } else {
        if (name == u"del" || name == u"moveFrom")
            m_context.report.note(Loss::TrackedChanges);
        else if (name == u"oMath" || name == u"oMathPara")
            m_context.report.note(Loss::Equations);
        m_reader.skipCurrentElement();
    }
}

void BodyReader::readHyperlink(int depth, const QTextCharFormat& base, const QTextCharFormat& outer)
{
    if (m_inProgramField) {
        while (m_reader.readNextStartElement())
            readParagraphChild(depth, base, outer);
        return;
    }
    QString address;
    if (const QString anchor = attribute(m_reader, u"anchor"); !anchor.isEmpty())
        address = u'#' + anchor;
    else if (const auto target = m_context.package.relationship(m_partName, attribute(m_reader, u"id")); target && target->external)
        address = target->target;
    const QTextCharFormat link = address.isEmpty() ? QTextCharFormat() : linkFormat(fieldDataForAddress(address));
    while (m_reader.readNextStartElement())
        readParagraphChild(depth, base, link);
}

QTextCharFormat BodyReader::linkFormat(const QString& data)
{
    QTextCharFormat field = fieldFormat(data, fieldKind(data) == FieldKind::Tag ? kTagFieldKind : kLinkFieldKind,
                                        kProgramFieldAttribute);
    field.setForeground(fieldColour(data));
    return field;
}

void BodyReader::readRun(const QTextCharFormat& base, const QTextCharFormat& link)
{
    QTextCharFormat format = base;
    format.merge(link);
    while (m_reader.readNextStartElement()) {
        const QStringView name = m_reader.name();
        if (name == u"rPr") {
            QString style;
            const QTextCharFormat direct = readRunProperties(m_reader, &style);
            format = base;
            format.merge(m_context.styles.characterStyle(style));
            format.merge(direct);
            format.merge(link);
            continue;
        }
        if (name == u"t") {
            QString text = m_reader.readElementText();
            text.replace(u'\n', u' ').replace(u'\r', u' ');
            insertText(text, format);
            continue;
        }
        if (name == u"drawing") {
            readDrawing();
            continue;
        }
        if (name == u"pict") {
            readVmlPicture();
            continue;
        }
        if (name == u"ruby") {
            readRuby(base, link);
            continue;
        }
        if (name == u"tab")
            insertText(QStringLiteral("\t"), format);
        else if (name == u"br" && attribute(m_reader, u"type") == u"page")
            m_pendingPageBreak = true;
        else if (name == u"br" || name == u"cr")
            insertText(QString(QChar::LineSeparator), format);
        else if (name == u"noBreakHyphen")
            insertText(QString(QChar(0x2011)), format);
        else if (name == u"softHyphen")
            insertText(QString(QChar(0x00AD)), format);
        else if (name == u"sym")
            insertText(QString(QChar(char16_t(attribute(m_reader, u"char").toUShort(nullptr, 16)))), format);
        else if (name == u"footnoteReference")
            m_context.report.note(Loss::Footnotes);
        else if (name == u"endnoteReference")
            m_context.report.note(Loss::Endnotes);
        else if (name == u"commentReference")
            m_context.report.note(Loss::Comments);
        m_reader.skipCurrentElement();
    }
}

void BodyReader::insertText(const QString& text, const QTextCharFormat& format)
{
    if (!m_pendingAnchors.isEmpty()) {
        QTextCharFormat target = format;
        engine::setAnchorNames(target, m_pendingAnchors);
        m_pendingAnchors.clear();
        insertText(text, target);
        return;
    }
    if (m_pendingPageBreak) {
        m_pendingPageBreak = false;
        QTextBlockFormat block = m_cursor.blockFormat();
        block.setPageBreakPolicy(block.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
        if (m_cursor.block().length() > 1)
            m_cursor.insertBlock(block, m_cursor.blockCharFormat());
        else
            m_cursor.setBlockFormat(block);
    }
    m_cursor.insertText(text, format);
}

void BodyReader::readDrawing()
{
    QSizeF size;
    QString relationshipId;
    engine::PicturePlacement placement = engine::PictureInline;
    while (!m_reader.atEnd() && !(m_reader.isEndElement() && m_reader.name() == u"drawing")) {
        if (m_reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = m_reader.name();
        if (name == u"anchor")
            placement = engine::PictureFloatLeft;
        else if (name == u"align" && m_reader.readElementText() == u"right" && placement != engine::PictureInline)
            placement = engine::PictureFloatRight;
        else if (name == u"extent" && size.isEmpty())
            size = QSizeF(word::emuToDocument(attribute(m_reader, u"cx").toDouble()),
                          word::emuToDocument(attribute(m_reader, u"cy").toDouble()));
        else if (name == u"blip" && relationshipId.isEmpty())
            relationshipId = attribute(m_reader, u"embed");
        else if (name == u"chart")
            m_context.report.note(Loss::Charts);
    }
    if (!relationshipId.isEmpty())
        readPicture(relationshipId, size, placement);
}

void BodyReader::readVmlPicture()
{
    QSizeF size;
    QString relationshipId;
    while (!m_reader.atEnd() && !(m_reader.isEndElement() && m_reader.name() == u"pict")) {
        if (m_reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (m_reader.name() == u"shape")
            size = vmlSize(attribute(m_reader, u"style"));
        else if (m_reader.name() == u"imagedata" && relationshipId.isEmpty())
            relationshipId = attribute(m_reader, u"id");
    }
    if (!relationshipId.isEmpty())
        readPicture(relationshipId, size, engine::PictureInline);
}

void BodyReader::readPicture(QStringView relationshipId, QSizeF size, engine::PicturePlacement placement)
{
    const std::optional<Relationship> found = m_context.package.relationship(m_partName, relationshipId.toString());
    if (!found || found->external)
        return;
    const std::optional<QByteArray> bytes = m_context.package.part(found->target);
    const QImage image = bytes ? QImage::fromData(*bytes) : QImage();
    if (image.isNull()) {
        m_context.report.note(Loss::UndrawablePictures);
        return;
    }
    QTextDocument& document = *m_cursor.document();
    engine::Objects objects(document);
    const int id = objects.insertPicture(m_cursor, image, placement, QFileInfo(found->target).fileName());
    const std::optional<int> position = objects.picturePosition(id);
    if (!position || size.width() <= 0 || size.height() <= 0)
        return;
    QTextCursor picture(&document);
    picture.setPosition(*position);
    picture.setPosition(*position + 1, QTextCursor::KeepAnchor);
    QTextImageFormat sized;
    sized.setWidth(size.width());
    sized.setHeight(size.height());
    picture.mergeCharFormat(sized);
}

void BodyReader::readTable(int depth)
{
    if (m_tableNesting >= kMaxTableNesting || depth > kMaxElementDepth) {
        m_reader.skipCurrentElement();
        return;
    }
    ++m_tableNesting;
    TableBuilder builder;
    while (m_reader.readNextStartElement()) {
        const QStringView name = m_reader.name();
        if (name == u"tblGrid") {
            while (m_reader.readNextStartElement()) {
                if (m_reader.name() == u"gridCol" && builder.widths.size() < int(engine::snapshotencoding::kMaxTableColumns))
                    builder.widths << engine::twipsToDocument(boundedTwips(m_reader, u"w", 0));
                m_reader.skipCurrentElement();
            }
        } else if (name == u"tblPr") {
            readTableProperties(builder);
        } else if (name == u"tr") {
            readRow(depth, builder);
        } else {
            m_reader.skipCurrentElement();
        }
    }
    finishTable(builder);
    --m_tableNesting;
}

QTextTable* BodyReader::tableFor(TableBuilder& builder, int columns)
{
    if (!builder.table) {
        QTextTableFormat format;
        format.setCellPadding(builder.padding);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorder(1);
        builder.table = m_cursor.insertTable(1, std::max<int>(columns, std::max<int>(1, builder.widths.size())), format);
        return builder.table;
    }
    if (builder.table->columns() < columns)
        builder.table->appendColumns(columns - builder.table->columns());
    return builder.table;
}

void BodyReader::readRow(int depth, TableBuilder& builder)
{
    if (builder.rows >= int(engine::snapshotencoding::kMaxTableRows)) {
        m_reader.skipCurrentElement();
        return;
    }
    const int row = builder.rows++;
    if (builder.table)
        builder.table->appendRows(1);
    int column = 0;
    while (m_reader.readNextStartElement()) {
        if (m_reader.name() != u"tc" || column >= int(engine::snapshotencoding::kMaxTableColumns)) {
            m_reader.skipCurrentElement();
            continue;
        }
        column += readCell(depth, builder, row, column);
    }
    if (!builder.table)
        tableFor(builder, 1);
}

// Reads one w:tc at (row, column); returns the grid columns it covers.
int BodyReader::readCell(int depth, TableBuilder& builder, int row, int column)
{
    int span = 1;
    QString verticalMerge;
    bool merged = false;
    std::optional<QColor> shading;
    QTextTable* table = nullptr;
    while (m_reader.readNextStartElement()) {
        if (m_reader.name() == u"tcPr") {
            while (m_reader.readNextStartElement()) {
                const QStringView name = m_reader.name();
                if (name == u"gridSpan")
                    span = std::clamp(attribute(m_reader, u"val").toInt(), 1, int(engine::snapshotencoding::kMaxTableColumns) - column);
                else if (name == u"vMerge") {
                    merged = true;
                    verticalMerge = attribute(m_reader, u"val");
                } else if (name == u"shd")
                    shading = word::colorOf(attribute(m_reader, u"fill"));
                m_reader.skipCurrentElement();
            }
            continue;
        }
        if (!table) {
            table = tableFor(builder, column + span);
            QTextTableCell cell = table->cellAt(row, column);
            m_cursor = cell.firstCursorPosition();
            m_blockUnused = true;
        }
        const QStringView name = m_reader.name();
        if (name == u"p")
            readParagraph(depth + 1);
        else if (name == u"tbl")
            readTable(depth + 1);
        else if (isTransparentInContainer(name))
            readContainer(depth + 1);
        else
            m_reader.skipCurrentElement();
    }
    if (!table)
        table = tableFor(builder, column + span);
    // Last: the cell's format lives where its first paragraph's does.
    if (shading) {
        QTextTableCell cell = table->cellAt(row, column);
        QTextTableCellFormat format = cell.format().toTableCellFormat();
        format.setBackground(*shading);
        cell.setFormat(format);
    }
    noteMerge(builder, row, column, span, merged ? (verticalMerge == u"restart" ? 1 : 2) : 0);
    return span;
}

void BodyReader::noteMerge(TableBuilder& builder, int row, int column, int span, int vertical)
{
    if (vertical == 2) {
        for (Merge& merge : builder.merges) {
            if (merge.column == column && merge.row + merge.rows == row) {
                ++merge.rows;
                return;
            }
        }
    }
    if (span > 1 || vertical == 1)
        builder.merges.push_back({row, column, 1, span});
}

void BodyReader::finishTable(TableBuilder& builder)
{
    QTextTable* table = builder.table;
    if (!table)
        return;
    for (const Merge& merge : builder.merges) {
        if (merge.rows > 1 || merge.columns > 1)
            table->mergeCells(merge.row, merge.column, merge.rows, merge.columns);
    }
    if (!builder.widths.isEmpty()) {
        QTextTableFormat format = table->format();
        QList<QTextLength> widths;
        for (int i = 0; i < table->columns(); ++i)
            widths << QTextLength(QTextLength::FixedLength, i < builder.widths.size() ? builder.widths[i] : builder.widths.back());
        format.setColumnWidthConstraints(widths);
        table->setFormat(format);
    }
    m_cursor = table->lastCursorPosition();
    m_cursor.movePosition(QTextCursor::NextCharacter);
    m_blockUnused = true;
}

void BodyReader::readSection()
{
    engine::PageSetup page;
    bool hasPage = false;
    while (m_reader.readNextStartElement()) {
        const QStringView name = m_reader.name();
        if (name == u"pgSz") {
            hasPage = true;
            page.paperWidth = boundedTwips(m_reader, u"w", page.paperWidth);
            page.paperHeight = boundedTwips(m_reader, u"h", page.paperHeight);
            page.landscape = attribute(m_reader, u"orient") == u"landscape";
        } else if (name == u"pgMar") {
            hasPage = true;
            page.marginTop = boundedTwips(m_reader, u"top", page.marginTop);
            page.marginRight = boundedTwips(m_reader, u"right", page.marginRight);
            page.marginBottom = boundedTwips(m_reader, u"bottom", page.marginBottom);
            page.marginLeft = boundedTwips(m_reader, u"left", page.marginLeft);
        } else if (name == u"titlePg") {
            m_section.titlePage = word::isOn(attribute(m_reader, u"val"));
        } else if (name == u"headerReference") {
            m_section.headers.insert(attribute(m_reader, u"type"), attribute(m_reader, u"id"));
        } else if (name == u"footerReference") {
            m_section.footers.insert(attribute(m_reader, u"type"), attribute(m_reader, u"id"));
        }
        m_reader.skipCurrentElement();
    }
    if (hasPage)
        m_section.page = page;
}

} // namespace formats::docx
