#include "engine/documentwalk.h"

#include <QTextFrame>

#include <algorithm>

namespace engine {

namespace {

void collectFrames(QTextFrame* parent, QList<QTextFrame*>& into)
{
    for (QTextFrame* child : parent->childFrames()) {
        into.append(child);
        collectFrames(child, into);
    }
}

} // namespace

QList<QTextFrame*> framesInOrder(const QTextDocument& document)
{
    QList<QTextFrame*> frames;
    collectFrames(document.rootFrame(), frames);
    return frames;
}

QTextCharFormat charFormatOf(const QTextDocument& document, int position)
{
    const QTextBlock block = document.findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().contains(position))
            return it.fragment().charFormat();
    }
    // The separator ending a paragraph carries the format its successor
    // starts with.
    const QTextBlock next = block.next();
    return next.isValid() ? next.charFormat() : block.charFormat();
}

QTextFrame* frameAt(const QTextDocument& document, int position)
{
    QTextFrame* frame = document.rootFrame();
    for (;;) {
        const QList<QTextFrame*> children = frame->childFrames();
        const auto child = std::lower_bound(children.begin(), children.end(), position,
                                            [](const QTextFrame* f, int p) { return f->lastPosition() < p; });
        if (child == children.end() || (*child)->firstPosition() > position)
            return frame;
        frame = *child;
    }
}

QStringList pictureNames(const QTextDocument& document, int start, int end)
{
    QStringList names;
    forEachImage(document, [&](int position, const QTextImageFormat& format) {
        if (position >= start && position < end && !names.contains(format.name()))
            names.append(format.name());
    });
    return names;
}

} // namespace engine
