#include "picture/completeness.h"

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

} // namespace

bool looksComplete(const QByteArray& bytes, Kind kind)
{
    if (kind == Kind::Jpeg)
        return jpegIsComplete(bytes);
    return true;
}

} // namespace picture
