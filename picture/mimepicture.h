#pragma once
// The picture on the clipboard or in a drop: which kinds it offers, and the
// one taken, the kind that keeps most of the picture first.

#include "picture/source.h"

#include <QMimeData>

namespace picture {

bool hasBitmap(const QMimeData& data);      // image/png, image/jpeg, image/bmp, image/gif, or Qt's image data
bool hasMetafile(const QMimeData& data);    // image/x-emf, image/emf, image/x-wmf, image/wmf, image/svg+xml
bool hasPictureFile(const QMimeData& data); // text/uri-list naming a local file that is a picture
// SVG, then a metafile (they scale without loss), then PNG, JPEG, BMP, GIF,
// Qt's image data, then the first picture file of the uri-list. A kind that
// fails gives way to the next; when all fail, the first failure is the
// answer, and NotAPicture when none is offered.
Source fromMimeData(const QMimeData& data);

} // namespace picture
