#include "formats/html/enginehtmlwriter.h"

#include "engine/fieldformat.h"
#include "engine/tables.h"
#include "env/mclt.h"
#include "formats/html/cssvalues.h"
#include "formats/html/fielddata.h"
#include "formats/html/picturefiles.h"
#include "html/fontfamilies.h"
#include "html/htmlstrings.h"

#include <QDir>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

namespace formats {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

struct ListTag {
    QStringView name;
    QStringView type;
};

ListTag listTag(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListCircle: return {u"ul", u"circle"};
    case QTextListFormat::ListSquare: return {u"ul", u"square"};
    case QTextListFormat::ListDecimal: return {u"ol", u"1"};
    case QTextListFormat::ListLowerAlpha: return {u"ol", u"a"};
    case QTextListFormat::ListUpperAlpha: return {u"ol", u"A"};
    case QTextListFormat::ListLowerRoman: return {u"ol", u"i"};
    case QTextListFormat::ListUpperRoman: return {u"ol", u"I"};
    default: return {u"ul", u"disc"};
    }
}

QString attribute(QStringView name, const QString& value)
{
    return u' ' + name.toString() + QStringLiteral("=\"") + value + u'"';
}

QString lengthAttribute(QStringView name, const QTextLength& length)
{
    switch (length.type()) {
    case QTextLength::PercentageLength:
        return attribute(name, css::number(length.rawValue()) + u'%');
    case QTextLength::FixedLength:
        return attribute(name, QString::number(qRound(length.rawValue())));
    default:
        return {};
    }
}

QString verticalAlignment(const QTextCharFormat& cell)
{
    if (!cell.hasProperty(QTextFormat::TextVerticalAlignment))
        return {};
    switch (cell.verticalAlignment()) {
    case QTextCharFormat::AlignMiddle: return QStringLiteral("middle");
    case QTextCharFormat::AlignBottom: return QStringLiteral("bottom");
    case QTextCharFormat::AlignTop: return QStringLiteral("top");
    default: return {};
    }
}

// The alignment every paragraph of the cell shares, when it is not the
// usual left alignment.
QString cellAlignment(const QTextTableCell& cell)
{
    QString shared;
    for (QTextFrame::iterator it = cell.begin(); it != cell.end(); ++it) {
        if (it.currentFrame())
            return {};
        const QString name = alignmentName(it.currentBlock().blockFormat().alignment());
        if (name.isEmpty() || (!shared.isEmpty() && name != shared))
            return {};
        shared = name;
    }
    return shared;
}

// A cell where it starts in the grid, with its format read once: each of a
// cell's own queries of its place searches the table's cells, and each of
// its formats is made anew.
struct PlacedCell {
    QTextTableCell cell;
    QTextCharFormat format;
    int row;
    int column;
};

QString cellAttributes(const PlacedCell& placed, const QList<QTextLength>& widths, int rowSpan)
{
    QString attributes;
    if (const QString align = cellAlignment(placed.cell); !align.isEmpty())
        attributes += attribute(u"align", align);
    if (const QString valign = verticalAlignment(placed.format); !valign.isEmpty())
        attributes += attribute(u"valign", valign);
    const QBrush background = placed.format.background();
    if (background.style() != Qt::NoBrush)
        attributes += attribute(u"bgcolor", css::colourHex(background.color()));
    const int columnSpan = placed.format.tableCellColumnSpan();
    if (placed.row == 0 && columnSpan == 1 && placed.column < widths.size())
        attributes += lengthAttribute(u"width", widths.at(placed.column));
    if (columnSpan > 1)
        attributes += attribute(u"colspan", QString::number(columnSpan));
    if (rowSpan > 1)
        attributes += attribute(u"rowspan", QString::number(rowSpan));
    return attributes;
}

QString styleAttribute(const QString& style)
{
    return style.isEmpty() ? QString() : attribute(u"style", style);
}

// An id must be an SGML name token: a letter, then letters, digits, "-",
// "_", ":" and ".".
bool isNameToken(const QString& name)
{
    static const QRegularExpression token(QStringLiteral("^[A-Za-z][A-Za-z0-9_:.-]*$"));
    return token.match(name).hasMatch();
}

QString anchorName(const QTextCharFormat& format)
{
    const QStringList names = format.anchorNames();
    return names.isEmpty() ? QString() : names.first();
}

// The link target a paragraph starts with, written as the paragraph's id.
QString paragraphId(const QTextBlock& block)
{
    const QTextBlock::iterator first = block.begin();
    const QString name = first.atEnd() ? QString() : anchorName(first.fragment().charFormat());
    return !name.isEmpty() && isNameToken(name) ? name : QString();
}

QString pictureAlignment(const QTextImageFormat& format)
{
    switch (format.intProperty(engine::ObjectPlacement)) {
    case engine::PictureFloatRight: return attribute(u"align", QStringLiteral("right"));
    case engine::PictureFloatLeft:
    case engine::PictureTextFlow: return attribute(u"align", QStringLiteral("left"));
    default: return {};
    }
}

// The three heading styles are h1, h3 and h5 of the dialect; deeper levels
// join the last one.
QString paragraphTag(int headingLevel)
{
    if (headingLevel <= 0)
        return QStringLiteral("p");
    return headingLevel == 1 ? QStringLiteral("h1") : headingLevel == 2 ? QStringLiteral("h3") : QStringLiteral("h5");
}

// Which rows have a cell of their own; a row covered entirely by cells
// spanning from above is not written (HTML forbids an empty row).
std::vector<bool> rowsWithCells(const QTextTable& table)
{
    std::vector<bool> rows(size_t(table.rows()));
    for (int row = 0; row < table.rows(); ++row) {
        for (int column = 0; column < table.columns() && !rows[size_t(row)]; ++column)
            rows[size_t(row)] = engine::cellStartsAt(table, row, column);
    }
    return rows;
}

// The rows a cell spans among the rows that are written.
int writtenRowSpan(const PlacedCell& placed, const std::vector<bool>& written)
{
    const int end = placed.row + placed.format.tableCellRowSpan();
    int span = 0;
    for (int row = placed.row; row < end && size_t(row) < written.size(); ++row)
        span += written[size_t(row)] ? 1 : 0;
    return span;
}

} // namespace

QString escaped(QStringView text)
{
    const QString valid = html::validHtmlText(text);
    QString out;
    // The text between the characters that change is copied whole.
    qsizetype copied = 0;
    for (qsizetype i = 0; i < valid.size(); ++i) {
        QStringView replacement;
        switch (valid[i].unicode()) {
        case u'&': replacement = u"&amp;"; break;
        case u'<': replacement = u"&lt;"; break;
        case u'>': replacement = u"&gt;"; break;
        case u'"': replacement = u"&quot;"; break;
        case u'\r':
        case u'\n': replacement = u""; break; // a paragraph's text holds no line ends
        default: continue;
        }
        if (out.isNull())
            out.reserve(valid.size() + 16);
        out += QStringView(valid).sliced(copied, i - copied);
        out += replacement;
        copied = i + 1;
    }
    if (copied == 0)
        return valid;
    out += QStringView(valid).sliced(copied);
    return out;
}

QString fileAddress(const QString& folder)
{
    QString path = mClt::withSlash(QDir::fromNativeSeparators(QDir(folder).absolutePath()));
    if (!path.startsWith(u'/'))
        path.prepend(u'/');
    return escaped(QString(QStringLiteral("file://") + path)).replace(u' ', QStringLiteral("%20"));
}

EngineHtmlWriter::EngineHtmlWriter(const QTextDocument& document, PictureFiles& pictures, ParagraphFont standard)
    : m_document(document)
    , m_pictures(pictures)
    , m_standardFont(std::move(standard))
{
}

QString EngineHtmlWriter::html(const QString& baseAddress)
{
    m_out = QStringLiteral("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />")
        + kLineEnd + QStringLiteral("<base href=\"") + baseAddress + QStringLiteral("\" />") + kLineEnd
        + QStringLiteral("<title>") + escaped(m_document.metaInformation(QTextDocument::DocumentTitle))
        + QStringLiteral("</title>") + kLineEnd + QStringLiteral("</head>") + kLineEnd
        + QStringLiteral("<body style=\"font-family:") + html::familyList(m_standardFont.families)
        + QStringLiteral(";font-size:") + css::number(m_standardFont.size) + QStringLiteral("pt;\">")
        + kLineEnd;
    const QTextFrame* root = m_document.rootFrame();
    writeContents(root->begin(), root->end());
    m_out += QStringLiteral("</body></html>") + kLineEnd;
    return std::exchange(m_out, QString());
}

void EngineHtmlWriter::writeContents(QTextFrame::iterator it, const QTextFrame::iterator& end)
{
    bool afterFrame = false;
    for (; it != end; ++it) {
        if (QTextFrame* frame = it.currentFrame()) {
            closeLists();
            writeFrame(frame);
            afterFrame = true;
        } else {
            // Every table is followed by a paragraph of its own; left empty,
            // it is no paragraph of the text, and reading a table back makes
            // one again.
            const QTextBlock block = it.currentBlock();
            if (!(afterFrame && block.length() <= 1))
                writeBlock(block);
            afterFrame = false;
        }
    }
    closeLists();
}

void EngineHtmlWriter::writeFrame(QTextFrame* frame)
{
    if (const auto* table = qobject_cast<const QTextTable*>(frame))
        writeTable(*table);
    else if (frame->frameFormat().intProperty(engine::ObjectKind) == engine::kObjectKindTextFrame)
        writeTextFrame(*frame);
    else
        writeContents(frame->begin(), frame->end());
}

void EngineHtmlWriter::writeTable(const QTextTable& table)
{
    const QTextTableFormat format = table.format();
    m_out += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\"") + attribute(u"cols", QString::number(table.columns()))
        + attribute(u"border", QString::number(qRound(format.border()))) + lengthAttribute(u"width", format.width())
        + u'>' + kLineEnd;
    const std::vector<bool> written = rowsWithCells(table);
    // Taken once: taken per cell, a row of many cells was quadratic.
    const QList<QTextLength> widths = format.columnWidthConstraints();
    for (int row = 0; row < table.rows(); ++row) {
        if (!written[size_t(row)])
            continue;
        m_out += QStringLiteral("<tr>") + kLineEnd;
        for (int column = 0; column < table.columns(); ++column) {
            if (!engine::cellStartsAt(table, row, column))
                continue; // covered by a spanning cell
            const QTextTableCell cell = table.cellAt(row, column);
            const PlacedCell placed{cell, cell.format(), row, column};
            m_out += QStringLiteral("<td") + cellAttributes(placed, widths, writtenRowSpan(placed, written)) + u'>';
            writeContents(cell.begin(), cell.end());
            m_out += QStringLiteral("</td>") + kLineEnd;
        }
        m_out += QStringLiteral("</tr>") + kLineEnd;
    }
    m_out += QStringLiteral("</table>") + kLineEnd;
}

void EngineHtmlWriter::writeTextFrame(const QTextFrame& frame)
{
    // frame="box" rules="none" change nothing on a one-cell table with a
    // border: they mark it as a text frame for reading it back.
    m_out += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\" cols=\"1\" border=\"1\" frame=\"box\" rules=\"none\"")
        + lengthAttribute(u"width", frame.frameFormat().width()) + u'>' + kLineEnd + QStringLiteral("<tr>") + kLineEnd
        + QStringLiteral("<td>");
    writeContents(frame.begin(), frame.end());
    m_out += QStringLiteral("</td>") + kLineEnd + QStringLiteral("</tr>") + kLineEnd + QStringLiteral("</table>") + kLineEnd;
}

void EngineHtmlWriter::writeBlock(const QTextBlock& block)
{
    const QTextList* list = block.textList();
    closeListsAround(list);
    if (list && (m_openLists.empty() || m_openLists.back() != list))
        openList(list);
    else if (list)
        m_out += QStringLiteral("</li>") + kLineEnd; // the previous item holds no deeper list
    if (!list && block.blockFormat().hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth)) {
        m_out += QStringLiteral("<hr>") + kLineEnd;
        return;
    }
    const ParagraphFont font = ParagraphFont::of(block, m_standardFont);
    const QString tag = list ? QStringLiteral("li") : paragraphTag(block.blockFormat().headingLevel());
    const QString id = paragraphId(block);
    m_out += u'<' + tag + (id.isEmpty() ? QString() : attribute(u"id", escaped(id)))
        + attribute(u"style", m_styles.paragraph(block, font)) + u'>';
    if (block.length() <= 1)
        m_out += QStringLiteral("<br />");
    else
        writeRuns(block, font);
    // An item stays open: a deeper list that follows belongs inside it.
    if (!list)
        m_out += QStringLiteral("</") + tag + u'>' + kLineEnd;
}

void EngineHtmlWriter::writeRuns(const QTextBlock& block, const ParagraphFont& font)
{
    const QTextBlockFormat paragraph = block.blockFormat();
    int openField = 0;
    QString fieldStyle;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        const QString style = m_styles.run(fragment, block, font)
            + (paragraph.nonBreakableLines() ? QStringLiteral("white-space:pre;") : QString());
        const int field = format.intProperty(engine::FieldId);
        if (field != openField) {
            if (openField)
                m_out += QStringLiteral("</a>");
            if (field)
                m_out += QStringLiteral("<a") + attribute(u"href", escaped(fieldAddress(format.stringProperty(engine::FieldData))))
                    + styleAttribute(style) + u'>';
            openField = field;
            fieldStyle = style;
        }
        // A link target inside the text, as an empty anchor before its
        // letter; one the paragraph starts with is its id, and a link
        // cannot hold one.
        const QString anchor = anchorName(format);
        if (!anchor.isEmpty() && !field && (fragment.position() != block.position() || paragraphId(block).isEmpty()))
            m_out += QStringLiteral("<a") + attribute(u"name", escaped(anchor)) + QStringLiteral("></a>");
        if (format.isImageFormat())
            writePictures(fragment);
        else
            writeText(fragment.text(), field && style == fieldStyle ? QString() : style);
    }
    if (openField)
        m_out += QStringLiteral("</a>");
}

void EngineHtmlWriter::writeText(const QString& text, const QString& style)
{
    // Runs that differ only in what is not written (a link target on the
    // first letter, say) stay one span: a word is not cut in two.
    const QString spanEnd = QStringLiteral("</span>");
    const bool continuesSpan = !style.isEmpty() && style == m_lastSpanStyle && m_out.size() == m_lastSpanEnd;
    if (continuesSpan)
        m_out.chop(spanEnd.size());
    else if (!style.isEmpty())
        m_out += QStringLiteral("<span") + attribute(u"style", style) + u'>';
    m_out += escaped(text).replace(QChar::LineSeparator, QStringLiteral("<br />"));
    if (!style.isEmpty()) {
        m_out += spanEnd;
        m_lastSpanStyle = style;
        m_lastSpanEnd = m_out.size();
    }
}

void EngineHtmlWriter::writePictures(const QTextFragment& fragment)
{
    const QTextImageFormat format = fragment.charFormat().toImageFormat();
    const std::optional<QString> source = m_pictures.address(m_document, format);
    if (!source)
        return;
    QString tag = QStringLiteral("<img") + attribute(u"src", *source)
        + attribute(u"alt", escaped(format.stringProperty(QTextFormat::ImageAltText)));
    if (format.width() > 0)
        tag += attribute(u"width", QString::number(qRound(format.width())));
    if (format.height() > 0)
        tag += attribute(u"height", QString::number(qRound(format.height())));
    tag += pictureAlignment(format) + QStringLiteral(" />");
    for (int i = 0; i < fragment.length(); ++i)
        m_out += tag;
}

void EngineHtmlWriter::openList(const QTextList* list)
{
    const QTextListFormat format = list->format();
    const ListTag tag = listTag(format.style());
    const int start = format.intProperty(engine::ListStart);
    m_out += u'<' + tag.name.toString() + attribute(u"type", tag.type.toString())
        + (tag.name == u"ol" && start > 1 ? attribute(u"start", QString::number(start)) : QString()) + u'>' + kLineEnd;
    m_openLists.push_back(list);
}

// Closes the open lists that do not hold `list`'s items: every deeper one,
// and one of the same depth that is another list.
void EngineHtmlWriter::closeListsAround(const QTextList* list)
{
    const int indent = list ? list->format().indent() : 0;
    while (!m_openLists.empty()) {
        const QTextList* open = m_openLists.back();
        const int openIndent = open->format().indent();
        if (open == list || (list && openIndent < indent))
            return;
        closeList();
    }
}

void EngineHtmlWriter::closeList()
{
    const QTextList* list = m_openLists.back();
    m_out += QStringLiteral("</li>") + kLineEnd + QStringLiteral("</") + listTag(list->format().style()).name.toString()
        + u'>' + kLineEnd;
    m_openLists.pop_back();
}

void EngineHtmlWriter::closeLists()
{
    while (!m_openLists.empty())
        closeList();
}

} // namespace formats
