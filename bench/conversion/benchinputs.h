#pragma once
// Inputs for the conversion benchmarks, made rather than taken from a
// machine: a long document as the editor builds one, and a foreign HTML
// manual such as documentation packages ship.

#include <QByteArray>

class QTextDocument;

namespace benchinputs {

// `pages` pages of six styled paragraphs of about 280 characters each, with
// a tag, a tool tip and a one-cell table a page; looks cycle through 150
// paragraph and 150 run variants (500 pages make about 3 MB of the dialect).
void buildDocument(QTextDocument& document, int pages);

// A generated HTML manual of about `bytes` bytes, UTF-8 without a byte-order
// mark: chapters with headings and anchors, paragraphs with inline code,
// emphasis and in-page links, nested lists, definition lists, code blocks
// and small tables.
QByteArray foreignManual(qsizetype bytes);

} // namespace benchinputs
