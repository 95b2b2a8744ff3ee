#pragma once
// The rules by which a picture made by a companion program goes into the
// document: its scale for the screen, where it sits for the text-flow
// setting, the size a rectangle drawn with the mouse asks for, and the
// resolution graphs and charts are given before they go in.

#include "engine/fieldformat.h"

#include <QSizeF>
#include <QString>
#include <optional>

namespace editor {

// The scale in per cent that shows a picture's pixels as the screen's:
// 9600 ÷ the screen's pixels per inch, to the nearest whole (100 at 96).
int pictureScale(int screenDpi);

// Where a picture goes for the text-flow setting: 1 (and 0, and anything
// unknown) in the text line, 2 floating left, 3 right, 4 with the text
// flowing round it.
engine::PicturePlacement placementForFlow(int flow);

// The rectangle's edge at rest, in twips: a click without dragging.
constexpr double kRestRectangleTwips = 15;

// The picture size a rectangle drawn at `zoomPercent` asks for, in twips of
// the document; nullopt for a rectangle no larger than at rest.
std::optional<QSizeF> drawnPictureSize(const QSizeF& rectangleTwips, int zoomPercent);

// The address a link to the enlarged picture `pictureFile` is given in
// document `documentFile`: relative to the document's folder when the picture
// lies in it or below, so that the two can move together; the full path
// otherwise, and for a document not saved yet.
QString enlargedPictureAddress(const QString& pictureFile, const QString& documentFile);

// Gives the picture file 96 dots per inch both ways and saves it back in
// its own format; false when it cannot be read or written.
bool setResolutionTo96(const QString& path);

} // namespace editor
