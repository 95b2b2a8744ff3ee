#pragma once
// After the user formats change, the open document follows them: every
// paragraph marked as one of the three headings takes its heading's new
// format, as one undo step.

namespace dialogs {
class Frmt;
}
namespace engine {
class TextEngine;
}

namespace editor {

// Whether the headings look different in `after`: their records or the
// line-spacing factor changed.
bool headingFormatsDiffer(const dialogs::Frmt& before, const dialogs::Frmt& after);
// Restyles the headings of the engine's active document from `formats`;
// the selection stays. True when the document looks different afterwards.
bool restyleHeadings(engine::TextEngine& engine, const dialogs::Frmt& formats);

} // namespace editor
