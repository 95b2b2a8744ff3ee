#pragma once
// The font dialog over an engine's selection: it opens on the look of the
// selection's first character and gives the whole selection the look chosen.

#include "env/dialogs.h"

namespace engine {
class TextEngine;
}

namespace dialogs {

// What the dialog opens on for the engine's selection.
env::FontRequest fontRequestOf(const engine::TextEngine& engine);
// Gives the selection (or the typing, without one) `look` as one undo step.
void applyFontRequest(engine::TextEngine& engine, const env::FontRequest& look);

// False when the user cancelled or chose the look the selection opened on;
// the selection is then as it was.
bool chooseFont(engine::TextEngine& engine);

} // namespace dialogs
