#include "engine/filebytes.h"

#include <algorithm>

namespace engine {

std::optional<QByteArray> readFileBytes(QFile& file, qint64 limit)
{
    constexpr qint64 kChunk = qint64(1) << 20;
    // A file already past the bound is not read at all.
    if (!file.isSequential() && file.size() > limit)
        return std::nullopt;
    // Devices report a size of 0 (or none); they are read in chunks to their end.
    // Made at its size: the buffer QIODevice::read(n) makes grows to the next
    // power of two, up to twice a long file.
    QByteArray bytes(std::min(file.isSequential() ? kChunk : file.size(), limit) + 1, Qt::Uninitialized);
    bytes.resize(std::max<qint64>(file.read(bytes.data(), bytes.size()), 0));
    while (bytes.size() <= limit) {
        const QByteArray more = file.read(std::min(kChunk, limit + 1 - bytes.size()));
        if (more.isEmpty())
            break;
        bytes += more;
    }
    if (file.error() != QFileDevice::NoError || bytes.size() > limit)
        return std::nullopt;
    return bytes;
}

std::optional<QByteArray> readFileBytes(const QString& path, qint64 limit)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? readFileBytes(file, limit) : std::nullopt;
}

} // namespace engine
