#include "engine/snapshotimagecache.h"

#include <QBuffer>
#include <QCache>
#include <QImageReader>
#include <QImageWriter>
#include <QMutex>
#include <QPixmap>

namespace engine {

namespace {

// Costs are in KiB; both caches together stay below 128 MiB.
constexpr qsizetype kCacheKiB = 64 * 1024;

struct Caches {
    QMutex mutex;
    QCache<qint64, QByteArray> pngByImage{kCacheKiB};  // QImage::cacheKey() → PNG
    QCache<QByteArray, QImage> imageByPng{kCacheKiB};
};

Caches& caches()
{
    static Caches instance;
    return instance;
}

qsizetype kibOf(qsizetype bytes)
{
    return std::max<qsizetype>(1, bytes / 1024);
}

QImage imageOf(const QVariant& resource)
{
    switch (resource.userType()) {
    case QMetaType::QImage: return resource.value<QImage>();
    case QMetaType::QPixmap: return resource.value<QPixmap>().toImage();
    case QMetaType::QByteArray: return QImage::fromData(resource.toByteArray());
    default: return {};
    }
}

QByteArray encode(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // Light compression: a tenth bigger than the default, four times faster
    // to write, and the first snapshot of a document encodes every picture.
    writer.setQuality(80);
    return writer.write(image) ? png : QByteArray();
}

QImage decode(const QByteArray& png)
{
    QBuffer buffer;
    buffer.setData(png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setDecideFormatFromContent(false);
    return reader.read();
}

} // namespace

QByteArray SnapshotImageCache::pngFor(const QVariant& resource)
{
    const QImage image = imageOf(resource);
    if (image.isNull())
        return {};
    Caches& c = caches();
    {
        QMutexLocker lock(&c.mutex);
        if (const QByteArray* png = c.pngByImage.object(image.cacheKey()))
            return *png;
    }
    const QByteArray png = encode(image);
    if (!png.isEmpty()) {
        QMutexLocker lock(&c.mutex);
        c.pngByImage.insert(image.cacheKey(), new QByteArray(png), kibOf(png.size()));
    }
    return png;
}

QImage SnapshotImageCache::imageFor(const QByteArray& png)
{
    Caches& c = caches();
    {
        QMutexLocker lock(&c.mutex);
        if (const QImage* image = c.imageByPng.object(png))
            return *image;
    }
    const QImage image = decode(png);
    if (image.isNull())
        return image;
    QMutexLocker lock(&c.mutex);
    c.imageByPng.insert(png, new QImage(image), kibOf(image.sizeInBytes()));
    // The picture now in a document writes back as these very bytes.
    c.pngByImage.insert(image.cacheKey(), new QByteArray(png), kibOf(png.size()));
    return image;
}

} // namespace engine
