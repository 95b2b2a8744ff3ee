#include "editor/picturetools.h"

#include "picture/source.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <cmath>

namespace editor {

namespace {

constexpr int kDotsPerMeterAt96Dpi = 3780; // 96 / 0.0254, rounded

} // namespace

int pictureScale(int screenDpi)
{
    return screenDpi > 0 ? int(std::lround(9600.0 / screenDpi)) : 100;
}

engine::PicturePlacement placementForFlow(int flow)
{
    switch (flow) {
    case 2: return engine::PictureFloatLeft;
    case 3: return engine::PictureFloatRight;
    case 4: return engine::PictureTextFlow;
    default: return engine::PictureInline;
    }
}

std::optional<QSizeF> drawnPictureSize(const QSizeF& rectangleTwips, int zoomPercent)
{
    if (rectangleTwips.width() <= kRestRectangleTwips || rectangleTwips.height() <= kRestRectangleTwips
        || zoomPercent <= 0)
        return std::nullopt;
    return rectangleTwips * 100.0 / zoomPercent;
}

QString enlargedPictureAddress(const QString& pictureFile, const QString& documentFile)
{
    const QString picture = QFileInfo(pictureFile).absoluteFilePath();
    if (!documentFile.isEmpty()) {
        const QString relative = QFileInfo(documentFile).absoluteDir().relativeFilePath(picture);
        if (!relative.startsWith(QStringLiteral("../")) && !QDir::isAbsolutePath(relative))
            return relative;
    }
    return QDir::toNativeSeparators(picture);
}

bool setResolutionTo96(const QString& path)
{
    const QByteArray format = QImageReader::imageFormat(path);
    const picture::Source source = picture::Source::fromFile(path);
    if (format.isEmpty() || !source.ok())
        return false;
    QImage image = source.render(source.pixelSize());
    if (image.isNull())
        return false;
    image.setDotsPerMeterX(kDotsPerMeterAt96Dpi);
    image.setDotsPerMeterY(kDotsPerMeterAt96Dpi);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, format);
    return writer.write(image) && file.commit();
}

} // namespace editor
