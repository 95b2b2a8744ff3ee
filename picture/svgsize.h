#pragma once
// An SVG document's own size in pixels at 96 dots per inch, read from its
// root element. Qt's SVG renderer counts an inch as 90 pixels, so its own
// idea of the size is not the one a document at 96 dpi shows.

#include <QByteArray>
#include <QSizeF>

namespace picture {

// The root element's width and height in pixels, each taken from the
// viewBox when it is missing or relative; an empty size when neither says.
QSizeF svgOwnSize(const QByteArray& svg);

} // namespace picture
