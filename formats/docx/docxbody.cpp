#include "formats/docx/docxbody.h"

#include "engine/fieldformat.h"
#include "engine/hostunits.h"
#include "engine/objects.h"
#include "engine/snapshotencoding.h"
#include "formats/docx/docxequations.h"
#include "formats/word/placeholder.h"
#include "formats/word/wordmapping.h"
#include "formats/docx/xmlnames.h"
#include "formats/html/fielddata.h"

#include <QFileInfo>
#include <QImage>
#include <QSet>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

#include <cmath>

namespace formats::docx {

using word::Loss;

namespace {

// The program's fields carry these; see engine/fieldformat.h.
constexpr int kProgramFieldAttribute = 149;
constexpr int kLinkFieldKind = 1;
constexpr int kTagFieldKind = 2;
constexpr double kMaxPictureSide = 5000;

bool isTransparentInParagraph(QStringView name)
{
    return name == u"ins" || name == u"smartTag" || name == u"customXml" || name == u"sdt" || name == u"sdtContent"
        || name == u"moveTo" || name == u"fldSimple" || name == u"bdo" || name == u"dir";
}

bool isTransparentInContainer(QStringView name)
{
    return name == u"document" || name == u"body" || name == u"hdr" || name == u"ftr" || name == u"sdt"
        || name == u"sdtContent" || name == u"customXml" || name == u"ins" || name == u"moveTo" || name == u"footnotes"
        || name == u"endnotes" || name == u"txbxContent";
}

// Whether every namespace an alternate content's choice requires (prefixes
// such as "wps", "w14") is one whose elements the readers know; the others'
// content is read from the fallback.
bool understands(const QString& required)
{
    static const QSet<QString> known{
        QStringLiteral("wps"),  QStringLiteral("wpg"),  QStringLiteral("wpc"),   QStringLiteral("wpi"),
        QStringLiteral("wp14"), QStringLiteral("w14"),  QStringLiteral("w15"),   QStringLiteral("w16se"),
        QStringLiteral("a14"),  QStringLiteral("v"),    QStringLiteral("o"),     QStringLiteral("w10"),
        QStringLiteral("wne"),  QStringLiteral("w16cid"), QStringLiteral("w16cex"), QStringLiteral("m"),
    };
    const QStringList prefixes = required.split(u' ', Qt::SkipEmptyParts);
    return !prefixes.isEmpty() && std::all_of(prefixes.begin(), prefixes.end(), [](const QString& p) { return known.contains(p); });
}

// Lower-case Roman numerals, as Word numbers endnotes.
QString romanNumeral(int number)
{
    static const std::pair<int, const char*> digits[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"},
                                                         {90, "xc"},  {50, "l"},   {40, "xl"},  {10, "x"},   {9, "ix"},
                                                         {5, "v"},    {4, "iv"},   {1, "i"}};
    QString roman;
    for (const auto& [value, letters] : digits) {
        for (; number >= value && roman.size() < 64; number -= value)
            roman += QLatin1String(letters);
    }
    return roman;
}

std::optional<QTextCharFormat::VerticalAlignment> cellAlignmentOf(QStringView value)
{
    if (value == u"top")
        return QTextCharFormat::AlignTop;
    if (value == u"center")
        return QTextCharFormat::AlignMiddle;
    if (value == u"bottom")
        return QTextCharFormat::AlignBottom;
    return std::nullopt;
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
    , m_objects(*m_cursor.document())
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

// True, noting it, when `depth` is past what the reader follows.
bool BodyReader::tooDeepAt(int depth)
{
    if (depth <= kMaxElementDepth)
        return false;
    m_tooDeep = true;
    return true;
}

void BodyReader::readContainer(int depth)
{
    while (m_reader.readNextStartElement())
        readBlockLevel(depth);
    leavePositionedFrame();
}

// One element where paragraphs and tables stand.
void BodyReader::readBlockLevel(int depth)
{
    const QStringView name = m_reader.name();
    if (tooDeepAt(depth)) {
        m_reader.skipCurrentElement();
        return;
    }
    if (name != u"p")
        leavePositionedFrame();
    if (name == u"p")
        readParagraph(depth + 1);
    else if (name == u"tbl")
        readTable(depth + 1);
    else if (name == u"sectPr")
        readSection();
    else if (name == u"footnote")
        readNote(depth + 1, m_context.notes.footnotes);
    else if (name == u"endnote")
        readNote(depth + 1, m_context.notes.endnotes);
    else if (name == u"AlternateContent")
        readAlternateContent([&] { readContainer(depth + 1); });
    else if (isTransparentInContainer(name))
        readContainer(depth + 1);
    else {
        if (name == u"del" || name == u"moveFrom")
            m_context.report.note(Loss::TrackedChanges);
        m_reader.skipCurrentElement();
    }
}

// A footnote or endnote the text refers to; separators and notes nobody
// refers to are left out.
void BodyReader::readNote(int depth, const QHash<QString, QString>& marks)
{
    const auto mark = marks.constFind(attribute(m_reader, u"id"));
    if (mark == marks.cend()) {
        m_reader.skipCurrentElement();
        return;
    }
    m_noteMark = *mark;
    readContainer(depth);
    m_noteMark.clear();
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
                placeParagraph(properties);
                base = startParagraph(properties);
                continue;
            }
            placeParagraph(properties);
            base = startParagraph(properties);
        }
        readParagraphChild(depth, base, QTextCharFormat());
    }
    if (!started) {
        placeParagraph(properties);
        startParagraph(properties);
    }
    leaveParagraphFrames();
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
    if (tooDeepAt(depth)) {
        m_reader.skipCurrentElement();
    } else if (name == u"r") {
        readRun(depth + 1, base, link);
    } else if (name == u"hyperlink") {
        readHyperlink(depth + 1, base, link);
    } else if (name == u"sdt") {
        readContentControl(depth + 1, base, link);
    } else if (name == u"bookmarkStart") {
        if (const QString bookmark = attribute(m_reader, u"name"); !bookmark.isEmpty() && m_pendingAnchors.size() < 16)
            m_pendingAnchors << bookmark;
        m_reader.skipCurrentElement();
    } else if (name == u"AlternateContent") {
        readAlternateContent([&] {
            while (m_reader.readNextStartElement())
                readParagraphChild(depth + 1, base, link);
        });
    } else if (name == u"oMath" || name == u"oMathPara") {
        m_context.report.note(Loss::Equations);
        insertEquation(base);
    } else if (isTransparentInParagraph(name)) {
        if (name == u"ins" || name == u"moveTo")
            m_context.report.note(Loss::TrackedChanges);
        const QString instruction = name == u"fldSimple" ? attribute(m_reader, u"instr") : QString();
        const QString data = hyperlinkOfInstruction(instruction);
        QTextCharFormat inner = data.isEmpty() ? link : linkFormat(data);
        if (!m_inProgramField && word::isPageNumberInstruction(instruction))
            inner = engine::pageNumberFieldFormat(m_context.nextFieldId++);
        while (m_reader.readNextStartElement())
            readParagraphChild(depth + 1, base, inner);
    } else {
        if (name == u"del" || name == u"moveFrom")
            m_context.report.note(Loss::TrackedChanges);
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

// mc:AlternateContent: the first choice the reader understands, else the
// fallback, each through `readBranch` (which reads the branch's children).
void BodyReader::readAlternateContent(const std::function<void()>& readBranch)
{
    bool chosen = false;
    while (m_reader.readNextStartElement()) {
        const QStringView name = m_reader.name();
        const QString required = attribute(m_reader, u"Requires");
        if (name == u"Choice" && required.startsWith(u"cx"))
            m_context.report.note(Loss::Charts);
        if (!chosen && (name == u"Fallback" || (name == u"Choice" && understands(required)))) {
            chosen = true;
            readBranch();
        } else {
            m_reader.skipCurrentElement();
        }
    }
}

QTextCharFormat BodyReader::linkFormat(const QString& data)
{
    QTextCharFormat field = fieldFormat(data, fieldKind(data) == FieldKind::Tag ? kTagFieldKind : kLinkFieldKind,
                                        kProgramFieldAttribute);
    field.setForeground(fieldColour(data));
    return field;
}

void BodyReader::readRun(int depth, const QTextCharFormat& base, const QTextCharFormat& link)
{
    QTextCharFormat format = base;
    format.merge(link);
    while (m_reader.readNextStartElement()) {
        if (m_reader.name() == u"rPr") {
            QString style;
            const QTextCharFormat direct = readRunProperties(m_reader, &style);
            format = base;
            format.merge(m_context.styles.characterStyle(style));
            format.merge(direct);
            format.merge(link);
            continue;
        }
        readRunChild(depth, format, link);
    }
}

void BodyReader::readRunChild(int depth, const QTextCharFormat& format, const QTextCharFormat& link)
{
    const QStringView name = m_reader.name();
    if (name == u"fldChar") {
        readFieldCharacter();
    } else if (name == u"instrText") {
        m_fields.addInstruction(m_reader.readElementText(QXmlStreamReader::SkipChildElements));
        return;
    } else if (m_fields.hidesContent() || tooDeepAt(depth)) {
        // A field's instruction is not what Word shows.
    } else if (name == u"AlternateContent") {
        readAlternateContent([&] {
            while (m_reader.readNextStartElement())
                readRunChild(depth + 1, format, link);
        });
        return;
    } else if (name == u"drawing" || name == u"pict" || name == u"object") {
        name == u"drawing" ? readDrawing(depth) : readVmlPicture(depth);
        return;
    } else {
        QTextCharFormat shown = format;
        if (!link.hasProperty(engine::FieldId))
            shown.merge(m_fields.resultFormat());
        if (name == u"t") {
            QString text = m_reader.readElementText(QXmlStreamReader::SkipChildElements);
            text.replace(u'\n', u' ').replace(u'\r', u' ');
            insertText(text, shown);
            return;
        }
        if (name == u"ruby") {
            readRuby(depth, format, link);
            return;
        }
        if (name == u"tab")
            insertText(QStringLiteral("\t"), shown);
        else if (name == u"br" && attribute(m_reader, u"type") == u"page")
            m_pendingPageBreak = true;
        else if (name == u"br" || name == u"cr")
            insertText(QString(QChar::LineSeparator), shown);
        else if (name == u"noBreakHyphen")
            insertText(QString(QChar(0x2011)), shown);
        else if (name == u"softHyphen")
            insertText(QString(QChar(0x00AD)), shown);
        else if (name == u"sym")
            insertText(QString(QChar(char16_t(attribute(m_reader, u"char").toUShort(nullptr, 16)))), shown);
        else if (name == u"footnoteReference") {
            m_context.report.note(Loss::Footnotes);
            insertNoteReference(m_context.notes.footnotes, false, shown);
        } else if (name == u"endnoteReference") {
            m_context.report.note(Loss::Endnotes);
            insertNoteReference(m_context.notes.endnotes, true, shown);
        } else if (name == u"footnoteRef" || name == u"endnoteRef") {
            QTextCharFormat mark = shown;
            mark.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
            insertText(m_noteMark, mark);
        } else if (name == u"commentReference")
            m_context.report.note(Loss::Comments);
    }
    m_reader.skipCurrentElement();
}

void BodyReader::readFieldCharacter()
{
    const QString type = attribute(m_reader, u"fldCharType");
    if (type == u"begin") {
        m_fields.begin();
    } else if (type == u"separate") {
        const QString instruction = m_fields.separate();
        if (const QString data = hyperlinkOfInstruction(instruction); !data.isEmpty())
            m_fields.setResultFormat(linkFormat(data));
        else if (word::isPageNumberInstruction(instruction))
            m_fields.setResultFormat(engine::pageNumberFieldFormat(m_context.nextFieldId++));
    } else if (type == u"end") {
        m_fields.end();
    }
}

// The mark of a note at its reference: the notes are numbered in the order
// the text refers to them; one with a mark of its own (customMarkFollows)
// has that mark in the run after it.
void BodyReader::insertNoteReference(QHash<QString, QString>& marks, bool roman, const QTextCharFormat& format)
{
    const QString id = attribute(m_reader, u"id");
    const bool ownMark = hasAttribute(m_reader, u"customMarkFollows") && word::isOn(attribute(m_reader, u"customMarkFollows"));
    if (!marks.contains(id)) {
        const int number = int(marks.size()) + 1;
        marks.insert(id, ownMark ? QString() : roman ? romanNumeral(number) : QString::number(number));
    }
    QTextCharFormat mark = format;
    mark.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    insertText(marks.value(id), mark);
}

void BodyReader::insertText(const QString& text, const QTextCharFormat& format)
{
    if (text.isEmpty())
        return;
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

void BodyReader::insertEquation(const QTextCharFormat& format)
{
    QTextCharFormat equation = format;
    equation.setFontItalic(true);
    insertText(readEquationText(m_reader), equation);
}

void BodyReader::readDrawing(int depth)
{
    QSizeF size;
    QString relationshipId;
    bool chart = false;
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
            chart = true;
        else if (name == u"txbxContent")
            readTextBox(depth + 1, size);
    }
    if (!relationshipId.isEmpty())
        readPicture(relationshipId, size, placement);
    else if (chart)
        insertPicture(word::placeholderPicture(size), size, placement, QStringLiteral("chart.png"));
    if (chart)
        m_context.report.note(Loss::Charts);
}

// VML (w:pict, w:object): older files' pictures and text boxes.
void BodyReader::readVmlPicture(int depth)
{
    const QString end = m_reader.name().toString();
    QSizeF size;
    QString relationshipId;
    while (!m_reader.atEnd() && !(m_reader.isEndElement() && m_reader.name() == end)) {
        if (m_reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = m_reader.name();
        if (name == u"shape" || name == u"rect" || name == u"roundrect")
            size = vmlSize(attribute(m_reader, u"style"));
        else if (name == u"imagedata" && relationshipId.isEmpty())
            relationshipId = attribute(m_reader, u"id");
        else if (name == u"txbxContent")
            readTextBox(depth + 1, size);
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
    const QFileInfo file(found->target);
    if (!image.isNull()) {
        insertPicture(image, size, placement, file.fileName(), *bytes);
        return;
    }
    m_context.report.note(Loss::UndrawablePictures);
    insertPicture(word::placeholderPicture(size), size, placement, file.completeBaseName() + QStringLiteral(".png"),
                  bytes.value_or(QByteArray()));
}

void BodyReader::insertPicture(const QImage& image, QSizeF size, engine::PicturePlacement placement, const QString& fileName,
                               const QByteArray& fileBytes)
{
    // Past a few pages, a size is a fault of the file.
    const QSizeF shown = size.width() > 0 && size.height() > 0
                             ? QSizeF(std::min(size.width(), kMaxPictureSide), std::min(size.height(), kMaxPictureSide))
                             : QSizeF();
    m_objects.insertPicture(m_cursor, image, placement, fileName, shown, fileBytes);
}

// A text box's content (w:txbxContent) into a text frame as wide as the box,
// after the paragraph that anchors it (after its earlier boxes); the
// paragraph then goes on where it was.
void BodyReader::readTextBox(int depth, QSizeF size)
{
    if (m_textBoxNesting >= kMaxTextBoxNesting || tooDeepAt(depth)) {
        m_tooDeep = true;
        m_reader.skipCurrentElement();
        return;
    }
    QTextCursor at = m_cursor;
    if (m_paragraphFrame)
        at.setPosition(m_paragraphFrame->lastPosition() + 1);
    else
        at.movePosition(QTextCursor::EndOfBlock);
    QTextFrame* frame = m_objects.textFrame(m_objects.insertTextFrame(at, {std::clamp(size.width(), 0.0, 2000.0), 0.0}));
    if (!frame) {
        m_reader.skipCurrentElement();
        return;
    }
    const Interruption interrupted = interrupt();
    m_cursor.setPosition(frame->firstPosition());
    ++m_textBoxNesting;
    readContainer(depth);
    --m_textBoxNesting;
    resume(interrupted);
    m_paragraphFrame = frame;
    m_cursor.setPosition(frame->firstPosition() - 1);
}

BodyReader::Interruption BodyReader::interrupt()
{
    Interruption interruption{m_cursor, m_blockUnused, m_paragraphFrame, m_positionedFrame, m_positionedSize};
    m_blockUnused = true;
    m_paragraphFrame = nullptr;
    m_positionedFrame = nullptr;
    m_positionedSize.reset();
    return interruption;
}

void BodyReader::resume(const Interruption& interruption)
{
    m_cursor = interruption.cursor;
    m_blockUnused = interruption.blockUnused;
    m_paragraphFrame = interruption.paragraphFrame;
    m_positionedFrame = interruption.positionedFrame;
    m_positionedSize = interruption.positionedSize;
}

// A framed paragraph (w:framePr) goes into a text frame, together with the
// framed paragraphs of the same size right after it.
void BodyReader::placeParagraph(const ParagraphProperties& properties)
{
    if (!properties.frame) {
        leavePositionedFrame();
        return;
    }
    if (m_positionedFrame && m_positionedSize == properties.frame)
        return;
    leavePositionedFrame();
    if (m_textBoxNesting >= kMaxTextBoxNesting)
        return;
    QTextCursor at = m_cursor;
    at.movePosition(QTextCursor::EndOfBlock);
    QTextFrame* frame = m_objects.textFrame(m_objects.insertTextFrame(at, {std::clamp(properties.frame->width(), 0.0, 2000.0), 0.0}));
    if (!frame)
        return;
    m_positionedFrame = frame;
    m_positionedSize = properties.frame;
    m_cursor.setPosition(frame->firstPosition());
    m_blockUnused = true;
}

void BodyReader::leavePositionedFrame()
{
    if (!m_positionedFrame)
        return;
    m_cursor.setPosition(m_positionedFrame->lastPosition() + 1);
    m_blockUnused = true;
    m_positionedFrame = nullptr;
    m_positionedSize.reset();
}

// After a paragraph that anchors text boxes, the next one follows the boxes.
void BodyReader::leaveParagraphFrames()
{
    if (!m_paragraphFrame)
        return;
    m_cursor.setPosition(m_paragraphFrame->lastPosition() + 1);
    m_blockUnused = true;
    m_paragraphFrame = nullptr;
}

void BodyReader::readTable(int depth)
{
    if (m_tableNesting >= kMaxTableNesting || tooDeepAt(depth)) {
        m_tooDeep = true;
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
            QString style;
            const TableLook own = readTableProperties(m_reader, &style);
            builder.look = m_context.styles.tableStyle(style);
            builder.look.merge(own);
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
        format.setCellPadding(builder.look.cellPadding.value_or(2));
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorder(builder.look.border.value_or(0));
        if (builder.look.borderColour)
            format.setBorderBrush(*builder.look.borderColour);
        if (builder.look.alignment)
            format.setAlignment(*builder.look.alignment);
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
    CellProperties properties;
    QTextTable* table = nullptr;
    while (m_reader.readNextStartElement()) {
        if (m_reader.name() == u"tcPr") {
            properties = readCellProperties(builder, column);
            continue;
        }
        if (!table) {
            table = tableFor(builder, column + properties.span);
            QTextTableCell cell = table->cellAt(row, column);
            m_cursor = cell.firstCursorPosition();
            m_blockUnused = true;
        }
        readBlockLevel(depth);
    }
    leavePositionedFrame();
    if (!table)
        table = tableFor(builder, column + properties.span);
    // Last: the cell's format lives where its first paragraph's does.
    QTextTableCell cell = table->cellAt(row, column);
    QTextTableCellFormat format = cell.format().toTableCellFormat();
    if (const std::optional<QColor> shading = properties.shading ? properties.shading : builder.look.shading)
        format.setBackground(*shading);
    if (properties.alignment)
        format.setVerticalAlignment(*properties.alignment);
    if (properties.shading || builder.look.shading || properties.alignment)
        cell.setFormat(format);
    noteMerge(builder, row, column, properties.span, properties.merged ? (properties.verticalMerge == u"restart" ? 1 : 2) : 0);
    return properties.span;
}

BodyReader::CellProperties BodyReader::readCellProperties(TableBuilder& builder, int column)
{
    CellProperties properties;
    while (m_reader.readNextStartElement()) {
        const QStringView name = m_reader.name();
        if (name == u"tcBorders") {
            builder.cellBorder = std::max(builder.cellBorder, readBorders(m_reader, nullptr).value_or(0.0));
            continue;
        }
        if (name == u"gridSpan")
            properties.span = std::clamp(attribute(m_reader, u"val").toInt(), 1, int(engine::snapshotencoding::kMaxTableColumns) - column);
        else if (name == u"vMerge") {
            properties.merged = true;
            properties.verticalMerge = attribute(m_reader, u"val");
        } else if (name == u"shd")
            properties.shading = word::colorOf(attribute(m_reader, u"fill"));
        else if (name == u"vAlign")
            properties.alignment = cellAlignmentOf(attribute(m_reader, u"val"));
        m_reader.skipCurrentElement();
    }
    return properties;
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
    // The engine draws a table's lines as its border: lines drawn by the
    // cells become the table's.
    if (table->format().border() <= 0 && builder.cellBorder > 0) {
        QTextTableFormat format = table->format();
        format.setBorder(builder.cellBorder);
        table->setFormat(format);
    }
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
