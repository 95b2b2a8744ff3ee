#include "picture/workbitmap.h"

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

bool writeWorkBitmap(const QImage& image, const QString& path)
{
    if (image.isNull())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "bmp");
    if (!writer.write(image)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace picture
