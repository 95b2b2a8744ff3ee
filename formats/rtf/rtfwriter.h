#pragma once
// An engine document set as RTF that Word, LibreOffice and WordPad read:
// \ansi\ansicpg932, a font table with charsets, every non-ASCII character as
// \uN followed by its CP932 fallback (\ucN as long as the fallback), the
// style sheet with the user's formats as Normal and Heading 1–3, lists,
// tables (nested through \itap, merged and shaded cells, widths, lines),
// pictures as PNG, links and the program's fields as HYPERLINK fields (the
// field itself in a \*\fumifield destination others skip), link targets
// as bookmarks, text frames as text boxes, page setup, headers and footers.
// Floating pictures are written in line. The same set gives the same bytes,
// and what rtfreader.h reads from them writes the same bytes again.

#include "engine/documentset.h"
#include "html/styleset.h"

#include <QByteArray>

namespace formats::rtf {

QByteArray writeRtf(const engine::DocumentSet& source, const html::StyleSet& styles);

} // namespace formats::rtf
