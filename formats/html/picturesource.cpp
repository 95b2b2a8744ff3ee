#include "formats/html/picturesource.h"

#include <QFileInfo>
#include <QImageReader>
#include <QUrl>

namespace formats {

namespace {

constexpr qint64 kMaxPictureBytes = qint64(64) * 1024 * 1024;

// An address to be found beside the file: no data, no scheme (a one-letter
// "scheme" is a drive letter), no absolute path.
bool isRelativeFileAddress(const QString& address)
{
    if (address.isEmpty() || address.startsWith(QStringLiteral("data:"), Qt::CaseInsensitive))
        return false;
    const QUrl url(address);
    return !url.isLocalFile() && url.scheme().size() <= 1 && !QFileInfo(address).isAbsolute();
}

// Regular files only: reading a FIFO waits for ever, a device never ends.
QImage readFile(const QString& path)
{
    const QFileInfo file(path);
    if (!file.isFile() || file.size() > kMaxPictureBytes)
        return {};
    QImageReader reader(path);
    return reader.read();
}

QImage decodeDataAddress(const QString& address)
{
    const qsizetype comma = address.indexOf(u',');
    if (comma < 0 || !address.left(comma).endsWith(QStringLiteral(";base64"), Qt::CaseInsensitive)
        || address.size() - comma > kMaxPictureBytes * 4 / 3)
        return {};
    return QImage::fromData(QByteArray::fromBase64(QStringView(address).sliced(comma + 1).toLatin1()));
}

} // namespace

PictureSource::PictureSource(QString folder)
    : m_folder(std::move(folder))
{
}

bool PictureSource::canFind(const QString& address) const
{
    return !m_folder.isEmpty() || !isRelativeFileAddress(address);
}

PictureSource::Picture PictureSource::picture(const QString& address)
{
    const auto known = m_read.constFind(address);
    if (known != m_read.constEnd())
        return *known;
    const Picture loaded = load(address);
    m_read.insert(address, loaded);
    return loaded;
}

PictureSource::Picture PictureSource::load(const QString& address) const
{
    if (address.startsWith(QStringLiteral("data:"), Qt::CaseInsensitive))
        return {decodeDataAddress(address), QString()};
    const QString path = localPath(address);
    return path.isEmpty() ? Picture() : Picture{readFile(path), path};
}

QString PictureSource::localPath(const QString& address) const
{
    const QUrl url(address);
    if (url.isLocalFile())
        return url.toLocalFile();
    if (!isRelativeFileAddress(address))
        return QFileInfo(address).isAbsolute() ? address : QString();
    if (m_folder.isEmpty())
        return {};
    return QFileInfo(m_folder + u'/' + QUrl::fromPercentEncoding(address.toUtf8())).absoluteFilePath();
}

} // namespace formats
