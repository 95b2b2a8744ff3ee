#pragma once
// Writes an engine document set as a .docx package (Office Open XML,
// transitional, as Word 2007 and later read it): content types, package
// and document relationships, word/document.xml with the last section's
// page setup, styles.xml from the user's formats, numbering.xml for the
// lists, settings.xml, the headers and footers for every page and the
// first (titlePg), the pictures under word/media/, and the core properties
// (the document's title) and app properties.
//
// The package is the same bytes for the same document: parts in a fixed
// order, fixed zip times, no dates in the properties.

#include "engine/documentset.h"
#include "html/styleset.h"

#include <QByteArray>
#include <optional>

namespace formats::docx {

// The package of `source`; its title is the body's DocumentTitle meta
// information. nullopt when it could not be made.
std::optional<QByteArray> writeDocx(const engine::DocumentSet& source, const html::StyleSet& styles);

} // namespace formats::docx
