#pragma once
// Pictures made by the tests themselves: encoded by Qt's own writers, or
// built byte by byte where a writer cannot make them (an orientation tag, a
// GIF of two frames, PNG headers that lie about their size).

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>

namespace picture::testing {

inline QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(95);
    writer.write(image);
    return bytes;
}

// A picture of one colour.
inline QImage filled(int width, int height, const QColor& colour = Qt::red)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// `size` in `top` with everything below the first `band` rows in `rest`.
inline QImage banded(const QSize& size, int band, const QColor& top, const QColor& rest)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(rest);
    for (int y = 0; y < band && y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y, top);
    return image;
}

inline bool near(const QColor& seen, const QColor& wanted, int tolerance = 40)
{
    return std::abs(seen.red() - wanted.red()) <= tolerance && std::abs(seen.green() - wanted.green()) <= tolerance
        && std::abs(seen.blue() - wanted.blue()) <= tolerance;
}

inline QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

inline quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFF;
    for (const char byte : bytes) {
        crc ^= uchar(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

inline QByteArray pngChunk(const QByteArray& type, const QByteArray& data)
{
    return bigEndian32(quint32(data.size())) + type + data + bigEndian32(crc32(type + data));
}

// A one-bit grey PNG of `width` × `height` whose pixel data is `idat`: by
// default a few rows, all a header that lies needs.
inline QByteArray png(quint32 width, quint32 height, const QByteArray& idat = qCompress(QByteArray(64, '\0')).mid(4))
{
    const QByteArray header = bigEndian32(width) + bigEndian32(height) + QByteArray("\x01\x00\x00\x00\x00", 5);
    return QByteArray("\x89PNG\r\n\x1A\n") + pngChunk("IHDR", header) + pngChunk("IDAT", idat) + pngChunk("IEND", {});
}

// A small file that decodes to `side` × `side` pixels, all black: every row
// is a filter byte and zeros, which deflate packs a thousandfold.
inline QByteArray decompressionBomb(int side)
{
    const QByteArray rows(qsizetype(side) * (1 + (side + 7) / 8), '\0');
    return png(side, side, qCompress(rows, 9).mid(4)); // qCompress puts the length before the zlib stream
}

// `jpeg` with an EXIF block whose only tag is the orientation.
inline QByteArray withOrientation(const QByteArray& jpeg, quint16 orientation)
{
    QByteArray tiff("MM\0*\0\0\0\x08", 8);
    tiff += QByteArray("\0\x01", 2);                                  // one entry
    tiff += QByteArray("\x01\x12\0\x03\0\0\0\x01", 8);                // orientation, SHORT, count 1
    tiff += char(orientation >> 8) + QByteArray(1, char(orientation & 0xFF)) + QByteArray(2, '\0');
    tiff += QByteArray(4, '\0');                                      // no next IFD
    const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xFF\xE1");
    segment += char((exif.size() + 2) >> 8);
    segment += char((exif.size() + 2) & 0xFF);
    return jpeg.left(2) + segment + exif + jpeg.mid(2);
}

// Image data of a GIF: each index a literal code of three bits, a clear code
// before every pair, so that the code table never needs a fourth bit.
inline QByteArray gifImageData(const QList<int>& indices)
{
    QList<int> codes;
    for (int at = 0; at < indices.size(); ++at) {
        if (at % 2 == 0)
            codes << 4; // clear
        codes << indices[at];
    }
    codes << 5; // end of information
    QByteArray packed;
    quint32 bits = 0;
    int count = 0;
    for (const int code : codes) {
        bits |= quint32(code) << count;
        count += 3;
        while (count >= 8) {
            packed += char(bits & 0xFF);
            bits >>= 8;
            count -= 8;
        }
    }
    if (count > 0)
        packed += char(bits & 0xFF);
    return QByteArray(1, '\x02') + char(packed.size()) + packed + QByteArray(1, '\0');
}

// A 4 × 2 GIF of two frames: the first red on the left half and blue on the
// right, the second all blue.
inline QByteArray twoFrameGif()
{
    QByteArray bytes("GIF89a\x04\0\x02\0\x80\0\0", 13);
    bytes += QByteArray("\xFF\0\0\0\0\xFF", 6); // colours: red, blue
    const QByteArray descriptor("\x2C\0\0\0\0\x04\0\x02\0\0", 10);
    bytes += descriptor + gifImageData({0, 0, 1, 1, 0, 0, 1, 1});
    bytes += descriptor + gifImageData({1, 1, 1, 1, 1, 1, 1, 1});
    return bytes + ';';
}

// An SVG two inches by one whose right half is a red rectangle.
inline QByteArray redRightHalfSvg(const QByteArray& sizeAttributes = "width=\"2in\" height=\"1in\"")
{
    return "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" " + sizeAttributes
        + " viewBox=\"0 0 200 100\"><rect x=\"100\" y=\"0\" width=\"100\" height=\"100\" fill=\"#ff0000\"/></svg>\n";
}

} // namespace picture::testing
