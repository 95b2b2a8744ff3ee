#include "picture/workbitmap.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

namespace picture {

namespace {

constexpr int kDotsPerMeterAt96Dpi = 3780; // 96 / 0.0254, rounded

QImage onWhite(const QImage& image)
{
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

QImage reduced(const QImage& flat, ColourReduction reduction)
{
    switch (reduction) {
    case ColourReduction::Palette256:
        return flat.convertToFormat(QImage::Format_Indexed8);
    case ColourReduction::Grey8:
        return flat.convertToFormat(QImage::Format_Grayscale8);
    case ColourReduction::None:
        break;
    }
    return flat.convertToFormat(QImage::Format_RGB888);
}

} // namespace

QImage prepareForDocument(const QImage& image, ColourReduction reduction)
{
    if (image.isNull())
        return {};
    QImage prepared = reduced(onWhite(image), reduction);
    prepared.setDotsPerMeterX(kDotsPerMeterAt96Dpi);
    prepared.setDotsPerMeterY(kDotsPerMeterAt96Dpi);
    return prepared;
}

// Neither the BMP writer nor QSaveFile::commit() notices a short write (a
// full disk): the file is encoded first, then written and flushed with both
// checked, so that the commit only renames a whole file.
bool writeWorkBitmap(const QImage& image, const QString& path)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !QImageWriter(&buffer, "bmp").write(image))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace picture
