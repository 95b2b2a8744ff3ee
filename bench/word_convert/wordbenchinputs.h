#pragma once
// Word documents (.docx, .doc and .rtf) for the conversion benchmarks, made rather than taken from a
// machine: Japanese and English text in pages of a heading, four paragraphs
// and a list, with a chapter heading every 25 pages, a link a page, 3 tables
// every 10 pages (one cell of each spanning two columns) and a picture every
// 25 pages — 500 pages hold 150 tables and 20 pictures. The document is
// written as HTML and converted by LibreOffice once; later runs take it from
// the build folder.

#include <QString>

namespace wordbenchinputs {

// The HTML of a document of `pages` pages.
QByteArray documentHtml(int pages);

// The path of the .docx of `pages` pages, made first when missing; "" when
// LibreOffice could not make it.
QString wordDocument(int pages);

// The same for the document as RTF.
QString richTextDocument(int pages);

// The same for the document as Word 97–2003 (.doc).
QString word97Document(int pages);

} // namespace wordbenchinputs
