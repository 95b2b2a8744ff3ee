#include "editor/formatpainter.h"

#include "engine/textengine.h"

namespace editor {

namespace {

constexpr int kWhite = 0xFFFFFF;

} // namespace

void FormatPainter::copy()
{
    m_engine.setSelection(m_engine.selectionStart(), 0);
    m_kept = m_engine.characterLook();
}

bool FormatPainter::paste()
{
    if (!m_kept)
        return false;
    const engine::CharacterLook& look = *m_kept;
    const engine::TextEngine::CompoundEdit edit(m_engine);
    m_engine.setTextColor(look.textColor);
    if (m_engine.tableAtCaret().table == 0 || look.backgroundColor != kWhite)
        m_engine.setBackgroundColor(look.backgroundColor);
    m_engine.setFontName(look.fontName);
    m_engine.setFontSize(look.fontSize);
    m_engine.setBold(look.bold);
    m_engine.setItalic(look.italic);
    m_engine.setUnderline(look.underline);
    m_engine.setStrikeOut(look.strikeOut);
    return true;
}

} // namespace editor
