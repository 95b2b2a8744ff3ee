#include "editor/headingrestyle.h"

#include "dialogs/frmt.h"
#include "editor/paragraphs.h"
#include "editor/styleapplier.h"
#include "engine/textengine.h"

namespace editor {

namespace {

constexpr int kHeadingLevels = 3;

// The heading paragraphs with their style codes (level 1 is style 0).
QList<std::pair<paragraphs::Span, int>> headingsOf(engine::TextEngine& engine)
{
    QList<std::pair<paragraphs::Span, int>> headings;
    for (const paragraphs::Span& span : paragraphs::all(engine)) {
        engine.setSelection(span.start, 0);
        const int level = engine.headingLevel();
        if (level >= 1 && level <= kHeadingLevels)
            headings.append({span, level - 1});
    }
    return headings;
}

} // namespace

bool headingFormatsDiffer(const dialogs::Frmt& before, const dialogs::Frmt& after)
{
    for (int record = 0; record < kHeadingLevels; ++record)
        if (before.record(record) != after.record(record))
            return true;
    return before.lineSpacing() != after.lineSpacing();
}

bool restyleHeadings(engine::TextEngine& engine, const dialogs::Frmt& formats)
{
    const int start = engine.selectionStart();
    const int length = engine.selectionLength();
    const auto headings = headingsOf(engine);
    bool changed = false;
    if (!headings.isEmpty()) {
        // Comparing the whole document tells a restyle that changed nothing,
        // which must not mark the document modified.
        const auto before = engine.saveToMemory(engine::FormatCode::Snapshot);
        {
            const engine::TextEngine::CompoundEdit oneStep(engine);
            StyleApplier applier(engine, formats);
            for (const auto& [span, code] : headings) {
                engine.setSelection(span.start, span.end - span.start);
                applier.restyle(code);
            }
        }
        changed = !before || engine.saveToMemory(engine::FormatCode::Snapshot) != before;
    }
    engine.setSelection(start, length);
    return changed;
}

} // namespace editor
