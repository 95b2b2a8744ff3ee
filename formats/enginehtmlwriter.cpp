#include "formats/enginehtmlwriter.h"

#include "engine/fieldformat.h"
#include "env/mclt.h"
#include "formats/cssvalues.h"
#include "formats/fielddata.h"
#include "formats/picturefiles.h"

#include <QDir>
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

QString cellAttributes(const QTextTableCell& cell, const QList<QTextLength>& widths)
{
    QString attributes;
    if (const QString align = cellAlignment(cell); !align.isEmpty())
        attributes += attribute(u"align", align);
    if (const QString valign = verticalAlignment(cell.format()); !valign.isEmpty())
        attributes += attribute(u"valign", valign);
    const QBrush background = cell.format().background();
    if (background.style() != Qt::NoBrush)
        attributes += attribute(u"bgcolor", css::colourHex(background.color()));
    if (cell.row() == 0 && cell.columnSpan() == 1 && cell.column() < widths.size())
        attributes += lengthAttribute(u"width", widths.at(cell.column()));
    if (cell.columnSpan() > 1)
        attributes += attribute(u"colspan", QString::number(cell.columnSpan()));
    if (cell.rowSpan() > 1)
        attributes += attribute(u"rowspan", QString::number(cell.rowSpan()));
    return attributes;
}

QString styleAttribute(const QString& style)
{
    return style.isEmpty() ? QString() : attribute(u"style", style);
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

} // namespace

QString escaped(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += QStringLiteral("&amp;"); break;
        case u'<': out += QStringLiteral("&lt;"); break;
        case u'>': out += QStringLiteral("&gt;"); break;
        case u'"': out += QStringLiteral("&quot;"); break;
        case u'\t': out += c; break;
        default:
            if (c.unicode() >= 0x20 && c.unicode() != 0x7F)
                out += c;
        }
    }
    return out;
}

QString fileAddress(const QString& folder)
{
    QString path = mClt::withSlash(QDir::fromNativeSeparators(QDir(folder).absolutePath()));
    if (!path.startsWith(u'/'))
        path.prepend(u'/');
    return escaped(QStringLiteral("file://") + path).replace(u' ', QStringLiteral("%20"));
}

EngineHtmlWriter::EngineHtmlWriter(const QTextDocument& document, PictureFiles& pictures)
    : m_document(document)
    , m_pictures(pictures)
    , m_defaultFont(document.defaultFont())
{
}

QString EngineHtmlWriter::html(const QString& baseAddress)
{
    m_out = QStringLiteral("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />")
        + kLineEnd + QStringLiteral("<base href=\"") + baseAddress + QStringLiteral("\" />") + kLineEnd
        + QStringLiteral("<title>") + escaped(m_document.metaInformation(QTextDocument::DocumentTitle))
        + QStringLiteral("</title>") + kLineEnd + QStringLiteral("</head>") + kLineEnd
        + QStringLiteral("<body style=\"font-family:") + quotedFamily(m_defaultFont.family())
        + QStringLiteral(";font-size:") + css::number(ParagraphFont::of(m_defaultFont).size) + QStringLiteral("pt;\">")
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
            closeList();
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
    closeList();
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
    // Taken once: taken per cell, a row of many cells was quadratic.
    const QList<QTextLength> widths = format.columnWidthConstraints();
    for (int row = 0; row < table.rows(); ++row) {
        m_out += QStringLiteral("<tr>") + kLineEnd;
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (cell.row() != row || cell.column() != column)
                continue; // covered by a spanning cell
            m_out += QStringLiteral("<td") + cellAttributes(cell, widths) + u'>';
            writeContents(cell.begin(), cell.end());
            m_out += QStringLiteral("</td>") + kLineEnd;
        }
        m_out += QStringLiteral("</tr>") + kLineEnd;
    }
    m_out += QStringLiteral("</table>") + kLineEnd;
}

void EngineHtmlWriter::writeTextFrame(const QTextFrame& frame)
{
    m_out += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\" cols=\"1\" border=\"1\"")
        + lengthAttribute(u"width", frame.frameFormat().width()) + u'>' + kLineEnd + QStringLiteral("<tr>") + kLineEnd
        + QStringLiteral("<td>");
    writeContents(frame.begin(), frame.end());
    m_out += QStringLiteral("</td>") + kLineEnd + QStringLiteral("</tr>") + kLineEnd + QStringLiteral("</table>") + kLineEnd;
}

void EngineHtmlWriter::writeBlock(const QTextBlock& block)
{
    const QTextList* list = block.textList();
    if (list != m_openList) {
        closeList();
        if (list)
            openList(list);
    }
    const ParagraphFont font = ParagraphFont::of(block, m_defaultFont);
    const QString tag = list ? QStringLiteral("li") : QStringLiteral("p");
    m_out += u'<' + tag + attribute(u"style", paragraphStyle(block, font)) + u'>';
    if (block.length() <= 1)
        m_out += QStringLiteral("<br />");
    else
        writeRuns(block, font);
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
        const QString style = runStyle(format, font, paragraph);
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
    if (!style.isEmpty())
        m_out += QStringLiteral("<span") + attribute(u"style", style) + u'>';
    m_out += escaped(text).replace(QChar::LineSeparator, QStringLiteral("<br />"));
    if (!style.isEmpty())
        m_out += QStringLiteral("</span>");
}

void EngineHtmlWriter::writePictures(const QTextFragment& fragment)
{
    const QTextImageFormat format = fragment.charFormat().toImageFormat();
    const std::optional<QString> source = m_pictures.address(m_document, format);
    if (!source)
        return;
    QString tag = QStringLiteral("<img") + attribute(u"src", *source) + attribute(u"alt", QString());
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
    const ListTag tag = listTag(list->format().style());
    m_out += u'<' + tag.name.toString() + attribute(u"type", tag.type.toString()) + u'>' + kLineEnd;
    m_openList = list;
}

void EngineHtmlWriter::closeList()
{
    if (!m_openList)
        return;
    m_out += QStringLiteral("</") + listTag(m_openList->format().style()).name.toString() + u'>' + kLineEnd;
    m_openList = nullptr;
}

} // namespace formats
