#pragma once
// Where the paragraphs of the engine's active document start and end, read
// through a copy of the engine's caret (the document itself is not touched).

#include <QList>

namespace engine {
class TextEngine;
}

namespace editor::paragraphs {

struct Span {
    int start = 0; // position of the paragraph's first character
    int end = 0;   // position of its paragraph end (start + its length)
    bool operator==(const Span&) const = default;
};

// The paragraphs holding positions `from` to `to`, as one span.
Span covering(const engine::TextEngine& engine, int from, int to);
// Every paragraph in document order.
QList<Span> all(const engine::TextEngine& engine);

} // namespace editor::paragraphs
