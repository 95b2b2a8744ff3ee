#pragma once
// Reading a whole file with an upper bound on its size. QIODevice::read(n)
// sets aside n bytes before it reads, so asking for the bound itself would
// set aside the bound (hundreds of megabytes) for every file, however small.

#include <QByteArray>
#include <QFile>

#include <optional>

namespace engine {

// The bytes of an open file, or nothing when it cannot be read or holds more
// than `limit` bytes. A file that grows while it is read is read on to the
// bound, never past it.
std::optional<QByteArray> readFileBytes(QFile& file, qint64 limit);
// The same of the file at `path`, or nothing when it cannot be opened.
std::optional<QByteArray> readFileBytes(const QString& path, qint64 limit);

} // namespace engine
