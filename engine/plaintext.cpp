#include "engine/plaintext.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

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
        QTextBlockFormat next = cursor.blockFormat();
        next.clearProperty(QTextFormat::PageBreakPolicy);
        if (c == kPageBreak)
            next.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.insertBlock(next);
        runStart = i + 1;
    }
    cursor.endEditBlock();
}

} // namespace engine::plaintext
