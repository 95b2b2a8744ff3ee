#pragma once
// Keeps the PNG form of the pictures that snapshots have written or read, so
// that taking and restoring snapshots of the same document again neither
// encodes nor decodes its pictures again. Shared by the whole process and
// bounded in size; the least recently used pictures are dropped first.

#include <QByteArray>
#include <QImage>
#include <QVariant>

namespace engine {

class SnapshotImageCache {
public:
    // The PNG bytes of a picture resource (QImage, QPixmap or encoded bytes);
    // empty when the resource holds no picture.
    static QByteArray pngFor(const QVariant& resource);
    // The picture PNG bytes hold; null when they are not a PNG picture.
    static QImage imageFor(const QByteArray& png);
};

} // namespace engine
