#pragma once
// The editor's second undo layer: a whole-document snapshot (the engine's
// format 3) taken before commands the engine cannot undo as one step, which
// the next undo brings back unless the user changed the document since.

#include <QByteArray>

namespace engine {
class TextEngine;
}

namespace editor {

class SnapshotLayer {
public:
    explicit SnapshotLayer(engine::TextEngine& engine);

    // Keeps the whole document as it is now and holds it for the next undo.
    // When the engine cannot save, nothing is held: an older snapshot must
    // never come back in its place.
    void take();
    // Gives up the snapshot just taken, for a command that changed nothing,
    // so that undo reaches the engine's own steps again.
    void withdraw();
    // The user changed the document: undo is the engine's again.
    void release() { m_current.held = false; }
    bool held() const { return m_current.held; }
    // Brings the held snapshot back; false (and nothing changed) when none is held.
    bool restore();
    // Forgets everything, snapshot bytes included.
    void clear();

    // Undo: the held snapshot if there is one, else the engine's undo.
    void undo();
    // Redo is always the engine's.
    void redo();

private:
    struct Kept {
        QByteArray bytes;
        bool held = false;
        int selectionStart = 0;
        int selectionLength = 0;
    };

    engine::TextEngine& m_engine;
    Kept m_current;
    Kept m_before; // the state before the last take(), for withdraw()
};

} // namespace editor
