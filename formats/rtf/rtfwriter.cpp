#include "formats/rtf/rtfwriter.h"

#include "engine/fieldformat.h"
#include "engine/hostunits.h"
#include "engine/objects.h"
#include "formats/html/fielddata.h"
#include "formats/word/wordmapping.h"

#include <QBuffer>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <cmath>
#include <vector>

namespace formats::rtf {

namespace {

QByteArray number(qint64 value) { return QByteArray::number(value); }
qint64 twips(double documentUnits) { return std::llround(engine::documentToTwips(documentUnits)); }

// Word's level format numbers (\levelnfc) of a list kind.
int levelFormatOf(QTextListFormat::Style style)
{
    const QString format = word::numberFormatOf(style, 0).format;
    if (format == u"upperRoman")
        return 1;
    if (format == u"lowerRoman")
        return 2;
    if (format == u"upperLetter")
        return 3;
    if (format == u"lowerLetter")
        return 4;
    return format == u"bullet" ? 23 : 0;
}

// Text as RTF: ASCII as it is (the three special characters escaped), other
// characters as \uN and their CP932 bytes, which readers without Unicode
// show instead. `skip` is the \uc in force in the current group.
class TextEscaper {
public:
    void append(QByteArray& out, QStringView text, int& skip)
    {
        for (const QChar c : text)
            appendCharacter(out, c, skip);
    }

private:
    void appendCharacter(QByteArray& out, QChar c, int& skip)
    {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += char(u);
        } else if (u >= 0x20 && u < 0x7F) {
            out += char(u);
        } else if (u >= 0x80) {
            const QByteArray fallback = fallbackOf(c);
            if (fallback.size() != skip) {
                skip = int(fallback.size());
                out += "\\uc" + number(skip) + ' ';
            }
            out += "\\u" + number(qint16(u));
            for (const char byte : fallback)
                out += "\\'" + QByteArray::number(uchar(byte), 16).rightJustified(2, '0');
        }
    }

    QByteArray fallbackOf(QChar c)
    {
        if (c.isSurrogate())
            return "?";
        QByteArray bytes = m_encoder.encode(QStringView(&c, 1));
        const bool failed = m_encoder.hasError() || bytes.isEmpty() || bytes == "?";
        m_encoder.resetState();
        if (failed)
            m_encoder = QStringEncoder("windows-31j");
        return failed ? QByteArray("?") : bytes;
    }

    QStringEncoder m_encoder{"windows-31j"};
};

class Writer {
public:
    explicit Writer(const html::StyleSet& styles)
        : m_styles(styles)
    {
    }

    QByteArray write(const engine::DocumentSet& source);

private:
    struct Part {
        const char* word;
        QTextDocument* document;
        int flag;
    };

    int fontIndex(const QString& family);
    int colourIndex(const QColor& colour);
    int listIndex(const QTextList* list);
    void text(QStringView value);
    QByteArray styleSheet();
    QByteArray header(const engine::DocumentSet& source, const QByteArray& styles);
    void writeFlow(QTextFrame::iterator it, int level, bool inCell);
    void writeBlock(const QTextBlock& block, int level);
    void writeParagraphProperties(const QTextBlock& block, int level);
    void writeFragments(const QTextBlock& block);
    void writeField(const std::vector<QTextFragment>& fragments);
    void writePageNumber(const QTextCharFormat& format);
    void writeRun(const QTextFragment& fragment);
    void writeRunProperties(const QTextCharFormat& format);
    void writePicture(const QTextImageFormat& format);
    void writeTextFrame(QTextFrame* frame);
    void writeTable(const QTextTable* table, int level);
    QByteArray rowDefinition(const QTextTable* table, int row, const std::vector<qint64>& rights);

    const html::StyleSet& m_styles;
    const QTextDocument* m_document = nullptr;
    QByteArray m_out;
    int m_skip = 1;
    TextEscaper m_escaper;
    QStringList m_fonts;
    QList<QRgb> m_colours;
    QList<const QTextList*> m_lists;
};

int Writer::fontIndex(const QString& family)
{
    qsizetype index = m_fonts.indexOf(family);
    if (index < 0) {
        index = m_fonts.size();
        m_fonts << family;
    }
    return int(index);
}

int Writer::colourIndex(const QColor& colour)
{
    const QRgb rgb = colour.rgb();
    qsizetype index = m_colours.indexOf(rgb);
    if (index < 0) {
        index = m_colours.size();
        m_colours << rgb;
    }
    return int(index) + 1;
}

int Writer::listIndex(const QTextList* list)
{
    qsizetype index = m_lists.indexOf(list);
    if (index < 0) {
        index = m_lists.size();
        m_lists << list;
    }
    return int(index) + 1;
}

void Writer::text(QStringView value)
{
    m_escaper.append(m_out, value, m_skip);
}

QByteArray Writer::write(const engine::DocumentSet& source)
{
    const QString bodyFont = m_styles.body.fontName.isEmpty() ? QStringLiteral("ＭＳ 明朝") : m_styles.body.fontName;
    fontIndex(bodyFont);
    const QByteArray styles = styleSheet();
    const Part parts[] = {{"header", source.header, engine::HeaderEveryPage},
                          {"footer", source.footer, engine::FooterEveryPage},
                          {"headerf", source.firstHeader, engine::HeaderFirstPage},
                          {"footerf", source.firstFooter, engine::FooterFirstPage}};
    const int flags = source.pageSetup ? source.pageSetup->headerFooterFlags : 0;
    QByteArray headersAndFooters;
    for (const Part& part : parts) {
        if (!part.document || !(flags & part.flag))
            continue;
        m_document = part.document;
        m_out = "{\\" + QByteArray(part.word) + ' ';
        writeFlow(part.document->rootFrame()->begin(), 0, false);
        headersAndFooters += m_out + "}\n";
    }
    m_document = source.body;
    m_out.clear();
    writeFlow(source.body->rootFrame()->begin(), 0, false);
    const QByteArray body = std::exchange(m_out, QByteArray());
    return header(source, styles) + headersAndFooters + body + "}\n";
}

QByteArray Writer::styleSheet()
{
    QByteArray sheet = "{\\stylesheet";
    for (int level = 0; level <= 3; ++level) {
        const html::TextStyle& style = level == 0 ? m_styles.body : m_styles.headings[size_t(level - 1)];
        const int font = style.fontName.isEmpty() ? 0 : fontIndex(style.fontName);
        sheet += "{";
        if (level > 0)
            sheet += "\\s" + number(level) + "\\outlinelevel" + number(level - 1) + "\\keepn";
        else
            sheet += "\\sl" + number(std::lround(240.0 * double(m_styles.lineSpacing))) + "\\slmult1";
        // Japanese as the East Asian language, or LibreOffice takes its own.
        sheet += "\\langfe1041\\f" + number(font) + "\\fs" + number(std::max(style.size, 1) * 2) + "\\cf"
            + number(colourIndex(engine::colorFromHost(int(style.colour))));
        if (level > 0)
            sheet += "\\sbasedon0";
        sheet += "\\snext0 " + (level == 0 ? QByteArray("Normal") : "heading " + number(level)) + ";}";
    }
    return sheet + "}\n";
}

QByteArray Writer::header(const engine::DocumentSet& source, const QByteArray& styles)
{
    QByteArray out = "{\\rtf1\\ansi\\ansicpg932\\deff0\\deflang1033\\deflangfe1041\\uc1\n{\\fonttbl";
    for (int i = 0; i < m_fonts.size(); ++i) {
        out += "{\\f" + number(i) + "\\fnil\\fcharset128 ";
        int skip = 1;
        m_escaper.append(out, m_fonts[i], skip);
        out += ";}";
    }
    out += "}\n{\\colortbl;";
    for (const QRgb rgb : std::as_const(m_colours))
        out += "\\red" + number(qRed(rgb)) + "\\green" + number(qGreen(rgb)) + "\\blue" + number(qBlue(rgb)) + ';';
    out += "}\n";
    out += styles;
    if (!m_lists.isEmpty()) {
        out += "{\\*\\listtable";
        for (int i = 0; i < m_lists.size(); ++i) {
            const QTextListFormat::Style style = m_lists[i]->format().style();
            const int nfc = levelFormatOf(style);
            out += "{\\list\\listtemplateid" + number(i + 1) + "\\listsimple0";
            for (int level = 0; level < 9; ++level) {
                out += "{\\listlevel\\levelnfc" + number(nfc) + "\\levelnfcn" + number(nfc)
                    + "\\leveljc0\\levelfollow0\\levelstartat1{\\leveltext";
                int skip = 1;
                if (nfc == 23) {
                    out += "\\'01";
                    m_escaper.append(out, word::numberFormatOf(style, level).levelText, skip);
                    out += ";}{\\levelnumbers;}";
                } else {
                    out += "\\'02\\'" + QByteArray::number(level, 16).rightJustified(2, '0') + ".;}{\\levelnumbers\\'01;}";
                }
                out += "\\fi-360\\li" + number(360 * (level + 1)) + '}';
            }
            out += "\\listid" + number(i + 1) + '}';
        }
        out += "}\n{\\*\\listoverridetable";
        for (int i = 0; i < m_lists.size(); ++i)
            out += "{\\listoverride\\listid" + number(i + 1) + "\\listoverridecount0\\ls" + number(i + 1) + '}';
        out += "}\n";
    }
    if (const QString title = source.body->metaInformation(QTextDocument::DocumentTitle); !title.isEmpty()) {
        out += "{\\info{\\title ";
        int skip = 1;
        m_escaper.append(out, title, skip);
        out += "}}\n";
    }
    if (const engine::PageSetup* page = source.pageSetup) {
        out += "\\paperw" + number(page->paperWidth) + "\\paperh" + number(page->paperHeight) + "\\margl"
            + number(engine::wholeTwips(page->marginLeft)) + "\\margr" + number(engine::wholeTwips(page->marginRight))
            + "\\margt" + number(engine::wholeTwips(page->marginTop)) + "\\margb"
            + number(engine::wholeTwips(page->marginBottom));
        if (page->landscape)
            out += "\\landscape";
        if (page->headerFooterFlags & (engine::HeaderFirstPage | engine::FooterFirstPage))
            out += "\\titlepg";
        out += '\n';
    }
    return out;
}

// The paragraphs and frames from `it` to the end of its frame or cell. A
// text frame is written in the paragraph before it, as the text box that
// paragraph anchors.
void Writer::writeFlow(QTextFrame::iterator it, int level, bool inCell)
{
    std::vector<QTextFrame::iterator> items;
    for (; !it.atEnd(); ++it)
        items.push_back(it);
    for (size_t i = 0; i < items.size(); ++i) {
        QTextFrame* frame = items[i].currentFrame();
        if (const auto* table = qobject_cast<const QTextTable*>(frame)) {
            writeTable(table, level + 1);
            continue;
        }
        if (frame) {
            if (frame->frameFormat().intProperty(engine::ObjectKind) != engine::kObjectKindTextFrame)
                writeFlow(frame->begin(), level, false);
            continue;
        }
        const QTextBlock block = items[i].currentBlock();
        if (!block.isValid())
            continue;
        writeBlock(block, level);
        for (size_t next = i + 1; next < items.size(); ++next) {
            QTextFrame* box = items[next].currentFrame();
            if (!box || qobject_cast<QTextTable*>(box) || box->frameFormat().intProperty(engine::ObjectKind) != engine::kObjectKindTextFrame)
                break;
            writeTextFrame(box);
        }
        const bool last = i + 1 == items.size();
        m_out += inCell && last ? (level > 1 ? "\\nestcell\n" : "\\cell\n") : "\\par\n";
    }
}

void Writer::writeBlock(const QTextBlock& block, int level)
{
    writeParagraphProperties(block, level);
    writeFragments(block);
}

void Writer::writeParagraphProperties(const QTextBlock& block, int level)
{
    const QTextBlockFormat format = block.blockFormat();
    m_out += "\\pard\\plain";
    if (level > 0)
        m_out += "\\intbl";
    if (level > 1)
        m_out += "\\itap" + number(level);
    if (const int heading = std::clamp(format.headingLevel(), 0, 3); heading > 0)
        m_out += "\\s" + number(heading) + "\\outlinelevel" + number(heading - 1);
    if (format.hasProperty(QTextFormat::BlockAlignment)) {
        const QString alignment = word::alignmentValue(format.alignment());
        m_out += alignment == u"both" ? "\\qj" : alignment == u"center" ? "\\qc" : alignment == u"right" ? "\\qr" : "\\ql";
    }
    const std::pair<int, const char*> lengths[] = {{QTextFormat::BlockLeftMargin, "\\li"},
                                                   {QTextFormat::BlockRightMargin, "\\ri"},
                                                   {QTextFormat::TextIndent, "\\fi"},
                                                   {QTextFormat::BlockTopMargin, "\\sb"},
                                                   {QTextFormat::BlockBottomMargin, "\\sa"}};
    for (const auto& [property, word] : lengths) {
        if (format.hasProperty(property))
            m_out += word + number(twips(format.doubleProperty(property)));
    }
    if (format.hasProperty(QTextFormat::LineHeightType)) {
        switch (format.lineHeightType()) {
        case QTextBlockFormat::SingleHeight: m_out += "\\sl0"; break;
        case QTextBlockFormat::ProportionalHeight:
            m_out += "\\sl" + number(std::lround(format.lineHeight() * 240.0 / 100.0)) + "\\slmult1";
            break;
        case QTextBlockFormat::FixedHeight: m_out += "\\sl-" + number(twips(format.lineHeight())) + "\\slmult0"; break;
        case QTextBlockFormat::MinimumHeight: m_out += "\\sl" + number(twips(format.lineHeight())) + "\\slmult0"; break;
        default: break;
        }
    }
    for (const QTextOption::Tab& tab : format.tabPositions()) {
        m_out += tab.type == QTextOption::CenterTab ? "\\tqc" : tab.type == QTextOption::RightTab ? "\\tqr"
            : tab.type == QTextOption::DelimiterTab                                          ? "\\tqdec"
                                                                                             : "";
        m_out += "\\tx" + number(twips(tab.position));
    }
    if (format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() != Qt::NoBrush)
        m_out += "\\cbpat" + number(colourIndex(format.background().color()));
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        m_out += "\\pagebb";
    if (const QTextList* list = block.textList())
        m_out += "\\ls" + number(listIndex(list)) + "\\ilvl" + number(std::clamp(list->format().indent() - 1, 0, 8));
    m_out += ' ';
}

void Writer::writeFragments(const QTextBlock& block)
{
    std::vector<QTextFragment> field;
    int fieldId = 0;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int id = fragment.charFormat().intProperty(engine::FieldId);
        if (!field.empty() && id != fieldId) {
            writeField(field);
            field.clear();
        }
        fieldId = id;
        if (id > 0)
            field.push_back(fragment);
        else
            writeRun(fragment);
    }
    if (!field.empty())
        writeField(field);
}

// A field the program keeps exactly in \*\fumifield ("kind attribute
// data"), and as the HYPERLINK other programs follow.
void Writer::writeField(const std::vector<QTextFragment>& fragments)
{
    const QTextCharFormat format = fragments.front().charFormat();
    if (engine::isPageNumberField(format)) {
        writePageNumber(format);
        return;
    }
    const QString data = format.stringProperty(engine::FieldData);
    const QString address = fieldAddress(data);
    const int outer = m_skip; // each group gives back the \\uc it started with
    m_out += "{\\field{\\*\\fldinst {\\*\\fumifield " + number(format.intProperty(engine::FieldKind)) + ' '
        + number(format.intProperty(engine::FieldAttribute)) + ' ';
    text(data);
    m_out += "} HYPERLINK ";
    m_skip = outer;
    if (address.startsWith(u'#')) {
        m_out += "\\\\l \"";
        text(address.mid(1));
    } else {
        m_out += '"';
        text(address);
    }
    m_out += "\"}{\\fldrslt ";
    m_skip = outer;
    for (const QTextFragment& fragment : fragments)
        writeRun(fragment);
    m_out += "}}";
    m_skip = outer;
}

// A page-number field: Word's PAGE, its result \\chpgn in the field's look.
void Writer::writePageNumber(const QTextCharFormat& format)
{
    const int outer = m_skip;
    m_out += "{\\field{\\*\\fldinst {\\*\\fumifield " + number(engine::kPageNumberFieldKind) + " 0 } PAGE }{\\fldrslt {";
    writeRunProperties(format);
    m_out += "\\chpgn }}}";
    m_skip = outer;
}

void Writer::writeRun(const QTextFragment& fragment)
{
    const QTextCharFormat format = fragment.charFormat();
    for (const QString& name : format.anchorNames()) {
        const int outer = m_skip;
        m_out += "{\\*\\bkmkstart ";
        text(name);
        m_out += "}";
        m_skip = outer;
    }
    if (format.isImageFormat()) {
        for (int i = 0; i < fragment.length(); ++i)
            writePicture(format.toImageFormat());
        return;
    }
    const int outer = m_skip;
    m_out += '{';
    const qsizetype start = m_out.size();
    writeRunProperties(format);
    if (m_out.size() > start)
        m_out += ' '; // ends the last control word; alone it would be text
    const QString value = fragment.text();
    qsizetype from = 0;
    for (qsizetype i = 0; i <= value.size(); ++i) {
        const QChar c = i < value.size() ? value[i] : QChar();
        const char* word = c == u'\t' ? "\\tab " : c == QChar::LineSeparator ? "\\line " : c == QChar::Nbsp ? "\\~"
            : c == u'\u2011'                                                                   ? "\\_"
            : c == QChar::ObjectReplacementCharacter || c == QChar::ParagraphSeparator || (c.unicode() < 0x20 && c != QChar()) ? ""
                                                                                                                             : nullptr;
        if (i < value.size() && !word)
            continue;
        text(QStringView(value).sliced(from, i - from));
        if (word)
            m_out += word;
        from = i + 1;
    }
    m_out += '}';
    m_skip = outer;
}

void Writer::writeRunProperties(const QTextCharFormat& format)
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.front().isEmpty())
        m_out += "\\f" + number(fontIndex(families.front()));
    if (format.hasProperty(QTextFormat::FontPointSize))
        m_out += "\\fs" + number(std::lround(format.fontPointSize() * 2));
    if (format.hasProperty(QTextFormat::FontWeight) && format.fontWeight() >= QFont::Bold)
        m_out += "\\b";
    if (format.fontItalic())
        m_out += "\\i";
    if (format.fontUnderline())
        m_out += "\\ul";
    if (format.fontStrikeOut())
        m_out += "\\strike";
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
        m_out += "\\cf" + number(colourIndex(format.foreground().color()));
    if (format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() != Qt::NoBrush)
        m_out += "\\chcbpat" + number(colourIndex(format.background().color()));
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        m_out += "\\super";
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        m_out += "\\sub";
}

void Writer::writePicture(const QTextImageFormat& format)
{
    const QImage image = engine::pictureImage(*m_document, format.name());
    if (image.isNull())
        return;
    // A picture's own file goes back as it came when RTF has a word for its
    // kind; anything else is written as PNG.
    QByteArray bytes = engine::pictureFileBytes(*m_document, format.name());
    const QString type = engine::pictureFileType(bytes);
    const char* blip = type == u"jpeg" ? "\\jpegblip" : type == u"emf" ? "\\emfblip" : "\\pngblip";
    if (type != u"png" && type != u"jpeg" && type != u"emf") {
        bytes.clear();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            return;
    }
    const double width = format.width() > 0 ? format.width() : image.width();
    const double height = format.height() > 0 ? format.height() : image.height();
    m_out += "{\\*\\shppict{\\pict" + QByteArray(blip) + "\\picw" + number(image.width()) + "\\pich" + number(image.height())
        + "\\picwgoal" + number(twips(width)) + "\\pichgoal" + number(twips(height)) + '\n';
    const QByteArray hex = bytes.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128)
        m_out += hex.mid(i, 128) + '\n';
    m_out += "}}";
}

void Writer::writeTextFrame(QTextFrame* frame)
{
    const QTextLength width = frame->frameFormat().width();
    const qint64 right = width.type() == QTextLength::FixedLength ? twips(width.rawValue()) : 0;
    m_out += "{\\shp{\\*\\shpinst\\shpleft0\\shptop0\\shpright" + number(right)
        + "\\shpbottom0\\shpwr3\\shpbxcolumn\\shpbypara{\\sp{\\sn shapeType}{\\sv 202}}{\\sp{\\sn fFitShapeToText}{\\sv 1}}"
          "{\\shptxt ";
    writeFlow(frame->begin(), 0, false);
    m_out += "}}}";
}

void Writer::writeTable(const QTextTable* table, int level)
{
    const QTextTableFormat format = table->format();
    const QList<QTextLength> constraints = format.columnWidthConstraints();
    std::vector<qint64> rights;
    qint64 right = 0;
    for (int column = 0; column < table->columns(); ++column) {
        const bool fixed = column < constraints.size() && constraints[column].type() == QTextLength::FixedLength;
        right += fixed ? std::max<qint64>(1, twips(constraints[column].rawValue())) : 8640 / std::max(1, table->columns());
        rights.push_back(right);
    }
    for (int row = 0; row < table->rows(); ++row) {
        const QByteArray definition = rowDefinition(table, row, rights);
        if (level == 1)
            m_out += definition + '\n';
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.row() == row && cell.column() == column)
                writeFlow(cell.begin(), level, true);
            else
                m_out += "\\pard\\plain\\intbl" + (level > 1 ? "\\itap" + number(level) : QByteArray())
                    + (level > 1 ? " \\nestcell\n" : " \\cell\n");
        }
        m_out += level == 1 ? QByteArray("\\row\n") : "{\\*\\nesttableprops" + definition + "\\nestrow}{\\nonesttables\\par}\n";
    }
}

QByteArray Writer::rowDefinition(const QTextTable* table, int row, const std::vector<qint64>& rights)
{
    QByteArray out = "\\trowd\\trgaph" + number(twips(table->format().cellPadding())) + "\\trleft0";
    const qint64 border = twips(table->format().border());
    for (int column = 0; column < table->columns(); ++column) {
        const QTextTableCell cell = table->cellAt(row, column);
        const bool start = cell.row() == row;
        if (cell.columnSpan() > 1 && cell.column() == column)
            out += "\\clmgf";
        else if (cell.column() < column)
            out += "\\clmrg";
        if (cell.rowSpan() > 1 && start)
            out += "\\clvmgf";
        else if (!start)
            out += "\\clvmrg";
        const QTextTableCellFormat format = cell.format().toTableCellFormat();
        if (format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() != Qt::NoBrush)
            out += "\\clcbpat" + number(colourIndex(format.background().color()));
        if (border > 0) {
            for (const char* side : {"t", "l", "b", "r"})
                out += "\\clbrdr" + QByteArray(side) + "\\brdrs\\brdrw" + number(border);
        }
        out += "\\cellx" + number(rights[size_t(column)]);
    }
    return out;
}

} // namespace

QByteArray writeRtf(const engine::DocumentSet& source, const html::StyleSet& styles)
{
    Writer writer(styles);
    return writer.write(source);
}

} // namespace formats::rtf
