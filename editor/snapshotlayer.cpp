#include "editor/snapshotlayer.h"

#include "engine/textengine.h"

#include <utility>

namespace editor {

SnapshotLayer::SnapshotLayer(engine::TextEngine& engine)
    : m_engine(engine)
{
}

void SnapshotLayer::take()
{
    m_before = m_current;
    const std::optional<QByteArray> bytes = m_engine.saveToMemory(engine::FormatCode::Snapshot);
    const bool usable = bytes && !bytes->isEmpty();
    m_current = {usable ? *bytes : QByteArray(), usable, m_engine.selectionStart(), m_engine.selectionLength()};
}

void SnapshotLayer::withdraw()
{
    m_current = std::exchange(m_before, Kept());
}

bool SnapshotLayer::restore()
{
    if (!m_current.held || m_current.bytes.isEmpty())
        return false;
    m_current.held = false;
    return m_engine.restoreSnapshot(m_current.bytes, m_current.selectionStart, m_current.selectionLength);
}

void SnapshotLayer::clear()
{
    m_current = {};
    m_before = {};
}

void SnapshotLayer::undo()
{
    if (restore())
        return;
    if (m_engine.undoCount() > 0)
        m_engine.undo();
}

void SnapshotLayer::redo()
{
    m_engine.redo();
}

} // namespace editor
