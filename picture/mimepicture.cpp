#include "picture/mimepicture.h"

#include <QUrl>

#include <algorithm>
#include <optional>

namespace picture {

namespace {

// SVG needs no conversion, so it comes before the metafiles.
const QStringList& metafileTypes()
{
    static const QStringList types{QStringLiteral("image/svg+xml"), QStringLiteral("image/x-emf"), QStringLiteral("image/emf"),
                                   QStringLiteral("image/x-wmf"), QStringLiteral("image/wmf")};
    return types;
}

const QStringList& bitmapTypes()
{
    static const QStringList types{QStringLiteral("image/png"), QStringLiteral("image/jpeg"), QStringLiteral("image/bmp"),
                                   QStringLiteral("image/gif")};
    return types;
}

bool hasAny(const QMimeData& data, const QStringList& types)
{
    return std::any_of(types.begin(), types.end(), [&data](const QString& type) { return data.hasFormat(type); });
}

// The first local file of the uri-list whose content is a picture; "" when none is.
QString firstPictureFile(const QMimeData& data)
{
    if (!data.hasUrls())
        return {};
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile() && kindOfFile(url.toLocalFile()) != Kind::Unknown)
            return url.toLocalFile();
    }
    return {};
}

// The kinds offered, tried in order: the first that reads, else the first failure.
class Choice {
public:
    // True when `source` read, and so is the choice.
    bool take(const Source& source)
    {
        if (source.ok() || !m_chosen)
            m_chosen = source;
        return source.ok();
    }
    Source chosen() const { return m_chosen ? *m_chosen : Source::fromBytes({}); }

private:
    std::optional<Source> m_chosen;
};

} // namespace

bool hasBitmap(const QMimeData& data)
{
    return hasAny(data, bitmapTypes()) || data.hasImage();
}

bool hasMetafile(const QMimeData& data)
{
    return hasAny(data, metafileTypes());
}

bool hasPictureFile(const QMimeData& data)
{
    return !firstPictureFile(data).isEmpty();
}

Source fromMimeData(const QMimeData& data)
{
    Choice choice;
    for (const QStringList* types : {&metafileTypes(), &bitmapTypes()}) {
        for (const QString& type : *types) {
            if (data.hasFormat(type) && choice.take(Source::fromBytes(data.data(type))))
                return choice.chosen();
        }
    }
    if (data.hasImage() && choice.take(Source::fromImage(qvariant_cast<QImage>(data.imageData()))))
        return choice.chosen();
    const QString file = firstPictureFile(data);
    if (!file.isEmpty())
        choice.take(Source::fromFile(file));
    return choice.chosen();
}

} // namespace picture
