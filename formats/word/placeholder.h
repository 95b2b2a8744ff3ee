#pragma once
// What stands for a picture the engine cannot draw (EMF, WMF, TIFF, an SVG
// without a fallback, a chart without a picture of itself): an empty frame
// with a cross, as large as the picture was shown, so that the page keeps
// its layout and the reader sees that something was there. The picture's own
// file is kept beside it (engine::pictureFileBytes) and written back.

#include <QImage>
#include <QSizeF>

namespace formats::word {

// `size` in document units; an empty size gives a frame of one inch.
QImage placeholderPicture(QSizeF size);

} // namespace formats::word
