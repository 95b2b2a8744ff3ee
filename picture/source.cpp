#include "picture/source.h"

#include "engine/filebytes.h"
#include "picture/completeness.h"
#include "picture/limits.h"
#include "picture/svgsize.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

namespace picture {

namespace {

MetafileConverter& installedConverter()
{
    static MetafileConverter converter;
    return converter;
}

qint64 area(const QSize& size)
{
    return qint64(size.width()) * size.height();
}

bool withinSides(const QSize& size)
{
    return size.width() <= kMaxSide && size.height() <= kMaxSide;
}

// A reader over `bytes` that applies the orientation the picture records and
// allocates no more than the pixel limit allows.
class PictureReader {
public:
    PictureReader(const QByteArray& bytes, Kind kind)
    {
        QImageReader::setAllocationLimit(kAllocationLimitMiB);
        m_buffer.setData(bytes);
        m_buffer.open(QIODevice::ReadOnly);
        m_reader.setDevice(&m_buffer);
        m_reader.setFormat(readerFormat(kind));
        m_reader.setAutoTransform(true);
    }
    QImageReader& operator*() { return m_reader; }
    QImageReader* operator->() { return &m_reader; }

private:
    QBuffer m_buffer;
    QImageReader m_reader;
};

bool turnsQuarter(QImageIOHandler::Transformations transformation)
{
    return transformation.testFlag(QImageIOHandler::TransformationRotate90);
}

// The size a JPEG decodes at for `size`: its decoder shrinks by the largest
// of 1/2, 1/4 and 1/8 that stays at least as large.
QSize jpegDecodedSize(const QSize& stored, const QSize& size)
{
    const int fits = std::min(stored.width() / std::max(1, size.width()), stored.height() / std::max(1, size.height()));
    int denominator = 1;
    while (denominator < 8 && denominator * 2 <= fits)
        denominator *= 2;
    return {(stored.width() + denominator - 1) / denominator, (stored.height() + denominator - 1) / denominator};
}

} // namespace

void setMetafileConverter(MetafileConverter converter)
{
    installedConverter() = std::move(converter);
}

Source Source::failed(Failure failure)
{
    Source source;
    source.m_failure = failure;
    return source;
}

Source Source::fromFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return failed(Failure::Unreadable); // a folder, or a pipe or device that could block or never end
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(Failure::Unreadable);
    if (file.size() > kMaxPictureBytes)
        return failed(Failure::TooLarge);
    const std::optional<QByteArray> bytes = engine::readFileBytes(file, kMaxPictureBytes);
    if (!bytes)
        return failed(file.error() != QFileDevice::NoError ? Failure::Unreadable : Failure::TooLarge);
    return fromBytes(*bytes);
}

Source Source::fromBytes(const QByteArray& bytes)
{
    if (bytes.size() > kMaxPictureBytes)
        return failed(Failure::TooLarge);
    const Kind kind = kindOf(bytes);
    if (kind == Kind::Unknown)
        return failed(Failure::NotAPicture);
    if (isMetafile(kind))
        return fromMetafile(bytes, kind);
    return fromEncoded(bytes, kind);
}

Source Source::fromImage(const QImage& image)
{
    if (image.isNull())
        return failed(Failure::NotAPicture);
    Source source;
    source.m_image = image;
    source.m_size = image.size();
    source.m_storedSize = image.size();
    return source;
}

// The SVG a metafile converts to stands for it; a conversion that gives
// anything else, or an SVG that does not read, is a failed conversion.
Source Source::fromMetafile(const QByteArray& bytes, Kind kind)
{
    const MetafileConverter& convert = installedConverter();
    if (!convert)
        return failed(Failure::MetafileNotConverted);
    const QByteArray svg = convert(bytes, kind == Kind::Emf ? QStringLiteral("emf") : QStringLiteral("wmf"));
    if (svg.isEmpty() || svg.size() > kMaxPictureBytes || kindOf(svg) != Kind::Svg)
        return failed(Failure::MetafileNotConverted);
    Source source = fromEncoded(svg, Kind::Svg);
    return source.ok() ? source : failed(Failure::MetafileNotConverted);
}

Source Source::fromEncoded(const QByteArray& bytes, Kind kind)
{
    Source source;
    source.m_kind = kind;
    PictureReader reader(bytes, kind);
    // Reading the size parses an SVG whole, so one that does not parse fails here.
    const QSize stored = reader->size();
    if (stored.isEmpty())
        return failed(Failure::Damaged);
    const QSizeF own = kind == Kind::Svg ? svgOwnSize(bytes) : QSizeF();
    if (own.width() > kMaxSide || own.height() > kMaxSide)
        return failed(Failure::TooLarge);
    source.m_storedSize = own.isEmpty() ? stored : own.toSize().expandedTo(QSize(1, 1));
    if (const Failure refused = source.checkHeader(source.m_storedSize); refused != Failure::None)
        return failed(refused);
    if (!looksComplete(bytes, kind))
        return failed(Failure::Damaged);
    source.m_sideways = turnsQuarter(reader->transformation());
    source.m_size = source.storedTarget(source.m_storedSize);
    source.m_bytes = bytes;
    return source;
}

// A vector's own size only has to be a size; a bitmap has to decode within
// the pixel limit, a JPEG at its smallest scale.
Failure Source::checkHeader(const QSize& stored) const
{
    if (!withinSides(stored))
        return Failure::TooLarge;
    if (m_kind == Kind::Svg)
        return Failure::None;
    const qint64 limit = m_kind == Kind::Jpeg ? kMaxScaledDecodePixels : kMaxDecodedPixels;
    return area(stored) > limit ? Failure::TooLarge : Failure::None;
}

// An upright size as the stored picture has it, and the other way round.
QSize Source::storedTarget(const QSize& size) const
{
    return m_sideways ? size.transposed() : size;
}

// How many pixels drawing at the upright `size` decodes at once.
qint64 Source::decodedPixels(const QSize& size) const
{
    switch (m_kind) {
    case Kind::Svg:
        return area(size);
    case Kind::Jpeg:
        return std::max(area(size), area(jpegDecodedSize(m_storedSize, storedTarget(size))));
    default:
        return std::max(area(size), area(m_storedSize));
    }
}

QImage Source::render(const QSize& size, Failure* failure) const
{
    Failure why = m_failure;
    QImage image;
    if (why == Failure::None)
        image = draw(size, &why);
    if (failure)
        *failure = why;
    return image;
}

QImage Source::draw(const QSize& size, Failure* failure) const
{
    if (size.isEmpty()) {
        *failure = Failure::NotAPicture;
        return {};
    }
    if (!withinSides(size) || area(size) > kMaxDecodedPixels || decodedPixels(size) > kMaxDecodedPixels) {
        *failure = Failure::TooLarge;
        return {};
    }
    if (!m_image.isNull())
        return m_image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    PictureReader reader(m_bytes, m_kind);
    reader->setScaledSize(storedTarget(size));
    QImage image = reader->read();
    if (image.isNull()) {
        *failure = Failure::Damaged;
        return {};
    }
    // Decoders that shrink by steps may stop short of the exact size.
    if (image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

} // namespace picture
