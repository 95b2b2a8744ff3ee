#pragma once
// word/styles.xml from the user's formats: 本文 as the style Normal and
// 見出１–３ as Heading 1–3 (based on Normal), each with its font for Latin
// and East Asian text alike, so that Japanese text keeps its font, its size
// and its colour; Normal carries the user's line spacing. The document
// defaults say the text is Japanese.

#include "html/styleset.h"

#include <QByteArray>
#include <QString>

namespace formats::docx {

// The style id a paragraph of heading level `level` (0: body text) refers to.
QString paragraphStyleId(int level);

QByteArray stylesXml(const html::StyleSet& styles);

} // namespace formats::docx
