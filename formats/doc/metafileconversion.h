#pragma once
// Windows metafiles (EMF, WMF) as SVG, converted by LibreOffice Draw. Draw
// opens a metafile on a page of its own (A4) with the picture centred on it
// and exports that page; the SVG is then cut down to the picture's own box,
// so that its size is the metafile's, still as a vector.

#include <QByteArray>
#include <QString>

namespace formats::doc {

// `bytes` of `type` ("emf" or "wmf") as SVG at the metafile's own size;
// empty when LibreOffice cannot convert them.
QByteArray metafileToSvg(const QByteArray& bytes, const QString& type);

} // namespace formats::doc
