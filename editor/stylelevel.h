#pragma once
// Which of the user formats' styles the paragraph at the caret shows, judged
// the way the program always has: a heading is a paragraph outside lists,
// indented by at least 61 twips, in a font larger than the body's.

#include <QString>

namespace dialogs {
class Frmt;
}
namespace engine {
class TextEngine;
}

namespace editor {

enum class StyleLevel { Heading1 = 0, Heading2 = 1, Heading3 = 2, Body = 3 };

StyleLevel styleLevelAtCaret(const engine::TextEngine& engine, const dialogs::Frmt& formats);
bool headingAtCaret(const engine::TextEngine& engine, const dialogs::Frmt& formats);
// The style indicator's caption: "Field" inside a field, else the style's name.
QString styleCaption(const engine::TextEngine& engine, const dialogs::Frmt& formats);

} // namespace editor
