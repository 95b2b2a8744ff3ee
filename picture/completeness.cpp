#include "picture/completeness.h"

#include "picture/limits.h"

#include <QtEndian>

namespace picture {

namespace {

// The end-of-image marker must follow the first scan. The segments before
// the scan are skipped by their lengths, since an EXIF thumbnail among them
// has end markers of its own; inside the scans 0xFF is never followed by 0xD9.
bool jpegIsComplete(const QByteArray& bytes)
{
    qsizetype at = 2;
    while (at + 4 <= bytes.size()) {
        if (uchar(bytes[at]) != 0xFF)
            return false;
        const uchar marker = uchar(bytes[at + 1]);
        if (marker == 0xFF) { // fill byte before a marker
            ++at;
            continue;
        }
        if (marker == 0xDA)
            return bytes.indexOf("\xFF\xD9", at) > at;
        at += 2 + qFromBigEndian<quint16>(bytes.constData() + at + 2);
    }
    return false;
}

quint32 dword(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 word(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

// An uncompressed bitmap holds every row after the offset its header gives;
// run-length compressed ones cannot be told without decoding.
bool bmpIsComplete(const QByteArray& bytes)
{
    if (bytes.size() < 30)
        return false;
    const qint64 pixelsAt = dword(bytes, 10);
    const bool core = dword(bytes, 14) == 12; // the OS/2 header of 16-bit sizes
    if (!core && bytes.size() < 34)
        return false;
    const qint64 width = core ? word(bytes, 18) : qAbs(qint64(qint32(dword(bytes, 18))));
    const qint64 height = core ? word(bytes, 20) : qAbs(qint64(qint32(dword(bytes, 22))));
    const qint64 bitsPerPixel = word(bytes, core ? 24 : 28);
    const quint32 compression = core ? 0 : dword(bytes, 30);
    if (compression != 0 && compression != 3) // BI_RGB, BI_BITFIELDS
        return true;
    if (width > kMaxSide || height > kMaxSide)
        return true; // refused for its size, and past it the sum below could overflow
    const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    return bytes.size() >= pixelsAt + rowBytes * height;
}

} // namespace

bool looksComplete(const QByteArray& bytes, Kind kind)
{
    switch (kind) {
    case Kind::Jpeg:
        return jpegIsComplete(bytes);
    case Kind::Bmp:
        return bmpIsComplete(bytes);
    default:
        return true;
    }
}

} // namespace picture
