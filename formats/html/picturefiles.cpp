#include "formats/html/picturefiles.h"

#include "engine/fieldformat.h"
#include "engine/objects.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextFormat>
#include <QUrl>

namespace formats {

namespace {

constexpr int kJpegQuality = 92;

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const int quality = qstrcmp(format, "JPEG") == 0 ? kJpegQuality : -1;
    return image.save(&buffer, format, quality) ? bytes : QByteArray();
}

} // namespace

PictureFiles::PictureFiles(QString folder, QString addressPrefix, int exportCode)
    : m_folder(std::move(folder))
    , m_addressPrefix(std::move(addressPrefix))
    , m_exportCode(exportCode)
{
}

PictureFiles PictureFiles::embedded()
{
    return PictureFiles();
}

std::optional<QString> PictureFiles::address(const QTextDocument& document, const QTextImageFormat& format)
{
    const QString name = format.name();
    if (const auto known = m_written.constFind(name); known != m_written.constEnd())
        return *known;
    const QImage image = engine::pictureImage(document, name);
    if (image.isNull())
        return std::nullopt;
    QString address;
    if (m_folder.isEmpty()) {
        address = QStringLiteral("data:image/png;base64,") + QString::fromLatin1(encoded(image, "PNG").toBase64());
    } else {
        address = fileFor(document, image, format);
        if (address.isEmpty()) {
            m_failed = true;
            return std::nullopt;
        }
    }
    m_written.insert(name, address);
    return address;
}

QString PictureFiles::fileFor(const QTextDocument& document, const QImage& image, const QTextImageFormat& format)
{
    // A picture's own file is written as it came when a browser shows it and
    // it is of a kind the export allows: nothing is encoded again.
    QByteArray bytes = engine::pictureFileBytes(document, format.name());
    const QString type = engine::pictureFileType(bytes);
    QString suffix = type == u"jpeg" ? QStringLiteral("jpg") : type;
    const bool passes = m_exportCode == kPicturesAsPng ? type == u"png" : (type == u"png" || type == u"jpeg" || type == u"gif");
    if (!passes) {
        const bool jpeg = usesJpeg(image, format);
        suffix = jpeg ? QStringLiteral("jpg") : QStringLiteral("png");
        bytes = encoded(image, jpeg ? "JPEG" : "PNG");
    }
    const QString fileName = QStringLiteral("image%1.%2").arg(m_written.size() + 1).arg(suffix);
    if (bytes.isEmpty() || !QDir().mkpath(m_folder))
        return {};
    QSaveFile file(m_folder + u'/' + fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return {};
    return m_addressPrefix + u'/' + fileName;
}

bool PictureFiles::usesJpeg(const QImage& image, const QTextImageFormat& format) const
{
    if (m_exportCode == kPicturesAsPng || image.hasAlphaChannel())
        return false;
    const QString source = format.stringProperty(engine::ObjectFileName);
    return source.endsWith(QStringLiteral(".jpg"), Qt::CaseInsensitive)
        || source.endsWith(QStringLiteral(".jpeg"), Qt::CaseInsensitive);
}

} // namespace formats
