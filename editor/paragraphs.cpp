#include "editor/paragraphs.h"

#include "engine/textengine.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace editor::paragraphs {

namespace {

Span spanOf(const QTextBlock& block)
{
    return {block.position(), block.position() + block.length() - 1};
}

} // namespace

Span covering(const engine::TextEngine& engine, int from, int to)
{
    const QTextDocument* document = engine.textCursor().document();
    const int last = document->characterCount() - 1;
    const QTextBlock first = document->findBlock(std::clamp(from, 0, last));
    const QTextBlock end = document->findBlock(std::clamp(to, 0, last));
    return {spanOf(first).start, spanOf(end).end};
}

QList<Span> all(const engine::TextEngine& engine)
{
    QList<Span> spans;
    const QTextDocument* document = engine.textCursor().document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        spans.append(spanOf(block));
    return spans;
}

} // namespace editor::paragraphs
