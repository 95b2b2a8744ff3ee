#pragma once
// What kind of picture bytes hold, told from their first bytes, never from a
// file name.

#include <QByteArray>
#include <QString>

namespace picture {

enum class Kind { Unknown, Png, Jpeg, Gif, Bmp, Tiff, WebP, Svg, Emf, Wmf };

// How many leading bytes kindOf() looks at.
constexpr int kKindHeadBytes = 4096;

Kind kindOf(const QByteArray& bytes);
// The kind of the file at `path`, from its first bytes; Unknown when it cannot be read.
Kind kindOfFile(const QString& path);
// QImageReader's name of the format; "" for Unknown and the metafiles.
QByteArray readerFormat(Kind kind);

inline bool isMetafile(Kind kind) { return kind == Kind::Emf || kind == Kind::Wmf; }

} // namespace picture
