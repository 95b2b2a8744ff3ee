#pragma once
// The picture as the document gets it: the work bitmap "Wrk.bmp" that the
// editor inserts, drawn at its placed size, reduced in colour as the user's
// setting says.

#include <QImage>
#include <QString>

namespace picture {

enum class ColourReduction { None = 0, Palette256 = 1, Grey8 = 2 }; // the user's setting 0, 1, 2

// Transparency flattened onto white; None → 24 bits per pixel, Palette256 →
// at most 256 colours (indexed 8-bit), Grey8 → 8-bit grey; 96 dots per inch
// in both directions.
QImage prepareForDocument(const QImage& image, ColourReduction reduction);
// Writes `image` as a BMP at `path`, whole or not at all: false on any
// failure, and then whatever was at `path` is as it was.
bool writeWorkBitmap(const QImage& image, const QString& path);

} // namespace picture
