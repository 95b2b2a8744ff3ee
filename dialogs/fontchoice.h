#pragma once
// The font dialog over an engine's selection: it opens on the selection's
// font and gives the selection the font chosen.

namespace engine {
class TextEngine;
}

namespace dialogs {

// False when the user cancelled; the selection is then as it was.
bool chooseFont(engine::TextEngine& engine);

} // namespace dialogs
