#pragma once
// The host's plain-text view of a document and the way plain text enters one.
//
// Read: paragraphs end in CR LF; a line break inside a paragraph is
// character 11; where the next paragraph starts a new page, character 12
// stands instead of CR LF; pictures keep their object character (U+FFFC).
// Write: CR LF, CR or LF ends a paragraph; character 11 is a line break;
// character 12 ends the paragraph and starts the next one on a new page.

#include <QString>

class QTextCursor;
class QTextDocument;

namespace engine::plaintext {

QString fromDocument(const QTextDocument& document);
// The text between document positions `start` and `end`.
QString fromRange(const QTextDocument& document, int start, int end);
// Inserts `text` at `cursor` (replacing its selection) in the cursor's formats.
void insert(QTextCursor& cursor, const QString& text);
// Makes the lines the cursor's selection touches (the parts of a paragraph
// between line breaks; a line break belongs to the line it ends) a paragraph
// of their own: the line breaks just before and after them become paragraph
// ends. Positions do not move.
void separateLines(const QTextCursor& cursor);

} // namespace engine::plaintext
