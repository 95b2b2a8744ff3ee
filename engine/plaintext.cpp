#include "engine/plaintext.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace engine::plaintext {

namespace {

constexpr QChar kLineBreak(u'\v');
constexpr QChar kPageBreak(u'\f');

bool startsNewPage(const QTextBlock& block)
{
    return block.isValid()
        && block.blockFormat().pageBreakPolicy().testFlag(QTextFormat::PageBreak_AlwaysBefore);
}

bool endsPage(const QTextBlock& block)
{
    return block.blockFormat().pageBreakPolicy().testFlag(QTextFormat::PageBreak_AlwaysAfter);
}

QString paragraphEnd(const QTextBlock& block)
{
    return endsPage(block) || startsNewPage(block.next()) ? QString(kPageBreak)
                                                          : QStringLiteral("\r\n");
}

QTextBlockFormat withPageBreaks(QTextBlockFormat format, QTextFormat::PageBreakFlags policy)
{
    if (policy == QTextFormat::PageBreak_Auto)
        format.clearProperty(QTextFormat::PageBreakPolicy);
    else
        format.setPageBreakPolicy(policy);
    return format;
}

// Ends the paragraph at `cursor`. Both halves keep the paragraph's format,
// except that a page break before stays with the first half and a page break
// after goes with the second, so a paragraph end never adds a page unless it
// is character 12, which starts the second half on a new page.
void insertParagraphEnd(QTextCursor& cursor, bool newPage)
{
    const QTextBlockFormat current = cursor.blockFormat();
    const auto policy = current.pageBreakPolicy();
    const auto after = policy & QTextFormat::PageBreak_AlwaysAfter;
    if (after)
        cursor.setBlockFormat(withPageBreaks(current, policy & ~after));
    cursor.insertBlock(withPageBreaks(current, after | (newPage ? QTextFormat::PageBreak_AlwaysBefore
                                                                : QTextFormat::PageBreak_Auto)));
}

// Document position of the last line break of `block` before `offset`; −1
// when the paragraph's start comes first.
int lineBreakBefore(const QTextBlock& block, int offset)
{
    const qsizetype found = offset > 0 ? block.text().lastIndexOf(QChar::LineSeparator, offset - 1) : -1;
    return found < 0 ? -1 : block.position() + int(found);
}

// Document position of the first line break of `block` at or after `offset`;
// −1 when the paragraph's end comes first.
int lineBreakFrom(const QTextBlock& block, int offset)
{
    const qsizetype found = block.text().indexOf(QChar::LineSeparator, offset);
    return found < 0 ? -1 : block.position() + int(found);
}

void replaceLineBreak(QTextDocument* document, int position)
{
    QTextCursor cursor(document);
    cursor.setPosition(position);
    cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    insertParagraphEnd(cursor, false);
}

} // namespace

QString fromDocument(const QTextDocument& document)
{
    return fromRange(document, 0, document.characterCount());
}

QString fromRange(const QTextDocument& document, int start, int end)
{
    QString text;
    for (QTextBlock block = document.findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        const int blockStart = block.position();
        const int separator = blockStart + block.length() - 1;
        const int from = std::max(start, blockStart);
        const int to = std::min(end, separator);
        if (to > from)
            text += block.text().mid(from - blockStart, to - from);
        if (separator < end && block.next().isValid())
            text += paragraphEnd(block);
    }
    text.replace(QChar::LineSeparator, kLineBreak);
    return text;
}

void insert(QTextCursor& cursor, const QString& text)
{
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool atEnd = i == text.size();
        const QChar c = atEnd ? QChar() : text.at(i);
        if (!atEnd && c != u'\r' && c != u'\n' && c != kPageBreak)
            continue;
        QString run = text.mid(runStart, i - runStart);
        run.replace(kLineBreak, QChar::LineSeparator);
        cursor.insertText(run);
        if (atEnd)
            break;
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        insertParagraphEnd(cursor, c == kPageBreak);
        runStart = i + 1;
    }
    cursor.endEditBlock();
}

void separateLines(const QTextCursor& cursor)
{
    QTextDocument* document = cursor.document();
    const int first = cursor.selectionStart();
    // The last character the selection takes in; for a caret, the one after it.
    const int last = std::max(first, cursor.selectionEnd() - 1);
    const QTextBlock lastBlock = document->findBlock(last);
    const QTextBlock firstBlock = document->findBlock(first);
    const int after = lineBreakFrom(lastBlock, last - lastBlock.position());
    const int before = lineBreakBefore(firstBlock, first - firstBlock.position());
    for (const int position : {after, before}) {
        if (position >= 0)
            replaceLineBreak(document, position);
    }
}

} // namespace engine::plaintext
