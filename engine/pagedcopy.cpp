#include "engine/pagedcopy.h"

#include "engine/fieldformat.h"
#include "engine/guardeddocument.h"
#include "engine/layoutdevice.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <climits>
#include <numeric>
#include <optional>
#include <utility>

namespace engine {

namespace {

constexpr QChar kFormFeed(u'\f');

void setPageBreakPolicy(QTextCursor cursor, QTextFormat::PageBreakFlags policy)
{
    QTextBlockFormat format;
    format.setPageBreakPolicy(policy);
    cursor.mergeBlockFormat(format);
}

// A page break written as character 12 becomes the paragraph break policy the
// layout understands; the character itself takes no room on the page. A break
// at a paragraph's edge marks that paragraph; anywhere else, and where two
// breaks meet or the document ends, the paragraph is split so that the break
// still starts a page of its own, and the second half is marked as the rest
// of the first. Returns the paragraph that holds the text after the break.
QTextBlock breakPageAt(QTextDocument& document, int position)
{
    QTextCursor found(&document);
    found.setPosition(position);
    found.setPosition(position + 1, QTextCursor::KeepAnchor);
    const QTextBlock block = found.block();
    const auto policy = block.blockFormat().pageBreakPolicy();
    const int offset = position - block.position();
    const bool lastInBlock = offset == block.length() - 2;
    found.removeSelectedText();
    if (offset == 0 && !(policy & QTextFormat::PageBreak_AlwaysBefore)) {
        setPageBreakPolicy(found, policy | QTextFormat::PageBreak_AlwaysBefore);
    } else if (lastInBlock && offset > 0 && block.next().isValid()) {
        setPageBreakPolicy(found, policy | QTextFormat::PageBreak_AlwaysAfter);
    } else {
        // A break after the paragraph belongs to its second half.
        found.insertBlock();
        setPageBreakPolicy(QTextCursor(document.findBlock(position)), policy & ~QTextFormat::PageBreak_AlwaysAfter);
        QTextBlockFormat rest;
        rest.setPageBreakPolicy((policy & QTextFormat::PageBreak_AlwaysAfter) | QTextFormat::PageBreak_AlwaysBefore);
        rest.setProperty(SplitByFormFeed, true);
        found.mergeBlockFormat(rest);
    }
    return found.block();
}

void turnFormFeedsIntoPageBreaks(QTextDocument& document, QTextBlock block, int paragraphs)
{
    while (block.isValid() && paragraphs > 0) {
        const int at = block.text().indexOf(kFormFeed);
        if (at < 0) {
            block = block.next();
            --paragraphs;
        } else {
            block = breakPageAt(document, block.position() + at);
        }
    }
}

// A field's data that names a web or mail address (a scheme of two letters
// or more, so that "C:" is a drive), as a link a PDF viewer can follow; ""
// for tags, tool tips, references and relative names, which only mean
// something inside the program's own folder of documents.
QString followableAddress(const QVariant& fieldData)
{
    const QString data = fieldData.toString();
    const QUrl url(data, QUrl::StrictMode);
    return url.isValid() && url.scheme().size() > 1 ? data : QString();
}

// Link fields become anchors of the copy: the painter then hands their
// addresses to devices that keep links, such as PDF.
void anchorLinkFields(QTextDocument& document, QTextBlock first, int paragraphs)
{
    struct Link {
        int position, length;
        QString address;
    };
    std::vector<Link> links;
    for (QTextBlock block = first; block.isValid() && paragraphs-- > 0; block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            if (!format.hasProperty(FieldData))
                continue;
            const QString address = followableAddress(format.property(FieldData));
            if (!address.isEmpty())
                links.push_back({fragment.fragment().position(), fragment.fragment().length(), address});
        }
    }
    QTextCursor cursor(&document);
    for (const Link& link : links) {
        cursor.setPosition(link.position);
        cursor.setPosition(link.position + link.length, QTextCursor::KeepAnchor);
        QTextCharFormat anchor;
        anchor.setAnchor(true);
        anchor.setAnchorHref(link.address);
        cursor.mergeCharFormat(anchor);
    }
}

// Where paragraphs stand that the copy can follow: the main text (row and
// column -1), or one cell of a table of the main text. A table lays its
// cells out again whenever one changes, whatever changed in it.
struct Place {
    const QTextFrame* frame = nullptr;
    int row = -1;
    int column = -1;
};

// The place of a paragraph whose layout depends on nothing but its own text
// and formats and where it stands; none for paragraphs in lists, text frames
// or nested tables, with a floating picture, or with a character the cursor
// would read as a new paragraph.
std::optional<Place> placeOf(const QTextDocument& document, const QTextBlock& block)
{
    if (!block.isValid() || block.textList() || block.blockFormat().objectIndex() != -1)
        return std::nullopt;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.charFormat().objectIndex() != -1 || fragment.text().contains(u'\n')
            || fragment.text().contains(u'\r'))
            return std::nullopt;
    }
    const QTextFrame* frame = QTextCursor(block).currentFrame();
    if (frame == document.rootFrame())
        return Place{frame};
    const auto* table = qobject_cast<const QTextTable*>(frame);
    if (!table || table->parentFrame() != document.rootFrame())
        return std::nullopt;
    const QTextTableCell cell = table->cellAt(block.position());
    return Place{frame, cell.row(), cell.column()};
}

// The one place `count` paragraphs from `block` on share, as its row and
// column; none where they stand in more than one.
std::optional<std::pair<int, int>> sharedPlace(const QTextDocument& document, QTextBlock block, int count)
{
    const std::optional<Place> first = placeOf(document, block);
    if (!first)
        return std::nullopt;
    for (block = block.next(); --count > 0; block = block.next()) {
        const std::optional<Place> place = placeOf(document, block);
        if (!place || place->frame != first->frame || place->row != first->row || place->column != first->column)
            return std::nullopt;
    }
    return std::pair(first->row, first->column);
}

// Writes `block` of another document at `cursor`, which stands in an empty
// paragraph, and leaves the cursor at its end.
void writeParagraph(QTextCursor& cursor, const QTextBlock& block)
{
    cursor.setBlockFormat(block.blockFormat());
    cursor.setBlockCharFormat(block.charFormat());
    for (auto it = block.begin(); !it.atEnd(); ++it)
        cursor.insertText(it.fragment().text(), it.fragment().charFormat());
}

void prepareForLayout(QTextDocument& copy, LayoutDevice& device, const QSizeF& pageSize)
{
    copy.setUndoRedoEnabled(false);
    copy.setUseDesignMetrics(true);
    copy.documentLayout()->setPaintDevice(&device);

    QTextOption option = copy.defaultTextOption();
    option.setFlags(option.flags() & ~(QTextOption::ShowTabsAndSpaces
                                       | QTextOption::ShowLineAndParagraphSeparators
                                       | QTextOption::ShowDocumentTerminator));
    copy.setDefaultTextOption(option);

    QTextFrameFormat root = copy.rootFrame()->frameFormat();
    root.setMargin(0);
    root.setPadding(0);
    copy.rootFrame()->setFrameFormat(root);

    copy.setPageSize(pageSize);
}

} // namespace

PagedCopy::PagedCopy(const QTextDocument& source, LayoutDevice& device, const QSizeF& pageSize,
                     bool breakAtFormFeeds)
    : m_copy(GuardedDocument::copyOf(source)), m_breakAtFormFeeds(breakAtFormFeeds)
{
    if (breakAtFormFeeds)
        turnFormFeedsIntoPageBreaks(*m_copy, m_copy->begin(), INT_MAX);
    anchorLinkFields(*m_copy, m_copy->begin(), INT_MAX);
    m_pieces = piecesFrom(m_copy->begin(), INT_MAX);
    m_lost = int(m_pieces.size()) != source.blockCount();
    prepareForLayout(*m_copy, device, pageSize);
}

PagedCopy::~PagedCopy() = default;

// How far the change reached before it follows from the paragraphs it added
// or took away; the characters removed are not needed.
void PagedCopy::recordChange(const QTextDocument& source, int position, int /*charsRemoved*/, int charsAdded)
{
    if (m_lost)
        return;
    const int delta = source.blockCount() - int(m_pieces.size()) - m_pending.delta;
    const int first = source.findBlock(position).blockNumber();
    const int last = source.findBlock(std::min(position + charsAdded, source.characterCount() - 1)).blockNumber();
    if (first < 0 || last < first) {
        m_lost = true;
        return;
    }
    // In the numbering after the changes recorded before, this change made
    // [first, last - delta] into [first, last]; their union reaches as far
    // as the later of the two ends.
    const int lastBefore = last - delta;
    if (m_pending.first < 0) {
        m_pending = {first, lastBefore, delta};
        return;
    }
    const int pendingLast = m_pending.lastOld + m_pending.delta;
    const int lastOld = lastBefore > pendingLast ? lastBefore - m_pending.delta : m_pending.lastOld;
    m_pending = {std::min(first, m_pending.first), lastOld, m_pending.delta + delta};
}

bool PagedCopy::catchUp(const QTextDocument& source)
{
    const Pending pending = std::exchange(m_pending, Pending{});
    if (m_lost || pending.first < 0)
        return !m_lost;
    const int lastNew = pending.lastOld + pending.delta;
    const int replaced = pending.lastOld - pending.first + 1;
    const int written = lastNew - pending.first + 1;
    m_lost = replaced < 1 || written < 1 || pending.lastOld >= int(m_pieces.size())
          || lastNew >= source.blockCount() || int(m_pieces.size()) + pending.delta != source.blockCount()
          || !replaceParagraphs(source, pending.first, pending.lastOld, lastNew);
    return !m_lost;
}

int PagedCopy::copyBlockOf(int sourceBlock) const
{
    return std::accumulate(m_pieces.begin(), m_pieces.begin() + sourceBlock, 0);
}

// Writes the source's paragraphs [first, lastNew] over those of the copy that
// held its paragraphs [first, lastOld] before the change.
bool PagedCopy::replaceParagraphs(const QTextDocument& source, int first, int lastOld, int lastNew)
{
    const int copyFirst = copyBlockOf(first);
    const int copyCount = std::accumulate(m_pieces.begin() + first, m_pieces.begin() + lastOld + 1, 0);
    const QTextBlock from = m_copy->findBlockByNumber(copyFirst);
    const QTextBlock to = m_copy->findBlockByNumber(copyFirst + copyCount - 1);
    const QTextBlock sourceFirst = source.findBlockByNumber(first);
    const int paragraphs = lastNew - first + 1;
    const auto place = sharedPlace(source, sourceFirst, paragraphs);
    if (!to.isValid() || !place || sharedPlace(*m_copy, from, copyCount) != place)
        return false;

    QTextCursor cursor(m_copy.get());
    cursor.beginEditBlock();
    cursor.setPosition(from.position());
    cursor.setPosition(to.position() + to.length() - 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    QTextBlock block = sourceFirst;
    for (int i = 0; i < paragraphs; ++i, block = block.next()) {
        if (i > 0)
            cursor.insertBlock();
        writeParagraph(cursor, block);
    }
    GuardedDocument::copyPictures(source, *m_copy, sourceFirst, paragraphs);
    if (m_breakAtFormFeeds)
        turnFormFeedsIntoPageBreaks(*m_copy, m_copy->findBlockByNumber(copyFirst), paragraphs);
    const std::vector<int> pieces = piecesFrom(m_copy->findBlockByNumber(copyFirst), paragraphs);
    anchorLinkFields(*m_copy, m_copy->findBlockByNumber(copyFirst), std::accumulate(pieces.begin(), pieces.end(), 0));
    cursor.endEditBlock();

    if (int(pieces.size()) != paragraphs)
        return false;
    m_pieces.erase(m_pieces.begin() + first, m_pieces.begin() + lastOld + 1);
    m_pieces.insert(m_pieces.begin() + first, pieces.begin(), pieces.end());
    return m_copy->blockCount() == std::accumulate(m_pieces.begin(), m_pieces.end(), 0);
}

// How many paragraphs of the copy hold each of `paragraphs` source
// paragraphs, the first of which starts at `start`.
std::vector<int> PagedCopy::piecesFrom(const QTextBlock& start, int paragraphs) const
{
    std::vector<int> pieces;
    for (QTextBlock block = start; block.isValid(); block = block.next()) {
        if (block.blockFormat().boolProperty(SplitByFormFeed) && !pieces.empty()) {
            ++pieces.back();
        } else {
            if (int(pieces.size()) == paragraphs)
                break;
            pieces.push_back(1);
        }
    }
    return pieces;
}

} // namespace engine
