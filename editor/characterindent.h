#pragma once
// Indents the selected paragraphs by whole characters of the body font,
// either one character more or a number of characters the user types.

namespace dialogs {
class Frmt;
}
namespace engine {
class TextEngine;
}

namespace editor {

// Mode 1 asks for the number of characters, −1 takes one away (never below
// no indent); any other mode adds one. True
// when the indent changed; a refusal is explained to the user.
bool indentByCharacters(engine::TextEngine& engine, const dialogs::Frmt& formats, int mode, int documentType);

} // namespace editor
