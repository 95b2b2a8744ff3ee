#pragma once
// The document's outline as plain text: heading 1 between dashed lines,
// headings 2 and 3 with their marks, other paragraphs as they are.

#include <QString>

namespace dialogs {
class Frmt;
}
namespace engine {
class TextEngine;
}

namespace editor {

struct Outline {
    QString text;
    QString caption; // the first heading's text, trimmed
};

// Walks the paragraphs with the engine's caret and puts the caret back.
Outline outlineText(engine::TextEngine& engine, const dialogs::Frmt& formats);

} // namespace editor
