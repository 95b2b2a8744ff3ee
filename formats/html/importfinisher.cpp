#include "formats/html/importfinisher.h"

#include "engine/documentwalk.h"
#include "engine/fields.h"
#include "engine/hostunits.h"
#include "engine/objects.h"
#include "engine/pagesetup.h"
#include "engine/tables.h"
#include "formats/html/fielddata.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <functional>

namespace formats {

namespace {

constexpr int kProgramFieldAttribute = 149;
constexpr int kLinkFieldKind = 1;
constexpr int kTagFieldKind = 2;

// A paragraph's box as its declarations give it, in twips; unset sides are
// left as Qt's import made them.
struct ParagraphBox {
    std::optional<double> top, right, bottom, left, indent;

    void set(const css::Declaration& d)
    {
        if (d.property == u"margin")
            setAll(d.value);
        else if (d.property == u"margin-top")
            top = css::lengthInTwips(d.value);
        else if (d.property == u"margin-right")
            right = css::lengthInTwips(d.value);
        else if (d.property == u"margin-bottom")
            bottom = css::lengthInTwips(d.value);
        else if (d.property == u"margin-left")
            left = css::lengthInTwips(d.value);
        else if (d.property == u"text-indent")
            indent = css::lengthInTwips(d.value);
    }

    // The shorthand: one to four values, top right bottom left.
    void setAll(const QString& value)
    {
        const QStringList parts = value.split(u' ', Qt::SkipEmptyParts);
        if (parts.isEmpty() || parts.size() > 4)
            return;
        const auto part = [&parts](qsizetype i) { return css::lengthInTwips(parts.at(std::min(i, parts.size() - 1))); };
        top = part(0);
        right = part(1);
        bottom = parts.size() > 2 ? part(2) : top;
        left = parts.size() > 3 ? part(3) : right;
    }
};

void setIfGiven(const std::optional<double>& twips, bool orZero, const std::function<void(double)>& set)
{
    if (twips || orZero)
        set(engine::twipsToDocument(twips.value_or(0.0)));
}

double fontSizeOf(const QTextBlock& block, const QTextDocument& document)
{
    const double own = block.charFormat().fontPointSize();
    if (own > 0)
        return own;
    const double standard = document.defaultFont().pointSizeF();
    return standard > 0 ? standard : 10.0;
}

// The minimum line height in twips the declaration `value` asks for; 0 for
// single spacing; nullopt when it is not understood.
std::optional<double> lineHeightTwips(const QString& value, double fontSize)
{
    const double em = fontSize * engine::kTwipsPerPoint;
    if (value.compare(u"normal", Qt::CaseInsensitive) == 0)
        return 0.0;
    if (value.endsWith(u'%')) {
        bool ok = false;
        const double percent = value.chopped(1).trimmed().toDouble(&ok);
        // The writer writes the whole percentage, cut down: N.5 writes N.
        return ok && percent > 0 ? std::optional<double>((percent + 0.5) / 100.0 * em) : std::nullopt;
    }
    bool ok = false;
    const double factor = value.toDouble(&ok);
    if (ok)
        return factor > 0 ? std::optional<double>(factor * em) : std::nullopt;
    return css::lengthInTwips(value);
}

std::optional<Qt::Alignment> alignment(const std::optional<QString>& value)
{
    static const std::pair<QStringView, Qt::Alignment> names[] = {
        {u"left", Qt::AlignLeft}, {u"right", Qt::AlignRight}, {u"center", Qt::AlignHCenter}, {u"justify", Qt::AlignJustify}};
    for (const auto& [name, align] : names) {
        if (value && value->compare(name, Qt::CaseInsensitive) == 0)
            return align;
    }
    return std::nullopt;
}

void setLineHeight(QTextBlockFormat& format, double twips)
{
    if (twips > 0)
        format.setLineHeight(engine::twipsToDocument(twips), QTextBlockFormat::MinimumHeight);
    else
        format.setLineHeight(0, QTextBlockFormat::SingleHeight);
}

QTextCursor selection(QTextDocument& document, int start, int end)
{
    QTextCursor cursor(&document);
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    return cursor;
}

QString markerOf(const QTextCharFormat& format)
{
    const QString href = format.anchorHref();
    if (href.startsWith(kLinkMarker))
        return href;
    const QString tip = format.toolTip();
    return tip.startsWith(kTipMarker) ? tip : QString();
}

size_t markerNumber(const QString& marker, QStringView prefix)
{
    return marker.mid(prefix.size()).toULong();
}

// The writer gives a tool-tip span the title "text : tip".
QString tipOf(const QString& title, const QString& text)
{
    const QString separator = QStringLiteral(" : ");
    if (title.startsWith(text + separator))
        return title.mid(text.size() + separator.size());
    const qsizetype at = title.indexOf(separator);
    return at < 0 ? title : title.mid(at + separator.size());
}

// The character format of a picture's marker without the picture.
QTextCharFormat withoutPicture(QTextCharFormat format)
{
    for (const int property : {int(QTextFormat::ObjectType), int(QTextFormat::ImageName), int(QTextFormat::ImageWidth),
                               int(QTextFormat::ImageHeight)})
        format.clearProperty(property);
    return format;
}

bool isTransparent(const QBrush& brush)
{
    return brush.style() != Qt::NoBrush && brush.color().alpha() == 0;
}

// A base element naming a local folder wins over the file's own folder.
QString pictureFolder(const ImportNotes& notes, const QString& fileFolder)
{
    const QUrl base(notes.baseAddress);
    return base.isLocalFile() ? base.toLocalFile() : fileFolder;
}

} // namespace

ImportFinisher::ImportFinisher(QTextDocument& document, const ImportNotes& notes, ImportOptions options)
    : m_document(document)
    , m_notes(notes)
    , m_options(std::move(options))
    , m_pictures(pictureFolder(notes, m_options.folder))
    , m_objects(document)
{
}

void ImportFinisher::finish()
{
    applyParagraphs();
    emptyMarkedParagraphs();
    tidyTables();
    restoreIdeographicSpaces();
    placePictures();
    placeAnchors();
    makeFields();
    makeTextFrames();
    if (!m_notes.title.isEmpty())
        m_document.setMetaInformation(QTextDocument::DocumentTitle, m_notes.title);
}

void ImportFinisher::applyParagraphs()
{
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        const int state = block.userState();
        if (state >= 0 && size_t(state) < m_notes.paragraphs.size())
            applyParagraph(block, m_notes.paragraphs[size_t(state)]);
        if (state != -1)
            block.setUserState(-1);
    }
}

void ImportFinisher::applyParagraph(const QTextBlock& block, const ParagraphNote& note)
{
    ParagraphBox box;
    for (const css::Declaration& d : note.declarations)
        box.set(d);
    // The dialect leaves out zero values; other files leave Qt's defaults.
    const bool zeroWhenUnset = m_notes.dialect;
    QTextBlockFormat format = block.blockFormat();
    if (isTransparent(format.background()))
        format.clearBackground();
    setIfGiven(box.top, zeroWhenUnset, [&format](double v) { format.setTopMargin(v); });
    setIfGiven(box.right, zeroWhenUnset, [&format](double v) { format.setRightMargin(v); });
    setIfGiven(box.bottom, zeroWhenUnset, [&format](double v) { format.setBottomMargin(v); });
    setIfGiven(box.left, zeroWhenUnset, [&format](double v) { format.setLeftMargin(v); });
    setIfGiven(box.indent, zeroWhenUnset, [&format](double v) { format.setTextIndent(v); });
    const double fontSize = fontSizeOf(block, m_document);
    if (const std::optional<QString> value = css::lastValue(note.declarations, u"line-height")) {
        if (const std::optional<double> twips = lineHeightTwips(*value, fontSize))
            setLineHeight(format, *twips);
    } else if (m_notes.dialect) {
        setLineHeight(format, fontSize * engine::kTwipsPerPoint * m_options.lineSpacing);
    }
    // Qt's import knows no "justify".
    if (const std::optional<Qt::Alignment> align = alignment(css::lastValue(note.declarations, u"text-align")))
        format.setAlignment(*align);
    if (note.headingLevel > 0)
        format.setHeadingLevel(note.headingLevel);
    if (note.opensTextFrame)
        noteTextFrame(block);
    QTextCursor(block).setBlockFormat(format);
    // Qt's import counts every list from 1.
    if (QTextList* list = block.textList(); list && note.listStart > 0) {
        QTextListFormat listFormat = list->format();
        listFormat.setProperty(engine::ListStart, note.listStart);
        list->setFormat(listFormat);
    }
}

void ImportFinisher::noteTextFrame(const QTextBlock& block)
{
    QTextTable* table = QTextCursor(block).currentTable();
    if (table && table->rows() == 1 && table->columns() == 1
        && std::find(m_textFrameTables.begin(), m_textFrameTables.end(), table) == m_textFrameTables.end())
        m_textFrameTables.push_back(table);
}

void ImportFinisher::makeTextFrames()
{
    for (const QPointer<QTextTable>& table : m_textFrameTables)
        if (table)
            makeTextFrame(*table);
}

void ImportFinisher::makeTextFrame(QTextTable& table)
{
    const QTextTableCell cell = table.cellAt(0, 0);
    const QTextDocumentFragment content = selection(m_document, cell.firstPosition(), cell.lastPosition()).selection();
    // The fragment's first paragraph joins the frame's empty one and would
    // take its format.
    const QTextBlockFormat first = m_document.findBlock(cell.firstPosition()).blockFormat();
    const QTextLength width = table.format().width();
    const int at = table.firstPosition() - 1;
    table.removeRows(0, table.rows());
    QTextCursor cursor(&m_document);
    cursor.setPosition(at);
    const int id = m_objects.insertTextFrame(cursor, {width.type() == QTextLength::FixedLength ? width.rawValue() : 0.0, 0.0});
    QTextCursor inside(&m_document);
    inside.setPosition(m_objects.textFrame(id)->firstPosition());
    inside.setBlockFormat(first);
    inside.insertFragment(content);
}

void ImportFinisher::tidyTables()
{
    for (QTextFrame* frame : engine::framesInOrder(m_document)) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        keepCellBorders(*table);
        for (const QTextTableCell& cell : engine::cellsOf(*table))
            clearCellCopies(cell);
    }
}

// LibreOffice draws a table's lines as borders of its cells; the engine
// draws a table's lines as the table's border.
void ImportFinisher::keepCellBorders(QTextTable& table)
{
    if (table.format().border() > 0 || table.rows() == 0 || table.columns() == 0)
        return;
    const QTextTableCellFormat cell = table.cellAt(0, 0).format().toTableCellFormat();
    const double widest = std::max({cell.topBorder(), cell.bottomBorder(), cell.leftBorder(), cell.rightBorder()});
    if (widest <= 0)
        return;
    QTextTableFormat format = table.format();
    format.setBorder(std::max(1.0, std::round(widest)));
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    table.setFormat(format);
}

void ImportFinisher::clearCellCopies(QTextTableCell cell)
{
    // "background: transparent" is no colour; kept, it would be written as
    // black.
    QTextCharFormat own = cell.format();
    if (isTransparent(own.background())) {
        own.clearBackground();
        cell.setFormat(own);
        own = cell.format();
    }
    const bool shaded = own.background().style() != Qt::NoBrush;
    // A cell with neither leaves its paragraphs and runs nothing to clear.
    if (!shaded && !own.hasProperty(QTextFormat::TextVerticalAlignment))
        return;
    const auto copied = [&](const QTextFormat& format) {
        return shaded && format.background().style() != Qt::NoBrush && format.background().color() == own.background().color();
    };
    std::vector<std::pair<QTextCursor, QTextCharFormat>> runs;
    for (QTextFrame::iterator it = cell.begin(); it != cell.end(); ++it) {
        const QTextBlock block = it.currentBlock();
        if (!block.isValid())
            continue;
        if (copied(block.blockFormat())) {
            QTextBlockFormat format = block.blockFormat();
            format.clearBackground();
            QTextCursor(block).setBlockFormat(format);
        }
        for (QTextBlock::iterator run = block.begin(); !run.atEnd(); ++run) {
            const QTextFragment fragment = run.fragment();
            QTextCharFormat format = fragment.charFormat();
            const bool background = copied(format);
            const bool placement = own.hasProperty(QTextFormat::TextVerticalAlignment)
                && format.verticalAlignment() == own.verticalAlignment();
            if (!background && !placement)
                continue;
            if (background)
                format.clearBackground();
            if (placement)
                format.clearProperty(QTextFormat::TextVerticalAlignment);
            runs.emplace_back(selection(m_document, fragment.position(), fragment.position() + fragment.length()), format);
        }
    }
    for (auto& [range, format] : runs)
        range.setCharFormat(format);
}

void ImportFinisher::emptyMarkedParagraphs()
{
    const QString marker(m_notes.emptyParagraph);
    if (!m_document.toRawText().contains(marker))
        return;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        if (block.text() == marker)
            selection(m_document, block.position(), block.position() + 1).removeSelectedText();
    }
}

void ImportFinisher::restoreIdeographicSpaces()
{
    const QChar placeholder = m_notes.spacePlaceholder;
    if (!m_document.toRawText().contains(placeholder))
        return;
    std::vector<std::pair<int, QTextCharFormat>> found;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        if (!block.text().contains(placeholder))
            continue;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString text = fragment.text();
            for (qsizetype i = text.indexOf(placeholder); i >= 0; i = text.indexOf(placeholder, i + 1))
                found.emplace_back(fragment.position() + int(i), fragment.charFormat());
        }
    }
    // One character for another: the positions stay valid.
    for (const auto& [position, format] : found)
        selection(m_document, position, position + 1).insertText(QString(QChar(u'\u3000')), format);
}

void ImportFinisher::placeAnchors()
{
    if (m_notes.anchors.empty())
        return;
    const QChar marker = m_notes.anchorMarker;
    // The document's text holds every character at its position, the
    // paragraph and frame ends included.
    const QString text = m_document.toRawText();
    std::vector<int> found;
    for (qsizetype i = text.indexOf(marker); i >= 0; i = text.indexOf(marker, i + 1))
        found.push_back(int(i));
    // From the last, so that taking a marker out moves none still to come.
    for (size_t n = found.size(); n-- > 0;) {
        const int position = found[n];
        selection(m_document, position, position + 1).removeSelectedText();
        const QTextBlock block = m_document.findBlock(position);
        if (n >= m_notes.anchors.size() || position >= block.position() + block.length() - 1)
            continue;
        QTextCharFormat target;
        engine::setAnchorNames(target, m_notes.anchors[n]);
        selection(m_document, position, position + 1).mergeCharFormat(target);
    }
}

void ImportFinisher::placePictures()
{
    if (m_notes.pictures.empty())
        return;
    std::vector<std::pair<int, size_t>> marked; // position, note
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString name = fragment.charFormat().toImageFormat().name();
            if (!fragment.charFormat().isImageFormat() || !name.startsWith(kPictureMarker))
                continue;
            const size_t note = markerNumber(name, kPictureMarker);
            for (int i = 0; i < fragment.length() && note < m_notes.pictures.size(); ++i)
                marked.emplace_back(fragment.position() + i, note);
        }
    }
    // Last first: a picture left out shortens the text behind it.
    for (auto it = marked.crbegin(); it != marked.crend(); ++it)
        placePicture(it->first, m_notes.pictures[it->second]);
}

void ImportFinisher::placePicture(int position, const PictureNote& note)
{
    QTextCursor cursor = selection(m_document, position, position + 1);
    const QTextCharFormat marked = cursor.charFormat();
    const PictureSource::Picture found = m_pictures.picture(note.address);
    if (found.image.isNull()) {
        // What the picture said stays readable, inside its link if any.
        cursor.insertText(note.alt, withoutPicture(marked));
        return;
    }
    m_objects.insertPicture(cursor, found.image, note.placement, found.fileName);
    // Keep what the markup around the picture said (its link and alt text)
    // and its size.
    QTextImageFormat kept;
    if (!note.alt.isEmpty())
        kept.setProperty(QTextFormat::ImageAltText, note.alt);
    for (const int property : {int(QTextFormat::AnchorHref), int(QTextFormat::IsAnchor), int(QTextFormat::TextToolTip)}) {
        if (marked.hasProperty(property))
            kept.setProperty(property, marked.property(property));
    }
    if (note.width)
        kept.setWidth(*note.width);
    if (note.height)
        kept.setHeight(*note.height);
    selection(m_document, position, position + 1).mergeCharFormat(kept);
}

bool ImportFinisher::canFindPictures() const
{
    return std::all_of(m_notes.pictures.begin(), m_notes.pictures.end(),
                       [this](const PictureNote& note) { return m_pictures.canFind(note.address); });
}

void ImportFinisher::makeFields()
{
    std::vector<MarkedRun> runs;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString marker = markerOf(fragment.charFormat());
            if (marker.isEmpty())
                continue;
            const int start = fragment.position();
            const int end = start + fragment.length();
            if (runs.empty() || runs.back().marker != marker || runs.back().end != start)
                runs.push_back({marker, start, end, {}});
            runs.back().end = end;
            runs.back().pieces.push_back({start, end, fragment.charFormat()});
        }
    }
    int id = firstFreeFieldId();
    // One edit block: a layout that follows each change would lay a
    // paragraph of many runs out again per run.
    QTextCursor edit(&m_document);
    edit.beginEditBlock();
    for (const MarkedRun& run : runs)
        makeField(run, id++);
    edit.endEditBlock();
}

int ImportFinisher::firstFreeFieldId() const
{
    const engine::Fields fields(m_document);
    int highest = 0;
    for (const engine::FieldRun& run : fields.runs())
        highest = std::max(highest, run.id);
    return highest + 1;
}

QString ImportFinisher::fieldData(const MarkedRun& run) const
{
    if (run.marker.startsWith(kLinkMarker)) {
        const size_t link = markerNumber(run.marker, kLinkMarker);
        return link < m_notes.links.size() ? m_notes.links[link] : QString();
    }
    const size_t tip = markerNumber(run.marker, kTipMarker);
    if (tip >= m_notes.tips.size())
        return {};
    const QString text = selection(m_document, run.start, run.end).selectedText();
    return QStringLiteral("TP_") + tipOf(m_notes.tips[tip], text);
}

void ImportFinisher::makeField(const MarkedRun& run, int id)
{
    const QString data = fieldData(run);
    QTextCharFormat field;
    if (!data.isEmpty()) {
        field.setProperty(engine::FieldId, id);
        field.setProperty(engine::FieldData, data);
        field.setProperty(engine::FieldKind, fieldKind(data) == FieldKind::Tag ? kTagFieldKind : kLinkFieldKind);
        field.setProperty(engine::FieldAttribute, kProgramFieldAttribute);
        field.setForeground(fieldColour(data));
    }
    // Each piece keeps its own look; only the markers go. The pieces were
    // taken in one walk over the document: finding each again from its
    // paragraph's start made a link of many runs quadratic.
    for (const MarkedPiece& piece : run.pieces) {
        QTextCharFormat format = piece.format;
        if (format.anchorHref().startsWith(kLinkMarker)) {
            format.clearProperty(QTextFormat::AnchorHref);
            format.clearProperty(QTextFormat::IsAnchor);
        }
        if (format.toolTip().startsWith(kTipMarker))
            format.clearProperty(QTextFormat::TextToolTip);
        format.merge(field);
        selection(m_document, piece.start, piece.end).setCharFormat(format);
    }
}

} // namespace formats
