#pragma once
// FormatPainter: the character format of one place (書式のｺﾋﾟｰ) given to
// another selection (書式の貼り付け): font, size, colours and the four
// emphases.

#include "engine/characterlook.h"

#include <optional>

namespace engine {
class TextEngine;
}

namespace editor {

class FormatPainter {
public:
    explicit FormatPainter(engine::TextEngine& engine) : m_engine(engine) {}

    // Collapses the selection to its start and keeps the format there.
    void copy();
    // Gives the kept format to the selection as one undo step; false, and
    // nothing changed, before anything was copied. Inside a table a kept
    // white background leaves the cells' own shading alone.
    bool paste();
    // The format kept by the last copy.
    const std::optional<engine::CharacterLook>& kept() const { return m_kept; }

private:
    engine::TextEngine& m_engine;
    std::optional<engine::CharacterLook> m_kept;
};

} // namespace editor
