#pragma once
// Some decoders take a cut-off file without an error and fill what is missing
// with grey; those pictures are told from their bytes instead.

#include "picture/kind.h"

#include <QByteArray>

namespace picture {

// False when `bytes` of `kind` plainly stop before the picture's end: a
// JPEG without its end marker, an uncompressed BMP short of its rows.
bool looksComplete(const QByteArray& bytes, Kind kind);

} // namespace picture
