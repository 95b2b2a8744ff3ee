#pragma once
// Walks over the parts of a document in document order: text fragments and
// frames (tables and text frames alike).

#include <QList>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>

class QTextFrame;

namespace engine {

// Calls `visit(const QTextFragment&)` for every text fragment in order.
template<typename Visit>
void forEachFragment(const QTextDocument& document, Visit visit)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            visit(it.fragment());
    }
}

// Calls `visit(int position, const QTextImageFormat&)` for every image character.
template<typename Visit>
void forEachImage(const QTextDocument& document, Visit visit)
{
    // Deciding per format rather than per fragment keeps long texts cheap.
    const QList<QTextFormat> formats = document.allFormats();
    forEachFragment(document, [&](const QTextFragment& fragment) {
        const int index = fragment.charFormatIndex();
        if (index < 0 || index >= formats.size() || !formats.at(index).isImageFormat())
            return;
        const QTextImageFormat format = formats.at(index).toImageFormat();
        for (int i = 0; i < fragment.length(); ++i)
            visit(fragment.position() + i, format);
    });
}

// The format of the character at `position`. Unlike a cursor this never asks the
// document's layout, which may be far behind after a large change.
QTextCharFormat charFormatOf(const QTextDocument& document, int position);

// The innermost frame holding `position` (the root frame outside all others),
// found without a cursor for the same reason.
QTextFrame* frameAt(const QTextDocument& document, int position);

// The resource names of the pictures in [start, end), each once.
QStringList pictureNames(const QTextDocument& document, int start, int end);

// Every frame below the root frame, parents before their children.
QList<QTextFrame*> framesInOrder(const QTextDocument& document);

} // namespace engine
