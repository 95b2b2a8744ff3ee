#pragma once
// Tiny Windows metafiles built record by record after the published layouts
// (EMF: [MS-EMF], WMF: [MS-WMF]): a picture 200 × 100 pixels at 96 dpi
// whose right half is a red rectangle without an outline, and nothing else.

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>

#include <functional>

namespace testsupport {

namespace metafile {

inline QByteArray littleEndian(const std::function<void(QDataStream&)>& write)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    write(out);
    return bytes;
}

constexpr quint32 kRed = 0x000000FF; // COLORREF: 0x00BBGGRR

} // namespace metafile

// The records: a solid red brush selected, the stock null pen selected, the
// rectangle (100, 0)–(200, 100), the end record. The header's frame is the
// picture's size in hundredths of a millimetre; its reference device is 960
// pixels on 254 mm, 96 dpi.
inline QByteArray redRightHalfEmf()
{
    using metafile::littleEndian;
    const QByteArray records = littleEndian([](QDataStream& out) {
        out << quint32(39) << quint32(24) << quint32(1) << quint32(0) << metafile::kRed << quint32(0); // EMR_CREATEBRUSHINDIRECT
        out << quint32(37) << quint32(12) << quint32(1);                                           // EMR_SELECTOBJECT
        out << quint32(37) << quint32(12) << quint32(0x80000008);                                  // NULL_PEN
        out << quint32(43) << quint32(24) << qint32(100) << qint32(0) << qint32(200) << qint32(100); // EMR_RECTANGLE
        out << quint32(14) << quint32(20) << quint32(0) << quint32(16) << quint32(20);             // EMR_EOF
    });
    constexpr quint32 kHeaderBytes = 108;
    const QByteArray header = littleEndian([&records](QDataStream& out) {
        out << quint32(1) << kHeaderBytes;                                // EMR_HEADER
        out << qint32(0) << qint32(0) << qint32(199) << qint32(99);      // bounds, pixels
        out << qint32(0) << qint32(0) << qint32(5291) << qint32(2645);   // frame, 0.01 mm
        out << quint32(0x464D4520) << quint32(0x00010000);               // " EMF", version
        out << quint32(kHeaderBytes + records.size()) << quint32(6);     // bytes, records
        out << quint16(2) << quint16(0);                                 // handles, reserved
        out << quint32(0) << quint32(0) << quint32(0);                   // description, palette
        out << qint32(960) << qint32(960) << qint32(254) << qint32(254); // device pixels, millimetres
        out << quint32(0) << quint32(0) << quint32(0);                   // no pixel format, no OpenGL
        out << qint32(254000) << qint32(254000);                         // device micrometres
    });
    return header + records;
}

// A placeable metafile of 96 units an inch, 200 × 100 units: window, red
// brush, null pen, the rectangle (100, 0)–(200, 100), the end record.
inline QByteArray redRightHalfWmf()
{
    using metafile::littleEndian;
    const QByteArray records = littleEndian([](QDataStream& out) {
        out << quint32(5) << quint16(0x020B) << qint16(0) << qint16(0);     // META_SETWINDOWORG y, x
        out << quint32(5) << quint16(0x020C) << qint16(100) << qint16(200); // META_SETWINDOWEXT height, width
        out << quint32(7) << quint16(0x02FC) << quint16(0) << metafile::kRed << quint16(0); // META_CREATEBRUSHINDIRECT
        out << quint32(4) << quint16(0x012D) << quint16(0);                 // META_SELECTOBJECT
        out << quint32(8) << quint16(0x02FA) << quint16(5) << qint16(0) << qint16(0) << quint32(0); // PS_NULL pen
        out << quint32(4) << quint16(0x012D) << quint16(1);
        out << quint32(7) << quint16(0x041B) << qint16(100) << qint16(200) << qint16(0) << qint16(100); // META_RECTANGLE b, r, t, l
        out << quint32(3) << quint16(0);                                    // META_EOF
    });
    const QByteArray header = littleEndian([&records](QDataStream& out) {
        out << quint16(1) << quint16(9) << quint16(0x0300) << quint32((18 + records.size()) / 2);
        out << quint16(2) << quint32(8) << quint16(0); // objects, longest record in words, members
    });
    QByteArray placeable = littleEndian([](QDataStream& out) {
        out << quint32(0x9AC6CDD7) << quint16(0) << qint16(0) << qint16(0) << qint16(200) << qint16(100);
        out << quint16(96) << quint32(0);
    });
    quint16 checksum = 0;
    for (int at = 0; at < placeable.size(); at += 2)
        checksum ^= quint16(uchar(placeable[at]) | uchar(placeable[at + 1]) << 8);
    return placeable + littleEndian([checksum](QDataStream& out) { out << checksum; }) + header + records;
}

} // namespace testsupport
