#include "engine/documentwalk.h"

#include <QTextFrame>

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
