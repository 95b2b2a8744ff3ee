#pragma once
// A picture the user inserts from a file or pastes: its encoded bytes, kept
// as they came (a metafile as the SVG it was converted to once), its upright
// size known without decoding, drawn only at the size it is placed at.
// Everything about it is untrusted: sizes are checked against limits.h
// before any decoding, and a failure is a value, never a crash.

#include "picture/failure.h"
#include "picture/kind.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

namespace picture {

// Turns metafile bytes (type "emf" or "wmf") into SVG bytes; empty on failure.
using MetafileConverter = std::function<QByteArray(const QByteArray& bytes, const QString& type)>;
// The program installs one (LibreOffice); without one, metafiles fail with MetafileNotConverted.
void setMetafileConverter(MetafileConverter converter);

class Source {
public:
    static Source fromFile(const QString& path);     // reads at most the byte limit
    static Source fromBytes(const QByteArray& bytes); // kind found from the content
    static Source fromImage(const QImage& image);    // an already decoded bitmap (clipboard)

    Failure failure() const { return m_failure; }
    bool ok() const { return failure() == Failure::None; }
    // Upright (EXIF orientation applied); SVG and metafiles: their own size at 96 dpi.
    QSize pixelSize() const { return m_size; }
    bool isVector() const { return m_kind == Kind::Svg; }
    // The picture drawn upright at exactly `size` pixels; a null image, and
    // *failure set, when it cannot be: TooLarge past the pixel limit,
    // NotAPicture for an empty size, Damaged when decoding fails. Formats that
    // can decode at a size do (JPEG while decoding, SVG by drawing at it).
    QImage render(const QSize& size, Failure* failure = nullptr) const;

private:
    static Source failed(Failure failure);
    static Source fromEncoded(const QByteArray& bytes, Kind kind);
    static Source fromMetafile(const QByteArray& bytes, Kind kind);
    Failure checkHeader(const QSize& stored) const;
    QSize storedTarget(const QSize& size) const;
    qint64 decodedPixels(const QSize& size) const;
    QImage draw(const QSize& size, Failure* failure) const;

    Failure m_failure = Failure::None;
    Kind m_kind = Kind::Unknown; // of m_bytes; Unknown for a decoded image
    QByteArray m_bytes;
    QImage m_image;              // the decoded image handed in
    QSize m_size;
    QSize m_storedSize;          // as the bytes hold it, before the orientation is applied
    bool m_sideways = false;     // the orientation turns it a quarter
};

} // namespace picture
