#pragma once
// The text of an HTML file's bytes: a byte-order mark or the charset the file
// declares (a meta element's charset, an XML declaration's encoding) decides;
// without either, the bytes are decoded as engine/textdecoding.h says for any
// text file, the markup left out of the guess. NUL characters are dropped.

#include "engine/textdecoding.h"

#include <QByteArray>

namespace formats {

engine::DecodedText decodeHtml(const QByteArray& bytes);
// The character set named in the first 1024 bytes, "" when none is.
QByteArray declaredCharset(QByteArrayView bytes);

} // namespace formats
