#pragma once
// Writes and reads one QTextFormat in the snapshot byte format: its type and
// every property whose value is of a kind documents hold — bool, int, 64-bit
// int, double, string, string list, colour, brush, pen, text length, tab stop
// and lists of these. Properties of other kinds are left out.
//
// The properties that tie a format to the document's structure (object index,
// table cell spans) are left out too: the snapshot keeps structure apart and
// the reader rebuilds it through Qt, which sets them again.

#include <QTextFormat>

#include <optional>

namespace engine {

class SnapshotInput;
class SnapshotOutput;

namespace snapshotformats {

void write(SnapshotOutput& out, const QTextFormat& format);
// The format, or nothing (and `in` failed) when the bytes do not hold one.
std::optional<QTextFormat> read(SnapshotInput& in);

} // namespace snapshotformats

} // namespace engine
