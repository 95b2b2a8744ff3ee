#pragma once
// Puts the engine's selections on the system clipboard and brings clipboard
// content back into a document.
//
// A copy offers plain text (the host's plain-text rules), HTML and, where an
// RTF codec is registered, RTF (text/rtf, application/rtf) for other
// programs, and the engine's own payload under kMimeType (snapshot bytes of
// the selection), which keeps fields, pictures, frames and tables, also
// between two running copies of the program; a selection that is one picture
// also offers the picture as a bitmap. A paste prefers the engine's
// payload, then HTML, then RTF, then plain text, then a picture; pasted
// fields and objects get fresh ids.

#include <QString>

class QTextCursor;

namespace engine::clipboard {

inline constexpr char kMimeType[] = "application/x-fumi-engine-content";

void copy(const QTextCursor& selection);
bool canPaste();
// Replaces the cursor's selection with the clipboard content; false (and
// nothing changed) when the clipboard holds nothing the engine can paste.
bool paste(QTextCursor& cursor);

} // namespace engine::clipboard
