#pragma once
// Text frames made and read back the way a user would meet them, for the
// tests that open files into frames.

#include "engine/objects.h"
#include "engine/textengine.h"

#include <QString>
#include <QTextCursor>
#include <QTextFrame>

namespace editortest {

// The text of frame `id` alone, paragraphs ending in U+2029; empty when there is no such frame.
inline QString frameText(engine::TextEngine& engine, int id)
{
    const QTextFrame* frame = engine::Objects(*engine.document()).textFrame(id);
    if (!frame)
        return {};
    QTextCursor cursor = frame->firstCursorPosition();
    cursor.setPosition(frame->lastPosition(), QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

// A frame at the end of the document holding `text`, made current; its id, or 0.
inline int addTextFrame(engine::TextEngine& engine, const QString& text)
{
    engine.setSelection(int(engine.plainText().size()), 0);
    const int frame = engine.insertTextFrame(2880, 720);
    if (frame > 0 && engine.makeTextFrameCurrent(frame))
        engine.setSelectedText(text);
    return frame;
}

} // namespace editortest
