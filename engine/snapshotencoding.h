#pragma once
// The layout of snapshot bytes (version 2; version 1 held the margins as i32), shared by writer and reader.
//
//   "FUMISNAP" u32 version
//   formats:  u32 n, n × { i32 float frame (format number or -1),
//                          format (see snapshotformats.h) }
//   lists:    u32 n, n × { u32 list format }
//   pictures: u32 n, n × { string resource name, bytes PNG (empty: none) }
//   page:     u8 present, [i32 width, height, f64 left, top, right, bottom,
//                          u8 landscape, i32 header/footer flags]
//   parts:    u8 mask of SnapshotPart bits, then for each part present, in
//             bit order: u32 root frame format, contents
//   contents: u32 n, n × item; items alternate as Qt keeps them: a block
//             first and last, and never two frames or tables side by side
//   item:     u8 Block, u32 block format, u32 block char format, i32 list
//                 (-1: none), u32 n, n × { u32 char format, string text }
//             u8 Frame, u32 frame format, contents
//             u8 Table, u32 table format, u32 rows, u32 columns, u32 n,
//                 n × { u32 row, column, row span, column span,
//                       u32 cell format, contents }  (cells in row order)
// Integers are little-endian, doubles IEEE 754, strings UTF-16 code units.

#include "engine/documentset.h"

#include <QByteArray>

#include <array>
#include <utility>

namespace engine::snapshotencoding {

inline constexpr char kMagic[] = "FUMISNAP";
inline constexpr qsizetype kMagicSize = 8;
inline constexpr quint32 kVersion = 2;
inline constexpr quint32 kWholeMarginsVersion = 1;

enum class Item : quint8 { Block = 1, Frame = 2, Table = 3 };

enum Part : quint8 {
    Body = 1,
    Header = 2,
    FirstHeader = 4,
    Footer = 8,
    FirstFooter = 16,
};
inline constexpr quint8 kAllParts = 31;

// The documents of a set with their part bits, in the order they are written.
inline std::array<std::pair<Part, QTextDocument*>, 5> partsOf(const DocumentSet& set)
{
    return {{{Body, set.body},
             {Header, set.header},
             {FirstHeader, set.firstHeader},
             {Footer, set.footer},
             {FirstFooter, set.firstFooter}}};
}

// Limits a reader enforces on counts taken from the bytes.
inline constexpr int kMaxNesting = 32;        // frames and tables inside each other
inline constexpr quint32 kMaxTableRows = 100000;
inline constexpr quint32 kMaxTableColumns = 1000;
inline constexpr quint32 kMaxTableCells = 1000000;

} // namespace engine::snapshotencoding
