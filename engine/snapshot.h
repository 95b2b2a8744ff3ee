#pragma once
// The engine's own byte format (format code 3): a whole document set saved to
// memory and loaded back exactly. It serves undo snapshots, refresh, printing,
// the engine's own clipboard payload and insert-at-caret.
//
// Kept: the text; every property of character, paragraph, list, frame, table
// and cell formats whose value is of a kind documents hold (snapshotformats.h),
// user properties — fields, objects, paragraph attributes — included; lists
// and which paragraphs belong to each; text frames and tables with merged
// cells and nested contents, 32 levels deep; inline and floating pictures,
// the pixels of each picture once per resource name, as PNG; the root frame
// format; the header and footer parts; the page setup.
// Not kept: document-wide settings (default font, text width, page size),
// the undo history, resources no picture uses; gradient and texture brushes
// and custom pen dashes keep only their colour and width.
// The bytes start with a magic word and a version number. Anything else, cut
// short, or beyond the reader's limits is refused as a whole.

#include "engine/documentset.h"

#include <QByteArray>

class QTextCursor;

namespace engine {

// Every part of `documents` that is not null, and the page setup if given.
QByteArray writeSnapshot(const DocumentSet& documents);
// Replaces the parts of `documents` that the snapshot holds (and that are not
// null) and the page setup; their undo history is cleared, as when Qt replaces
// a document's content. False, and nothing changed, when the bytes are not a
// snapshot this version understands. Parts the snapshot does not hold stay as
// they are.
bool readSnapshot(const QByteArray& bytes, const DocumentSet& documents);

// The selection of `selection` as a snapshot holding a body alone.
QByteArray writeSelectionSnapshot(const QTextCursor& selection);
// Inserts the body of a snapshot in place of `cursor`'s selection, as one
// undo step; fields and objects get fresh ids. False, and nothing changed,
// when the bytes are not understood.
bool insertSnapshot(const QByteArray& bytes, QTextCursor& cursor);

} // namespace engine
