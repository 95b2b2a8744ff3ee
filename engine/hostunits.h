#pragma once
// Conversions between the host's numbers (twips, 0x00BBGGRR colours) and the
// units of Qt's text model.
//
// Lengths in QTextFormat (indents, margins, picture and frame sizes) are
// pixels at 96 dpi: QTextDocumentLayout scales them to whatever device it lays
// out for. One such unit is therefore 15 twips.

#include <QColor>
#include <QRgb>

namespace engine {

constexpr double kTwipsPerDocumentUnit = 15.0;

constexpr double twipsToDocument(double twips) { return twips / kTwipsPerDocumentUnit; }
constexpr double documentToTwips(double units) { return units * kTwipsPerDocumentUnit; }

// The host keeps colours with red in the low byte: 0x00BBGGRR.
inline QColor colorFromHost(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

inline int colorToHost(const QColor& color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

} // namespace engine
