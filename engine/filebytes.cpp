#include "engine/filebytes.h"

#include <algorithm>

namespace engine {

std::optional<QByteArray> readFileBytes(QFile& file, qint64 limit)
{
    constexpr qint64 kChunk = qint64(1) << 20;
    // Devices report a size of 0 (or none); they are read in chunks to their end.
    QByteArray bytes = file.read(std::min(file.isSequential() ? kChunk : file.size(), limit) + 1);
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

} // namespace engine
