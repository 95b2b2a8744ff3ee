#pragma once
// The find state behind the find page's buttons and the operations they
// run on the document: find from the top, back and on, replace the match
// found last, replace every match. The page starts the session anew each
// time it opens.

#include "engine/characterlook.h"

#include <QString>
#include <optional>

namespace engine {
class TextEngine;
}

namespace dialogs {

// What a replacement puts in place of a match: a text, in a look of its own
// for the formatted replacement.
struct Replacement {
    QString text;
    std::optional<engine::CharacterLook> look;
};

class FindSession {
public:
    // Last position 0, nothing found yet.
    void restart(engine::TextEngine* engine);

    // Searches `text` from `start` as the engine's find takes it (0 the top,
    // −1 the caret); true when found.
    bool find(const QString& text, int start, int flags);
    // Replaces the selection when it is still the text found last, then
    // searches on from the caret; true when the search found another.
    bool replaceOne(const QString& text, int flags, const Replacement& replacement);
    // Replaces every match from the top; returns how many.
    int replaceAll(const QString& text, int flags, const Replacement& replacement);

    int lastPosition() const { return m_lastPosition; }
    QString lastFound() const { return m_lastFound; }

private:
    bool lastMatchSelected(const QString& text, int flags) const;

    engine::TextEngine* m_engine = nullptr;
    int m_lastPosition = 0;
    QString m_lastFound;
};

} // namespace dialogs
