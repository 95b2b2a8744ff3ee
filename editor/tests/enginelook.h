#pragma once
// Reads what the engine shows at one place, for comparing with what a
// command should have set.

#include "engine/textengine.h"

#include <QString>
#include <array>

namespace editortest {

struct CharacterLook {
    QString font;
    double size = 0;
    int colour = 0;
    int background = 0;
    bool bold = false;
    bool underline = false;
    bool operator==(const CharacterLook&) const = default;
};

struct ParagraphLook {
    std::array<double, 7> values{}; // the ParagraphValue roles in declaration order
    std::array<int, 4> attributes{};
    int list = 0;
    bool operator==(const ParagraphLook&) const = default;
};

// The character at `position`; the selection is left there.
inline CharacterLook characterAt(engine::TextEngine& engine, int position)
{
    engine.setSelection(position, 1);
    return {engine.fontName(), engine.fontSize(), engine.textColor(), engine.backgroundColor(), engine.bold(),
            engine.underline()};
}

inline ParagraphLook paragraphAt(engine::TextEngine& engine, int position)
{
    engine.setSelection(position, 0);
    ParagraphLook look;
    for (int i = 0; i < 7; ++i)
        look.values[i] = engine.paragraphValue(engine::ParagraphValue(i));
    for (int i = 0; i < 4; ++i)
        look.attributes[i] = engine.paragraphAttribute(engine::ParagraphAttribute(i));
    look.list = engine.listAttribute();
    return look;
}

} // namespace editortest
