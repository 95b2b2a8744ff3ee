#include "picture/kind.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <QtEndian>

namespace picture {

namespace {

quint16 word(const QByteArray& bytes, int at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 dword(const QByteArray& bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

// A bitmap file's header is followed by one of the known DIB header sizes.
bool isBmp(const QByteArray& bytes)
{
    if (bytes.size() < 18 || !bytes.startsWith("BM"))
        return false;
    switch (dword(bytes, 14)) {
    case 12:
    case 40:
    case 52:
    case 56:
    case 64:
    case 108:
    case 124:
        return true;
    default:
        return false;
    }
}

// An enhanced metafile opens with its header record, which carries " EMF".
bool isEmf(const QByteArray& bytes)
{
    return bytes.size() >= 44 && dword(bytes, 0) == 1 && dword(bytes, 40) == 0x464D4520;
}

// A Windows metafile opens with the placeable header's key, or with the
// metafile header itself: in memory or on disk, nine words long, version 1 or 3.
bool isWmf(const QByteArray& bytes)
{
    if (bytes.size() >= 4 && dword(bytes, 0) == 0x9AC6CDD7)
        return true;
    return bytes.size() >= 18 && (word(bytes, 0) == 1 || word(bytes, 0) == 2) && word(bytes, 2) == 9
        && (word(bytes, 4) == 0x0100 || word(bytes, 4) == 0x0300);
}

// An SVG document's first element is <svg>, after whatever declarations,
// comments and document type come first.
bool isSvg(const QByteArray& head)
{
    QXmlStreamReader xml(head);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement)
            return xml.name() == QLatin1String("svg");
    }
    return false;
}

} // namespace

Kind kindOf(const QByteArray& bytes)
{
    const QByteArray head = bytes.left(kKindHeadBytes);
    if (head.startsWith("\x89PNG\r\n\x1A\n"))
        return Kind::Png;
    if (head.startsWith("\xFF\xD8\xFF"))
        return Kind::Jpeg;
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a"))
        return Kind::Gif;
    if (isBmp(head))
        return Kind::Bmp;
    if (head.startsWith(QByteArrayLiteral("II*\0")) || head.startsWith(QByteArrayLiteral("MM\0*")))
        return Kind::Tiff;
    if (head.startsWith("RIFF") && head.mid(8, 4) == "WEBP")
        return Kind::WebP;
    if (isEmf(head))
        return Kind::Emf;
    if (isWmf(head))
        return Kind::Wmf;
    if (isSvg(head))
        return Kind::Svg;
    return Kind::Unknown;
}

Kind kindOfFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return Kind::Unknown; // a pipe or device could block or never end
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Kind::Unknown;
    return kindOf(file.read(kKindHeadBytes));
}

QByteArray readerFormat(Kind kind)
{
    switch (kind) {
    case Kind::Png:
        return "png";
    case Kind::Jpeg:
        return "jpeg";
    case Kind::Gif:
        return "gif";
    case Kind::Bmp:
        return "bmp";
    case Kind::Tiff:
        return "tiff";
    case Kind::WebP:
        return "webp";
    case Kind::Svg:
        return "svg";
    case Kind::Unknown:
    case Kind::Emf:
    case Kind::Wmf:
        break;
    }
    return {};
}

} // namespace picture
