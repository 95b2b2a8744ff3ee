#pragma once
// Moves rich content between documents without losing what Qt's fragments
// leave behind: the picture resources the content uses, and the rule that
// ids of fields and objects stay unique in the receiving document.

class QTextCursor;
class QTextDocument;

namespace engine::transfer {

// Fills `target` (an empty document) with the selection of `selection`.
void copySelection(const QTextCursor& selection, QTextDocument& target);
// Inserts the whole of `source` in place of `cursor`'s selection; every field
// and object inserted gets a fresh id. The cursor ends after the insertion.
// Not to be called inside an open edit block: inserted frames could not be
// renumbered there.
void insertDocument(const QTextDocument& source, QTextCursor& cursor);

} // namespace engine::transfer
