#pragma once
// How a paste command reads the clipboard: what it offers, and which of the
// three kinds of paste a command's kind word makes of that offer.

#include <QString>

class QMimeData;

namespace editor {

enum class PasteKind { Nothing, Text, Rich, Picture };

struct ClipboardOffer {
    bool text = false;         // plain text or rich text
    bool documentText = false; // rich text only document programs offer: the engine's own, or RTF
    bool picture = false;      // a bitmap, a metafile or SVG, or a picture file
};

ClipboardOffer offerOf(const QMimeData* data);

// `kind` is "TXT" (plain text), "OBJ" or "RTX" (the engine's own paste),
// "PIC" (a picture) or "" (chosen by the offer): a picture when one is
// offered without a document program's text, else plain text when
// `pasteAsText` and text is offered, else the engine's own paste.
PasteKind pasteKindFor(const QString& kind, const ClipboardOffer& offer, bool pasteAsText);

// Clipboard text as a plain paste puts it in: blanks at both ends trimmed
// (the ideographic space is kept: it indents Japanese text), every line end
// a line break, so that the paste stays inside the current paragraph.
QString pastedText(const QString& clipboardText);

} // namespace editor
